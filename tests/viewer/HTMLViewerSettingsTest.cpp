// The viewer's settings: defaults, clamps and what reaches the document root;
// loading from strings, buffers and files with the busy guard and error texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "ViewerTestSupport.h"
#include "engine/document/TIDNameList.h"

namespace viewer {
namespace {

using viewertest::ViewerTest;

TEST(HTMLViewerSettings, DefaultsAndClamps) {
  THTMLViewer view(nullptr);
  EXPECT_EQ(view.Width(), 150);
  EXPECT_EQ(view.Height(), 150);
  EXPECT_EQ(view.DefFontSize(), 12);
  EXPECT_EQ(view.DefFontName(), "Times New Roman");
  EXPECT_EQ(view.DefPreFontName(), "Courier New");
  EXPECT_EQ(view.MarginWidthValue(), 10);
  EXPECT_EQ(view.MarginHeightValue(), 5);
  EXPECT_EQ(view.VisitedMaxCount(), 50);
  EXPECT_EQ(view.ImageCacheCount(), 5);
  EXPECT_EQ(view.DefHotSpotColor(), 0xFF0000u);
  EXPECT_EQ(view.DefVisitedLinkColor(), 0x800080u);
  EXPECT_EQ(view.htOptions(), 0x14u);
  EXPECT_EQ(view.ScrollBars(), gui::ssBoth);
  EXPECT_EQ(view.Cursor(), gui::crIBeam);
  EXPECT_TRUE(view.ViewImages());

  view.SetPrintScale(10);
  EXPECT_EQ(view.PrintScale(), 4.0);
  view.SetPrintScale(0.1);
  EXPECT_EQ(view.PrintScale(), 0.25);
  view.SetImageCacheCount(30);
  EXPECT_EQ(view.ImageCacheCount(), 20);
  view.SetImageCacheCount(-3);
  EXPECT_EQ(view.ImageCacheCount(), 0);
  view.SetServerRoot("  /srv/www\\ ");
  EXPECT_EQ(view.ServerRoot(), "/srv/www");
  view.SetCursor(2);
  EXPECT_EQ(view.Cursor(), gui::crIBeam);
  view.SetDefFontSize(2147483647);
  EXPECT_EQ(view.DefFontSize(), 200);
  view.SetDefFontSize(-5);
  EXPECT_EQ(view.DefFontSize(), 1);
}

TEST(HTMLViewerSettings, ColoursAndOptionsReachTheRoot) {
  THTMLViewer view(nullptr);
  view.SetDefHotSpotColor(0x0000FF);
  view.SetDefVisitedLinkColor(0x00FF00);
  view.SetDefOverLinkColor(0x123456);
  view.SethtOptions(htOverLinksActive | htPrintBackground);
  EXPECT_EQ(view.Document().HotSpotColor, 0x0000FFu);
  EXPECT_EQ(view.Document().LinkVisitedColor, 0x00FF00u);
  EXPECT_EQ(view.Document().LinkActiveColor, 0x123456u);
  EXPECT_TRUE(view.Document().OverLinksActive);
  EXPECT_TRUE(view.Document().PrintBackground);
  EXPECT_FALSE(view.Document().PrintMonochrome);
  view.SetDefPreFontName(std::string(40, 'x'));
  EXPECT_EQ(view.Document().PreFontName.size(), 32u);
  view.SetNoSelect(true);
  EXPECT_EQ(view.Document().SelB, -1);
  EXPECT_EQ(view.Document().SelE, -1);
}

TEST(HTMLViewerSettings, ExpandDocumentName) {
  THTMLViewer view(nullptr);
  EXPECT_EQ(view.ExpandDocumentName("http://x/y.htm"), "http://x/y.htm");
  view.LoadSourceString("<p>x</p>", "/d/index.htm");
  EXPECT_EQ(view.ShownFileName(), "/d/index.htm");
  EXPECT_EQ(view.ExpandDocumentName("sub/a.htm"), "/d/sub/a.htm");
  EXPECT_EQ(view.ExpandDocumentName("/abs/b.htm"), "/abs/b.htm");
  view.SetBaseHref("/other/base.htm");
  EXPECT_EQ(view.ExpandDocumentName("c.htm"), "/other/c.htm");
}

class HTMLViewerLoading : public ViewerTest {
 protected:
  std::string writeFile(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir();
    if (path.empty() || path.back() != '/') path += "/";
    path += name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
};

TEST_F(HTMLViewerLoading, StringsSetTitleBaseAndProgress) {
  std::vector<std::string> log;
  view().OnProgress = [&](gui::TObject*, ThtProgressStage stage, int percent) {
    if (stage != psRunning) log.push_back(std::to_string(stage) + ":" + std::to_string(percent));
  };
  int processing = 0;
  view().OnProcessing = [&](gui::TObject*, bool on) { processing += on ? 1 : -1; };
  bool ended = false;
  view().OnParseEnd = [&](gui::TObject*) { ended = true; };
  load("<html><head><title>Hello</title><base href=\"/b/\"></head><body>Text</body></html>");
  EXPECT_EQ(view().TitleText(), u"Hello");
  EXPECT_EQ(view().BaseHref(), "/b/");
  EXPECT_TRUE(ended);
  EXPECT_EQ(processing, 0);
  EXPECT_FALSE(view().Busy());
  EXPECT_EQ((std::vector<std::string>{"0:0", "2:100"}), log);
  EXPECT_GT(view().DocumentHeight(), 0);
}

TEST_F(HTMLViewerLoading, ParseBeginMayReplaceTheSource) {
  view().OnParseBegin = [](gui::TObject*, std::string& source) { source = "<title>Replaced</title>"; };
  load("<title>Original</title>");
  EXPECT_EQ(view().TitleText(), u"Replaced");
  EXPECT_EQ(view().SourceText(), "<title>Replaced</title>");
}

TEST_F(HTMLViewerLoading, BuffersRefuseBadSizes) {
  const char text[] = "<title>Buffer</title>";
  view().LoadSourceBuffer(text, sizeof(text) - 1, "");
  EXPECT_EQ(view().TitleText(), u"Buffer");
  view().LoadSourceBuffer(text, -5, "");  // never read past the buffer
  EXPECT_EQ(view().TitleText(), u"");
  EXPECT_EQ(view().SourceText(), "");
  EXPECT_THROW(view().LoadSourceBuffer(nullptr, 10, ""), EInOutError);
  EXPECT_FALSE(view().Busy());
}

TEST_F(HTMLViewerLoading, MissingFileKeepsTheDocument) {
  load("<title>Kept</title>");
  bool ended = false;
  view().OnProgress = [&](gui::TObject*, ThtProgressStage stage, int percent) {
    ended = ended || (stage == psEnding && percent == 100);
  };
  try {
    view().OpenHtmlFile("/nonexistent.htm");
    FAIL() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), "Can't locate file: /nonexistent.htm");
  }
  EXPECT_TRUE(ended);
  EXPECT_FALSE(view().Busy());
  EXPECT_EQ(view().TitleText(), u"Kept");
  EXPECT_EQ(gui::Screen->Cursor(), gui::crDefault);
}

TEST_F(HTMLViewerLoading, FilesByKind) {
  const std::string html = writeFile("viewer_page.htm", "<title>File</title><p id=\"x\">text</p>");
  view().OpenHtmlFile(html);
  EXPECT_EQ(view().TitleText(), u"File");
  EXPECT_EQ(view().SourceKind(), kHtmlKind);
  EXPECT_EQ(view().ShownFileName(), html);

  const std::string text = writeFile("viewer_text.txt", "<title>not markup</title>\nline two\n");
  view().OpenTextFile(text);
  EXPECT_EQ(view().SourceKind(), kTextKind);
  EXPECT_EQ(view().TitleText(), u"");
  EXPECT_EQ(view().SourceText(), "<title>not markup</title>\nline two\n");

  // An image file is a document of one image; quotes and ampersands in its
  // name stay part of the name.
  const std::string image = writeFile("a\"b&amp;.png", "not really a png");
  std::string parsed;
  view().OnParseBegin = [&](gui::TObject*, std::string& source) { parsed = source; };
  view().OpenImageFile(image);
  EXPECT_EQ(view().SourceKind(), kImageKind);
  EXPECT_EQ(view().SourceText(), "");
  EXPECT_EQ(parsed, "");
}

TEST_F(HTMLViewerLoading, LoadsAreRefusedWhileBusy) {
  const std::string other = writeFile("viewer_other.htm", "<title>Other</title>");
  int nested = 0;
  view().OnParseBegin = [&](gui::TObject*, std::string&) {
    ++nested;
    view().LoadFileOfType(other, kHtmlKind);  // would clear the document being built
    view().LoadSourceString("<title>Nested</title>", "");
    view().Clear();
  };
  load("<title>Outer</title>");
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(view().TitleText(), u"Outer");
}

TEST_F(HTMLViewerLoading, RefreshOnlyAfterALoad) {
  int refreshes = 0;
  view().OnMetaRefresh = [&](gui::TObject*, int, const std::string&) { ++refreshes; };
  load("<p>x</p>");
  EXPECT_EQ(refreshes, 0);
}

TEST_F(HTMLViewerLoading, AnchorsScrollAndJoinTheVisitedList) {
  std::string html = tallDocument(200);
  html.insert(html.size() - 7, "<p><a name=\"Part2\">Target</a></p>");
  load(html, "/d/f.htm#part2");
  engine::TIDObject* anchor = view().Document().IDNameList->Find("PART2");
  ASSERT_NE(anchor, nullptr);
  const int expected = std::min(anchor->GetDocumentY(), view().DocumentHeight() - view().PaintPanel().Height());
  EXPECT_GT(expected, 0);
  EXPECT_EQ(view().VerticalPosition(), expected);
  EXPECT_EQ(view().Document().YOffset, expected);
  ASSERT_GE(view().VisitedList().Count(), 1);
  EXPECT_EQ(view().VisitedList()[0], "/d/f.htm#part2");
  EXPECT_FALSE(view().ScrollToAnchor("missing"));
  EXPECT_FALSE(view().ScrollToAnchor(""));
}

TEST_F(HTMLViewerLoading, ClearEmptiesEverything) {
  std::vector<std::string> sounds;
  view().OnSoundRequest = [&](gui::TObject*, const std::string& src, int loop, bool terminate) {
    sounds.push_back(src + ":" + std::to_string(loop) + ":" + (terminate ? "stop" : "play"));
  };
  load(tallDocument(100) + "<title>T</title>");
  EXPECT_TRUE(view().VScrollBar().Visible());
  sounds.clear();
  view().Clear();
  EXPECT_EQ(sounds, std::vector<std::string>{":0:stop"});
  EXPECT_EQ(view().TitleText(), u"");
  EXPECT_EQ(view().BaseHref(), "");
  EXPECT_FALSE(view().VScrollBar().Visible());
  EXPECT_FALSE(view().HScrollBar().Visible());
  EXPECT_EQ(view().Document().Count(), 0);
}

}  // namespace
}  // namespace viewer
