// TITLE, BASE, META, STYLE, LINK and BGSOUND; the viewer's code page.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "engine/document/TBlock.h"
#include "engine/html/TParseViewer.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::Parse;

class RecordingViewer : public TParseViewer {
 public:
  void SetCodePage(int codePage) override { codePages.push_back(codePage); }
  std::string ExpandDocumentName(const std::string& name) override { return folder + name; }
  std::vector<int> codePages;
  std::string folder = "/nonexistent/";
};

const TBlock& BodyBlock(const testing::ParsedDocument& document) {
  return *dynamic_cast<const TBlock*>(document.root->Items(0));
}

TEST(HeadElements, TitleBaseAndMetaHook) {
  std::vector<std::string> metas;
  TParseHandlers handlers;
  handlers.OnMeta = [&metas](gui::TObject*, const std::string& httpEq, const std::string& name,
                             const std::string& content) { metas.push_back(httpEq + "|" + name + "|" + content); };
  auto document = Parse("<title>A &amp; B</title><base href=one><base href=two target=f>"
                        "<meta name=author content=me>x",
                        nullptr, handlers);
  EXPECT_EQ(document.head.Title, u"A & B");
  EXPECT_EQ(document.head.Base, "two");
  EXPECT_EQ(document.head.BaseTarget, "f");
  EXPECT_EQ(metas, std::vector<std::string>{"|author|me"});
  EXPECT_EQ(testing::JoinedText(*document.root), "x ");
}

TEST(HeadElements, MetaCharsetSetsTheCodePageUnlessAByteOrderMarkDid) {
  const std::string meta = "<meta http-equiv=content-type content=\"text/html; charset=windows-1251\">\xE0";
  RecordingViewer viewer;
  auto document = Parse(meta, &viewer);
  EXPECT_EQ(viewer.codePages.back(), 1251);
  EXPECT_EQ(testing::JoinedText(*document.root), "\\u0430 ");

  RecordingViewer utf8Viewer;
  auto marked = Parse("\xEF\xBB\xBF" + meta, &utf8Viewer);
  EXPECT_EQ(utf8Viewer.codePages, std::vector<int>{65001});
}

TEST(HeadElements, MetaCharsetAttributeIsReadAsTheContentTypesCharset) {
  RecordingViewer viewer;
  auto cyrillic = Parse("<meta charset=windows-1251>\xE0", &viewer);
  EXPECT_EQ(viewer.codePages.back(), 1251);
  EXPECT_EQ(testing::JoinedText(*cyrillic.root), "\\u0430 ");

  RecordingViewer utf8Viewer;
  auto utf8 = Parse("<meta charset=UTF-8>\xC3\xA9", &utf8Viewer);
  EXPECT_EQ(utf8Viewer.codePages.back(), 65001);
  EXPECT_EQ(testing::JoinedText(*utf8.root), "\\xE9 ");

  // An unknown name changes nothing; a byte-order mark wins over any name.
  RecordingViewer unknownViewer;
  Parse("<meta charset=klingon>x", &unknownViewer);
  EXPECT_EQ(unknownViewer.codePages.back(), 0);  // the system's
  RecordingViewer markedViewer;
  auto marked = Parse("\xEF\xBB\xBF<meta charset=windows-1251>\xC3\xA9", &markedViewer);
  EXPECT_EQ(markedViewer.codePages, std::vector<int>{65001});
  EXPECT_EQ(testing::JoinedText(*marked.root), "\\xE9 ");
}

TEST(HeadElements, StyleElementRulesApply) {
  auto document = Parse("<style>p{color:red}</style><p>x");
  const auto& paragraph = *dynamic_cast<const TBlock*>(BodyBlock(document).MyCell->Items(0));
  EXPECT_EQ(paragraph.TextColor & 0xFFFFFF, 0x0000FFu);
}

TEST(HeadElements, LinkedSheetIsReadWhenPresentAndReportedEitherWay) {
  std::vector<std::string> links;
  TParseHandlers handlers;
  handlers.OnLink = [&links](gui::TObject*, const std::string& rel, const std::string& rev, const std::string& href) {
    links.push_back(rel + "|" + rev + "|" + href);
  };
  RecordingViewer viewer;
  auto missing = Parse("<link rel=stylesheet href=missing.css><p>x", &viewer, handlers);
  EXPECT_EQ(links, std::vector<std::string>{"stylesheet||missing.css"});

  const std::string folder = ::testing::TempDir();
  std::ofstream(folder + "linked.css") << "p {\r\n  color: #00ff00\r\n}\n";
  viewer.folder = folder;
  auto linked = Parse("<link rel=StyleSheet href=linked.css><p>x", &viewer, handlers);
  const auto& paragraph = *dynamic_cast<const TBlock*>(BodyBlock(linked).MyCell->Items(0));
  EXPECT_EQ(paragraph.TextColor & 0xFFFFFF, 0x00FF00u);
  std::remove((folder + "linked.css").c_str());

  // Without a viewer nothing is fetched.
  std::ofstream(folder + "linked.css") << "p { color: #00ff00 }";
  auto noViewer = Parse("<link rel=stylesheet href=\"" + folder + "linked.css\"><p>x", nullptr, handlers);
  const auto& plain = *dynamic_cast<const TBlock*>(BodyBlock(noViewer).MyCell->Items(0));
  EXPECT_NE(plain.TextColor & 0xFFFFFF, 0x00FF00u);
  std::remove((folder + "linked.css").c_str());
}

TEST(HeadElements, BackgroundSoundAsksTheHost) {
  std::vector<std::string> sounds;
  TParseHandlers handlers;
  handlers.OnSoundRequest = [&sounds](gui::TObject*, const std::string& src, int loop, bool terminate) {
    sounds.push_back(src + "|" + std::to_string(loop) + (terminate ? "|t" : "|f"));
  };
  Parse("<bgsound src=a.wav><bgsound src=b.wav loop=3><bgsound>", nullptr, handlers);
  EXPECT_EQ(sounds, (std::vector<std::string>{"a.wav|1|f", "b.wav|3|f"}));
}

TEST(BodyElement, MarginsAreClampedAndDefaultToTheViewers) {
  auto clamped = Parse("<body marginwidth=500 topmargin=-3>x");
  EXPECT_EQ(BodyBlock(clamped).MargArray[Marg::MarginLeft], 200);
  EXPECT_EQ(BodyBlock(clamped).MargArray[Marg::MarginRight], 200);
  EXPECT_EQ(BodyBlock(clamped).MargArray[Marg::MarginTop], 0);

  auto plain = Parse("<body>x");
  EXPECT_EQ(BodyBlock(plain).MargArray[Marg::MarginLeft], 10);
  EXPECT_EQ(BodyBlock(plain).MargArray[Marg::MarginTop], 5);
}

TEST(BodyElement, ColoursAndASecondBodyIgnored) {
  auto document = Parse("<body bgcolor=#00ff00 text=red>x<body bgcolor=#0000ff>y");
  EXPECT_EQ(document.root->Background & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(BodyBlock(document).TextColor & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(testing::JoinedText(*document.root), "xy ");
}

}  // namespace
}  // namespace engine
