// Documents parsed from the HTML files under tests/data/parse and compared
// with the dumps beside them: line breaks at the edges of PRE, META CHARSET,
// maps left open and closed, and a comment left open at the end of the input.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/engine/html/ParseTestSupport.h"
#include "tests/engine/support/LayoutDump.h"

namespace engine {
namespace {

void ExpectDump(const std::string& name) {
  const std::string html = testing::ReadTestDataFile("parse/" + name + ".html");
  ASSERT_FALSE(html.empty()) << name;
  const std::string actual = testing::Parse(html).Dump();
  const std::string expected = testing::ReadTestDataFile("parse/" + name + ".txt");
  if (expected != actual) std::ofstream(std::string(PAGEWELL_TEST_DATA_DIR) + "/parse/" + name + ".actual") << actual;
  EXPECT_EQ(expected, actual) << name << ": the actual dump is written beside the expected one as .actual";
}

// One break after the start tag and one before the end tag are dropped (CR LF,
// CR and LF alike); every other empty line stays.
TEST(ParseDump, PreDropsTheBreaksNextToItsTags) { ExpectDump("pre_line_breaks"); }

TEST(ParseDump, MetaCharsetUtf8DecodesTheText) { ExpectDump("meta_charset_utf8"); }

// What follows a map that never ends stays where it is, in paragraphs and cells.
TEST(ParseDump, AnUnclosedMapKeepsWhatFollowsIt) {
  ExpectDump("map_unclosed");
  ExpectDump("map_unclosed_in_pre");  // lines and blanks kept as written
}

// A closed map still hides its own text.
TEST(ParseDump, AClosedMapHidesItsText) { ExpectDump("map_closed"); }

// The text read when the input ends inside a comment stays in its cell or paragraph.
TEST(ParseDump, AnOpenCommentAtTheEndKeepsTheTextInItsCell) { ExpectDump("open_comment_in_cell"); }
TEST(ParseDump, AnOpenCommentAtTheEndKeepsTheTextInItsParagraph) { ExpectDump("open_comment_in_paragraph"); }

}  // namespace
}  // namespace engine
