// What the frame viewer hands its frames' viewers besides settings: events
// set before or after a document is shown, the host's documents for the
// sources a frame's document links to, the list of viewers to print with
// the sides they touch, and the focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameLayoutTestSupport.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TStringList.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

using FrameViewerEvents = FrameViewerTest;

TEST_F(FrameViewerEvents, EventsReachEveryFramesViewerWhenSetAndWhenMade) {
  write("a.htm", "<p>a");
  write("two.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  int clicks = 0, requests = 0;
  fv().OnImageClick = [&](gui::TObject*, engine::TIDObject*, gui::TMouseButton, gui::TShiftState, int, int) {
    ++clicks;
  };
  load("two.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  fv().OnImageRequest = [&](gui::TObject*, const std::string&, gui::TMemoryStream*&) { ++requests; };
  fv().OnPrintHeader = [](gui::TObject*, gui::TCanvas&, int, int, int, bool&) {};
  fv().OnObjectChange = [](gui::TObject*, engine::TFormControlObj*, const std::string&) {};
  for (int index = 0; index < 2; ++index) {
    THTMLViewer& viewer = *fv().GetViewer(index);
    ASSERT_TRUE(viewer.OnImageClick) << index;
    viewer.OnImageClick(&viewer, nullptr, gui::mbLeft, 0, 0, 0);
    EXPECT_TRUE(viewer.OnImageRequest) << index;
    EXPECT_TRUE(viewer.Document().OnImageRequest) << index;  // written through into the document
    EXPECT_TRUE(viewer.OnPrintHeader) << index;
    EXPECT_TRUE(viewer.OnObjectChange) << index;
  }
  EXPECT_EQ(clicks, 2);
  fv().GetViewer(1)->LoadSourceString("<img src=pic.gif>", "");
  EXPECT_GE(requests, 1);

  // Cleared on the frame viewer, cleared in every frame's viewer.
  fv().OnImageClick = nullptr;
  fv().OnImageRequest = nullptr;
  for (int index = 0; index < 2; ++index) {
    EXPECT_FALSE(fv().GetViewer(index)->OnImageClick) << index;
    EXPECT_FALSE(fv().GetViewer(index)->Document().OnImageRequest) << index;
  }
}

TEST_F(FrameViewerEvents, FormControlEventsReachEveryFramesDocument) {
  write("a.htm", "<form><input name=q></form>");
  write("two.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  fv().OnObjectChange = [](gui::TObject*, engine::TFormControlObj*, const std::string&) {};
  load("two.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  fv().OnFileBrowse = [](gui::TObject*, engine::TFormControlObj*, std::string&) {};
  for (int index = 0; index < 2; ++index) {
    EXPECT_TRUE(fv().GetViewer(index)->Document().OnObjectChange) << index;
    EXPECT_TRUE(fv().GetViewer(index)->Document().OnFileBrowse) << index;
  }
  fv().OnObjectChange = nullptr;
  EXPECT_FALSE(fv().GetViewer(1)->Document().OnObjectChange);
}

TEST_F(FrameViewerEvents, ScriptHandlersServeTheFramesetAndItsFrames) {
  write("a.htm", "<script>in frame</script><p>a");
  write("set.htm", "<script>in frameset</script><frameset rows=*><frame src=a.htm></frameset>");
  std::vector<std::string> scripts;
  load("set.htm");  // no handler yet: scripts are skipped
  fv().OnScript = [&](gui::TObject*, const std::string&, const std::string&, const std::string& script) {
    scripts.push_back(script);
  };
  EXPECT_TRUE(fv().GetViewer(0)->OnScript);
  fv().Reload();
  EXPECT_EQ(scripts, (std::vector<std::string>{"in frame"}));
  write("other.htm", "<script>in frameset</script><frameset rows=*><frame src=a.htm></frameset>");
  load("other.htm");
  EXPECT_EQ(scripts, (std::vector<std::string>{"in frame", "in frameset", "in frame"}));
}

TEST_F(FrameViewerEvents, LinkedSourcesOfFramesComeFromTheRequestEvents) {
  write("start.htm", "");
  gui::TStringList text;
  std::vector<std::string> asked;
  fv().OnStringsRequest = [&](gui::TObject*, const std::string& src, gui::TStrings*& strings) {
    asked.push_back(src);
    if (src.find("start.htm") != std::string::npos) {
      text.SetText("<link rel=stylesheet href=look.css><p>Styled");
    } else if (src == "look.css") {
      text.SetText("p { color: #00ff00 }");
    } else {
      return;  // no answer
    }
    strings = &text;
  };
  load("start.htm");
  ASSERT_EQ(fv().GetViewerCount(), 1);
  EXPECT_EQ(asked.back(), "look.css");
  THTMLViewer& viewer = *fv().GetViewer(0);
  gui::TStream* stream = nullptr;
  fv().FrameStreamRequest(&viewer, "look.css", stream);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Size(), static_cast<std::int64_t>(text.Text().size()));
  stream = nullptr;
  fv().FrameStreamRequest(&viewer, "unknown.css", stream);
  EXPECT_EQ(stream, nullptr);  // left as it was
}

TEST_F(FrameViewerEvents, PrintViewerListTellsTheSidesEachFrameTouches) {
  write("a.htm", "<p>a");
  load("a.htm");
  gui::TStringList& single = fv().PrintViewerList();
  ASSERT_EQ(single.Count(), 1);
  EXPECT_EQ(single[0], "ltrb");
  EXPECT_EQ(single.Objects(0), fv().GetViewer(0));

  write("empty.htm", "");
  write("grid.htm", "<frameset cols=100,*><frame src=a.htm><frameset rows=*,*><frame src=a.htm>"
                    "<frame src=empty.htm></frameset></frameset>");
  load("grid.htm");
  ASSERT_EQ(fv().GetViewerCount(), 3);
  gui::TStringList& list = fv().PrintViewerList();
  EXPECT_EQ(&list, &single);  // one list, made anew on each call
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0], "ltb");
  EXPECT_EQ(list[1], "tr");
  EXPECT_EQ(list[2], "rb");
  fv().GetViewer(1)->Clear();
  fv().PrintViewerList();
  ASSERT_EQ(list.Count(), 2);  // a viewer without a document is left out
  EXPECT_EQ(list.Objects(1), fv().GetViewer(2));
}

TEST_F(FrameViewerEvents, FramePanelsShowTheFrameViewersBackground) {
  write("a.htm", "<p>a");
  write("inner.htm", "<frameset rows=*,*><frame src=a.htm><frame></frameset>");
  write("grid.htm", "<frameset cols=*,*><frame src=a.htm><frame src=inner.htm></frameset>");
  fv().SetDefBackground(gui::clWhite);
  load("grid.htm");
  auto* holder = dynamic_cast<TfvFrame*>(top().Child(1));
  ASSERT_TRUE(holder && holder->NestedSet());
  const gui::TControl* panels[] = {&top(), top().Child(0), holder, holder->NestedSet(),
                                   holder->NestedSet()->Child(1)};
  for (const gui::TControl* panel : panels) EXPECT_EQ(panel->Color(), gui::clWhite);
  fv().SetDefBackground(gui::clYellow);
  for (const gui::TControl* panel : panels) EXPECT_EQ(panel->Color(), gui::clYellow);
}

TEST_F(FrameViewerEvents, RepaintReachesEveryFramesDocument) {
  write("a.htm", "<body bgcolor=white><p>a");
  write("inner.htm", "<frameset rows=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  write("grid.htm", "<frameset cols=*,*><frame src=a.htm><frame src=inner.htm></frameset>");
  load("grid.htm");
  ASSERT_EQ(fv().GetViewerCount(), 3);
  // Scribbles over the middle of every frame's document, as a stale picture would.
  auto* surface = win::windowSurface(form().Handle());
  const auto scribble = [&](THTMLViewer& viewer) {
    const win::POINT at = form().ScreenToClient(viewer.PaintPanel().ClientToScreen({30, 30}));
    return &surface->rowPtr(at.y)[at.x];
  };
  for (int index = 0; index < 3; ++index) *scribble(*fv().GetViewer(index)) = 0x123456;
  fv().Repaint();
  pump();
  for (int index = 0; index < 3; ++index) EXPECT_EQ(*scribble(*fv().GetViewer(index)) & 0xFFFFFF, 0xFFFFFFu) << index;
}

TEST_F(FrameViewerEvents, TheActiveViewerTakesTheFocus) {
  write("a.htm", "<p>a");
  write("two.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  load("two.htm");
  fv().SetFocus();
  pump();
  EXPECT_TRUE(fv().Focused());  // no frame entered yet
  mouse(win::WM_LBUTTONDOWN, fv().GetViewer(1)->PaintPanel(), 20, 20);
  mouse(win::WM_LBUTTONUP, fv().GetViewer(1)->PaintPanel(), 20, 20);
  EXPECT_EQ(fv().GetActiveViewer(), fv().GetViewer(1));
  win::SetFocus(fv().Handle());
  pump();
  fv().SetFocus();
  pump();
  EXPECT_TRUE(fv().GetViewer(1)->Focused() || fv().GetViewer(1)->PaintPanel().Focused());
}

}  // namespace
}  // namespace viewer
