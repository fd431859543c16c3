// Dragging the borders between frames with the mouse: the split cursor over
// a border, the pointer held between the neighbouring borders, the sizes
// after the drag, borders next to NORESIZE frames, and nested sets.
#include <gtest/gtest.h>

#include "FrameLayoutTestSupport.h"
#include "platform/win/user/SystemMetrics.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

class FrameBorderDragTest : public FrameViewerTest {
 protected:
  TfvFrame& frame(TSubFrameSet& set, int index) { return *dynamic_cast<TfvFrame*>(set.Child(index)); }
  // Mouse input at a point of a set's client area, sent to the panel under it.
  void at(win::UINT message, TSubFrameSet& set, int x, int y) { mouse(message, set, x, y); }
};

TEST_F(FrameBorderDragTest, ARowBorderFollowsTheMouseWithinItsBand) {
  write("a.htm", "<p>a");
  write("rows.htm", "<frameset rows=\"100,*\"><frame src=a.htm><frame src=a.htm></frameset>");
  fv().SetBounds(0, 0, 404, 404);
  load("rows.htm");
  ASSERT_EQ(Bounds(top()), "2,2 400x100 2,102 400x300");
  EXPECT_EQ(top().BorderPosition(1), 100);

  // Over the first frame's lower bevel, two pixels above the border.
  at(win::WM_MOUSEMOVE, top(), 50, 100);
  EXPECT_EQ(frame(top(), 0).Cursor(), gui::crVSplit);
  EXPECT_EQ(top().DragIndex(), 1);
  at(win::WM_LBUTTONDOWN, top(), 50, 100);
  ASSERT_EQ(top().DragSet, &top());
  win::RECT clip{};
  win::GetClipCursor(&clip);
  const win::POINT bandTop = top().ClientToScreen({0, 3});
  EXPECT_EQ(clip.top, bandTop.y);
  EXPECT_EQ(clip.bottom, top().ClientToScreen({0, 401}).y);

  at(win::WM_MOUSEMOVE, top(), 50, 150);
  const win::RECT line = top().DragLine();
  EXPECT_EQ(line.top, top().ClientToScreen({0, 149}).y);
  EXPECT_EQ(line.right - line.left, top().Width());
  at(win::WM_LBUTTONUP, top(), 50, 150);
  EXPECT_EQ(top().DragSet, nullptr);
  // The border lands under the pointer; the pointer is free again.
  EXPECT_EQ(Bounds(top()), "2,2 400x148 2,150 400x252");
  EXPECT_EQ(top().BorderPosition(1), 148);
  win::GetClipCursor(&clip);
  EXPECT_EQ(clip.bottom, win::GetSystemMetrics(win::SM_CYSCREEN));

  // Far from any border the frame viewer's cursor shows, and a press starts nothing.
  at(win::WM_MOUSEMOVE, top(), 3, 300);
  EXPECT_EQ(frame(top(), 1).Cursor(), gui::crIBeam);
  at(win::WM_LBUTTONDOWN, top(), 3, 300);
  EXPECT_EQ(top().DragSet, nullptr);
  at(win::WM_LBUTTONUP, top(), 3, 300);
}

TEST_F(FrameBorderDragTest, ABorderReleasedOutsideItsBandGivesNoNegativeSizes) {
  write("a.htm", "<p>a");
  write("cols.htm", "<frameset cols=\"*,*,*\"><frame src=a.htm><frame src=a.htm><frame src=a.htm></frameset>");
  load("cols.htm");
  ASSERT_EQ(Bounds(top()), "2,2 133x300 135,2 133x300 268,2 133x300");
  at(win::WM_MOUSEMOVE, top(), 136, 50);
  EXPECT_EQ(frame(top(), 1).Cursor(), gui::crHSplit);
  at(win::WM_LBUTTONDOWN, top(), 136, 50);
  ASSERT_EQ(top().DragSet, &top());
  // A release the pointer clip did not hold (a host moving it itself).
  top().FrameMouseUp(&top(), gui::mbLeft, 0, 5000, 50);
  for (int index = 0; index < 3; ++index) EXPECT_GT(top().Child(index)->Width(), 0) << index;
  EXPECT_EQ(Bounds(top()), "2,2 266x300 268,2 1x300 269,2 133x300");
  at(win::WM_LBUTTONUP, top(), 136, 50);
  EXPECT_EQ(top().DragSet, nullptr);
}

TEST_F(FrameBorderDragTest, BordersOfNoResizeFramesStay) {
  write("a.htm", "<p>a");
  write("fixed.htm", "<frameset rows=\"100,*\"><frame src=a.htm noresize><frame src=a.htm></frameset>");
  load("fixed.htm");
  EXPECT_TRUE(top().NoResizeBorder(1));
  // The lower frame's top bevel lies next to the border.
  at(win::WM_MOUSEMOVE, top(), 50, 103);
  EXPECT_EQ(frame(top(), 1).Cursor(), gui::crIBeam);
  at(win::WM_LBUTTONDOWN, top(), 50, 103);
  EXPECT_EQ(top().DragSet, nullptr);
  at(win::WM_LBUTTONUP, top(), 50, 103);
  EXPECT_EQ(Bounds(top()), "2,2 400x100 2,102 400x200");
  // A frame that refuses resizing passes no mouse moves to its set.
  TfvFrame& fixed = frame(top(), 0);
  fixed.SetCursor(gui::crDefault);
  at(win::WM_MOUSEMOVE, top(), 50, 100);
  EXPECT_EQ(fixed.Cursor(), gui::crDefault);
}

TEST_F(FrameBorderDragTest, NestedSetsDragTheirOwnBordersAndPassTheirEdgesOn) {
  write("a.htm", "<p>a");
  write("inner.htm", "<frameset rows=\"*,*\"><frame src=a.htm><frame src=a.htm></frameset>");
  write("outer.htm", "<frameset cols=\"200,*\"><frame src=a.htm><frame src=inner.htm></frameset>");
  load("outer.htm");
  TfvFrame& holder = frame(top(), 1);
  ASSERT_NE(holder.NestedSet(), nullptr);
  TSubFrameSet& inner = *holder.NestedSet();
  ASSERT_EQ(Bounds(inner), "0,0 200x150 0,150 200x150");

  // The inner rows border.
  at(win::WM_MOUSEMOVE, inner, 100, 149);
  EXPECT_EQ(frame(inner, 0).Cursor(), gui::crVSplit);
  at(win::WM_LBUTTONDOWN, inner, 100, 149);
  ASSERT_EQ(top().DragSet, &inner);
  at(win::WM_MOUSEMOVE, inner, 100, 100);
  at(win::WM_LBUTTONUP, inner, 100, 100);
  EXPECT_EQ(Bounds(inner), "0,0 200x100 0,100 200x200");

  // The inner set's left edge is the outer column border.
  at(win::WM_MOUSEMOVE, inner, 1, 50);
  EXPECT_EQ(frame(inner, 0).Cursor(), gui::crHSplit);
  at(win::WM_LBUTTONDOWN, inner, 1, 50);
  ASSERT_EQ(top().DragSet, &top());
  at(win::WM_MOUSEMOVE, inner, -50, 50);
  at(win::WM_LBUTTONUP, inner, -50, 50);
  EXPECT_EQ(top().DragSet, nullptr);
  EXPECT_EQ(Bounds(top()), "2,2 150x300 152,2 250x300");
  EXPECT_EQ(Bounds(inner), "0,0 250x100 0,100 250x200");
}

TEST_F(FrameBorderDragTest, ADocumentReplacedDuringADragFreesThePointer) {
  write("a.htm", "<p>a");
  write("rows.htm", "<frameset rows=\"*,*\"><frame src=a.htm><frame src=a.htm></frameset>");
  load("rows.htm");
  at(win::WM_MOUSEMOVE, top(), 50, 151);
  at(win::WM_LBUTTONDOWN, top(), 50, 151);
  ASSERT_NE(top().DragSet, nullptr);
  load("a.htm");
  win::RECT clip{};
  win::GetClipCursor(&clip);
  EXPECT_EQ(clip.bottom, win::GetSystemMetrics(win::SM_CYSCREEN));
  EXPECT_EQ(top().DragSet, nullptr);
  at(win::WM_LBUTTONUP, top(), 50, 151);
}

}  // namespace
}  // namespace viewer
