// Byte-order marks and the Japanese encodings as whole documents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/TParseViewer.h"
#include "engine/text/TSection.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::Parse;
using testing::TextSections;

class CodePageViewer : public TParseViewer {
 public:
  void SetCodePage(int value) override { codePage = value; }
  int codePage = 0;
};

TEST(Encodings, ByteOrderMarkMakesUtf8AndKeepsSourcePositions) {
  CodePageViewer viewer;
  auto document = Parse("\xEF\xBB\xBFx\xC3\xA9", &viewer);
  EXPECT_EQ(viewer.codePage, 65001);
  EXPECT_EQ(testing::JoinedText(*document.root), "x\\xE9 ");
  EXPECT_EQ(const_cast<TSection*>(TextSections(*document.root)[0])->DocPosToSourcePos(0), 3);
}

TEST(Encodings, Iso2022JpIsReadAsShiftJis) {
  CodePageViewer viewer;
  auto document = Parse("<p>\x1B$B\x30\x21\x24\x22\x1B(BA", &viewer);
  EXPECT_EQ(viewer.codePage, 932);
  EXPECT_EQ(testing::JoinedText(*document.root), "\\u4E9C\\u3042A ");
}

TEST(Encodings, EucJpNamedByMetaIsConvertedOnce) {
  const std::string meta = "<meta http-equiv=content-type content=\"text/html; charset=euc-jp\">";
  CodePageViewer viewer;
  auto document = Parse(meta + "\xB0\xA1" + meta + "<font charset=euc-jp>\xA4\xA2</font>", &viewer);
  EXPECT_EQ(viewer.codePage, 932);
  EXPECT_EQ(testing::JoinedText(*document.root), "\\u4E9C\\u3042 ");
}

TEST(Encodings, EucJpIsNotAppliedToShiftJisAlreadyConverted) {
  // JIS 5F 21 becomes Shift_JIS E0 40, whose lead byte a second conversion would take as EUC-JP.
  const std::string meta = "<meta http-equiv=content-type content=\"text/html; charset=euc-jp\">";
  EXPECT_EQ(testing::JoinedText(*Parse("\x1B$B\x5F\x21\x1B(B" + meta).root), "\\u6F3E ");
  EXPECT_EQ(testing::JoinedText(*Parse(meta + "\xDF\xA1" + meta + meta).root), "\\u6F3E ");
}

TEST(Encodings, ZeroBytesBecomeBlanksUpToAHundred) {
  auto document = Parse("<pre>a" + std::string(150, '\0') + "b</pre>");
  EXPECT_EQ(testing::JoinedText(*document.root), "a" + std::string(101, ' '));
}

// Text in code page 1252 is decoded as it is read, other code pages' text
// when its run ends: ASCII text, preformatted or not, with references,
// comments, blanks and line ends, must come out the same both ways, each
// character at the same source position.
TEST(Encodings, TextReadStraightMatchesTextReadByRuns) {
  const std::string body =
      "<p>one  two\r\nthree&amp;four <!-- c -->five&#65;</p><pre>a  b\n c&lt;d<!-- c -->e\tf</pre><p>x &bogus y";
  std::vector<std::string> results;
  for (const char* charset : {"windows-1252", "windows-1250"}) {
    auto document = Parse(std::string("<font charset=") + charset + ">" + body);
    std::string result = testing::JoinedText(*document.root);
    for (const TSection* section : TextSections(*document.root)) {
      for (int i = 0; i < section->Len; ++i) {
        result += " " + std::to_string(const_cast<TSection*>(section)->DocPosToSourcePos(i));
      }
    }
    results.push_back(result);
  }
  EXPECT_EQ(results[0], results[1]);
  EXPECT_NE(results[0].find("two three&four five"), std::string::npos) << results[0];
}

}  // namespace
}  // namespace engine
