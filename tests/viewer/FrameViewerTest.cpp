// The frame viewer: frameset documents from a folder laid out into frames,
// frame sizes from ROWS and COLS, the error page, request events and the
// settings that reach every frame's viewer.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FrameLayoutTestSupport.h"
#include "platform/gui/TStringList.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

TEST(FrameSizeCodes, ReadsPixelsWeightsAndPercentages) {
  EXPECT_EQ(ParseFrameSizes("100,*,2*"), (std::vector<int>{100, -1, -2}));
  EXPECT_EQ(ParseFrameSizes("0, 0*, 2000%, 9999, 30%"), (std::vector<int>{1, -1, -1000, 5000, -130}));
  EXPECT_EQ(ParseFrameSizes("10,,20"), (std::vector<int>{10, -1, 20}));
  // A number past the integer range saturates instead of failing the load.
  EXPECT_EQ(ParseFrameSizes("99999999999999999999999,5*"), (std::vector<int>{5000, -5}));
  EXPECT_EQ(ParseFrameSizes(std::string(30, ',')).size(), static_cast<std::size_t>(kMaxFrameEntries));
}

TEST_F(FrameViewerTest, SizesRowsAndColumnsAtSeveralWindowSizes) {
  write("a.htm", "<p>a");
  write("rows.htm", "<frameset rows=\"100,*,2*\"><frame src=a.htm><frame src=a.htm><frame src=a.htm></frameset>");
  load("rows.htm");
  EXPECT_TRUE(top().Rows());
  EXPECT_EQ(Bounds(top()), "2,2 400x101 2,103 400x66 2,169 400x133");
  fv().SetBounds(0, 0, 404, 404);
  pump();
  EXPECT_EQ(Bounds(top()), "2,2 400x100 2,102 400x100 2,202 400x200");

  write("cols.htm", "<frameset rows=* cols=\"30%,*\"><frame src=a.htm><frame src=a.htm></frameset>");
  load("cols.htm");
  EXPECT_FALSE(top().Rows());
  fv().SetBounds(0, 0, 204, 104);
  pump();
  EXPECT_EQ(Bounds(top()), "2,2 60x100 62,2 140x100");

  // Pixel sizes too large for the window are scaled down; missing frames are added empty.
  write("pixels.htm", "<frameset cols=\"300,300,*\"><frame src=a.htm></frameset>");
  fv().SetBounds(0, 0, 404, 104);
  load("pixels.htm");
  EXPECT_EQ(Bounds(top()), "2,2 200x100 202,2 200x100 402,2 0x100");
  EXPECT_EQ(fv().GetViewerCount(), 1);
}

TEST_F(FrameViewerTest, TwoFramesAndANestedFramesetAreLaidOutAndPainted) {
  write("left.htm", "<title>Left</title><body bgcolor=white><p>Left side text");
  write("right.htm", "<body bgcolor=white><p>Right side text");
  write("inner.htm", "<frameset rows=50%,50%><frame src=right.htm name=upper><frame src=left.htm></frameset>");
  write("two.htm", "<title>Pair</title><frameset cols=50%,50%><frame src=left.htm name=main>"
                   "<frame src=right.htm></frameset>");
  load("two.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  EXPECT_EQ(top().Title, u"Pair");
  EXPECT_EQ(Bounds(top()), "2,2 200x300 202,2 200x300");
  EXPECT_EQ(fv().FrameViewerByName("MAIN"), fv().GetViewer(0));
  EXPECT_EQ(fv().GetViewer(0)->TitleText(), u"Left");
  fv().Repaint();
  pump();
  EXPECT_TRUE(HasInk(*fv().GetViewer(0)));
  EXPECT_TRUE(HasInk(*fv().GetViewer(1)));
  EXPECT_EQ(fv().GetViewer(0)->ImageCache(), &fv().ImageCache());

  write("three.htm", "<frameset cols=100,*><frame src=left.htm><frame src=inner.htm name=side></frameset>");
  load("three.htm");
  ASSERT_EQ(fv().GetViewerCount(), 3);
  EXPECT_EQ(fv().FrameViewerByName("side"), nullptr);  // it holds a nested set
  ASSERT_NE(fv().FrameViewerByName("upper"), nullptr);
  TfvFrame* side = dynamic_cast<TfvFrame*>(top().Child(1));
  ASSERT_TRUE(side && side->NestedSet());
  EXPECT_EQ(Bounds(*side->NestedSet()), "0,0 300x150 0,150 300x150");
  fv().Repaint();
  pump();
  for (int index = 0; index < 3; ++index) EXPECT_TRUE(HasInk(*fv().GetViewer(index))) << index;
}

TEST_F(FrameViewerTest, MissingFrameFilesShowAnEscapedErrorPage) {
  write("set.htm", "<frameset cols=*,*><frame src=\"missing.htm\"><frame src=\"a&b<c>.htm\"></frameset>");
  load("set.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  const std::string folder = folder_.string() + "/";
  EXPECT_EQ(fv().GetViewer(0)->SourceText(),
            "<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + folder + "missing.htm");
  EXPECT_EQ(fv().GetViewer(1)->SourceText(),
            "<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + folder + "a&amp;b&lt;c&gt;.htm");

  EXPECT_THROW(fv().LoadFromFile((folder_ / "nothing.htm#x").string()), EfvLoadError);
  EXPECT_EQ(fv().GetViewerCount(), 2);  // the shown document stays
}

TEST_F(FrameViewerTest, SelfReferencingFramesetsAreBounded) {
  std::string page = "<frameset cols=\"*\">";
  for (int frame = 0; frame < 25; ++frame) page += "<frame src=self.htm>";
  write("self.htm", page + "</frameset>");
  load("self.htm");
  EXPECT_LE(top().FramesMade, kMaxFrames);
  EXPECT_EQ(top().ChildCount(), kMaxFrameEntries);
  EXPECT_EQ(fv().GetViewerCount(), 0);  // every level is a frameset; the deepest frames stay empty
}

// Four levels of six columns ask for 1296 frames. The 500 made before the cap
// share the window; the entries left without a frame take no room (they used
// to, and squeezed every frame made to nothing).
TEST_F(FrameViewerTest, FramesMadeBeforeTheCapShareTheWindow) {
  const std::function<std::string(int)> columns = [&columns](int levels) {
    if (levels == 0) return std::string("<frame src=leaf.htm>");
    std::string set = "<frameset cols=\"*,*,*,*,*,*\">";
    for (int column = 0; column < 6; ++column) set += columns(levels - 1);
    return set + "</frameset>";
  };
  write("leaf.htm", "<body bgcolor=red>");
  write("sets.htm", columns(4));
  load("sets.htm");
  EXPECT_EQ(top().FramesMade, kMaxFrames);
  EXPECT_EQ(fv().GetViewerCount(), kMaxFrames);
  // 2 x 216 frames in the first two columns, 68 in the third.
  EXPECT_EQ(Bounds(top()), "2,2 133x300 135,2 133x300 268,2 133x300");
  const auto* third = dynamic_cast<const TSubFrameSet*>(top().Child(2));
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(Bounds(*third), "0,0 67x300 67,0 67x300");  // 36 frames and 32
  const auto* last = dynamic_cast<const TSubFrameSet*>(third->Child(1));
  ASSERT_NE(last, nullptr);
  ASSERT_EQ(last->ChildCount(), 6);  // five sets of six frames, and the last two frames
  const auto* tail = dynamic_cast<const TSubFrameSet*>(last->Child(5));
  ASSERT_NE(tail, nullptr);
  EXPECT_EQ(Bounds(*tail), "0,0 6x300 6,0 6x300");
  EXPECT_GT(fv().GetViewer(kMaxFrames - 1)->Width(), 0);
}

TEST_F(FrameViewerTest, SameDocumentKeepsTheSetAndRelativeNamesMatch) {
  write("a.htm", "<p>a");
  write("b.htm", "<p>b");
  load("a.htm");
  TFrameSet* first = fv().CurrentFrameSet();
  load("a.htm");
  EXPECT_EQ(fv().CurrentFrameSet(), first);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  ASSERT_TRUE(fv().LoadFromFile("a.htm"));  // expanded before it is compared
  std::filesystem::current_path(previous);
  EXPECT_EQ(fv().CurrentFrameSet(), first);
  load("b.htm");
  EXPECT_NE(fv().CurrentFrameSet(), nullptr);
  EXPECT_EQ(fv().GetViewerCount(), 1);
  EXPECT_EQ(top().DocumentName, (folder_ / "b.htm").string());
}

TEST_F(FrameViewerTest, ADifferentDocumentLoadsBehindTheShownOne) {
  write("a.htm", "<p>a");
  write("b.htm", "<p>b");
  load("a.htm");
  const win::HWND old = fv().GetViewer(0)->PaintPanel().Handle();  // the viewer goes with its set
  const win::POINT middle = fv().ClientToScreen({200, 150});
  ASSERT_EQ(win::WindowFromPoint(middle), old);
  win::HWND underWhileLoading = 0;
  fv().OnParseEnd = [&](gui::TObject*) { underWhileLoading = win::WindowFromPoint(middle); };
  load("b.htm");
  EXPECT_EQ(underWhileLoading, old);
  EXPECT_EQ(win::WindowFromPoint(middle), fv().GetViewer(0)->PaintPanel().Handle());
}

TEST_F(FrameViewerTest, BusyLoadsAreRefusedAndReported) {
  write("a.htm", "<p>a");
  std::vector<bool> states;
  bool refused = false;
  fv().OnProcessing = [&](gui::TObject*, bool on) {
    states.push_back(on);
    if (on) refused = !fv().LoadFromFile((folder_ / "a.htm").string()) && !fv().Clear();
  };
  load("a.htm");
  EXPECT_EQ(states, (std::vector<bool>{true, false}));
  EXPECT_TRUE(refused);
}

TEST_F(FrameViewerTest, SettingsReachEveryFramesViewer) {
  write("a.htm", "<p>a");
  write("two.htm", "<frameset rows=*,*><frame src=a.htm marginwidth=20 marginheight=7 scrolling=no>"
                   "<frame src=a.htm marginwidth=999999></frameset>");
  fv().SetDefFontSize(15);
  load("two.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  EXPECT_EQ(fv().GetViewer(0)->MarginWidthValue(), 20);
  EXPECT_EQ(fv().GetViewer(0)->MarginHeightValue(), 7);
  EXPECT_EQ(fv().GetViewer(0)->ScrollBars(), gui::ssNone);
  EXPECT_EQ(fv().GetViewer(1)->MarginWidthValue(), 10000);
  fv().SetNoSelect(true);
  fv().SetDefFontName("Arial");
  fv().SetfvOptions(fv().fvOptions() | fvNoLinkUnderline | fvNoFocusRect);
  fv().SetViewerCursor(2);
  fv().SetHistoryMaxCount(-1);
  EXPECT_EQ(fv().ViewerCursor(), gui::crIBeam);
  EXPECT_EQ(fv().HistoryMaxCount(), 0);
  for (int index = 0; index < 2; ++index) {
    THTMLViewer& viewer = *fv().GetViewer(index);
    EXPECT_EQ(viewer.DefFontSize(), 15);
    EXPECT_TRUE(viewer.NoSelect());
    EXPECT_EQ(viewer.DefFontName(), "Arial");
    EXPECT_TRUE(viewer.htOptions() & htNoLinkUnderline);
    EXPECT_EQ(viewer.BorderStyle(), htNone);
  }
}

TEST_F(FrameViewerTest, DocumentsComeFromTheFirstRequestEvent) {
  write("start.htm", "");
  std::vector<std::string> asked;
  gui::TStringList text;
  fv().OnStringsRequest = [&](gui::TObject*, const std::string& src, gui::TStrings*& strings) {
    asked.push_back(src);
    text.SetText(src == "start.htm" || src.find("start.htm") != std::string::npos
                     ? "<frameset cols=*,*><frame src=one.htm name=one><frame src=two.htm></frameset>"
                     : "<title>" + src + "</title><p>" + src);
    strings = &text;
  };
  bool fileAsked = false;
  fv().OnFileRequest = [&](gui::TObject*, const std::string&, std::string&) { fileAsked = true; };
  load("start.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  EXPECT_EQ(fv().FrameViewerByName("one")->TitleText(), u"one.htm");
  EXPECT_EQ(fv().GetViewer(1)->TitleText(), u"two.htm");
  EXPECT_FALSE(fileAsked);
  EXPECT_EQ(asked.size(), 3u);
}

TEST_F(FrameViewerTest, BordersAreClampedAndTheFirstNameWins) {
  write("a.htm", "<p>a");
  write("wide.htm", "<frameset cols=*,* border=100000><frame src=a.htm name=main><frame src=a.htm name=MAIN>"
                    "</frameset>");
  load("wide.htm");
  EXPECT_EQ(top().BorderSize(), 100);
  ASSERT_EQ(fv().GetViewerCount(), 2);
  EXPECT_EQ(fv().FrameViewerByName("Main"), fv().GetViewer(0));
  write("none.htm", "<frameset cols=*,* border=-5><frame src=a.htm><frame src=a.htm></frameset>");
  load("none.htm");
  EXPECT_EQ(top().BorderSize(), 0);
  EXPECT_EQ(fv().GetViewer(0)->BorderStyle(), htNone);
  // Other options changed later leave the viewers of a borderless set plain.
  fv().SetfvOptions(fv().fvOptions() | fvNoLinkUnderline);
  EXPECT_EQ(fv().GetViewer(0)->BorderStyle(), htNone);
  EXPECT_EQ(fv().GetViewer(1)->BorderStyle(), htNone);
}

}  // namespace
}  // namespace viewer
