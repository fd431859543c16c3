// Plain-text documents: one preformatted section per line, nothing read as markup.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

TEST(PlainText, LinesBecomePreformattedSectionsAndMarkupStaysText) {
  EXPECT_EQ(testing::ParsePlain("a <b> &amp;\r\n\r\nlast\tline").Dump(),
            "Body default.\n"
            "  Block pre.\n"
            "    Pre |a <b> &amp; |\n"
            "    Pre | |\n"
            "    Pre |last line |\n");
}

TEST(PlainText, LongUtf8LinesAreNotSplitInsideACharacter) {
  std::string line;
  for (int i = 0; i < 300; ++i) line += "\xC3\xA9";
  auto document = testing::ParsePlain("\xEF\xBB\xBF" + line + " " + line);
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += "\\xE9";
  EXPECT_EQ(testing::JoinedText(*document.root), expected + " " + expected + " ");
}

}  // namespace
}  // namespace engine
