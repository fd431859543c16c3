#pragma once
// A frame viewer on a shown form, on a virtual clock, with documents written
// to a folder of the test's own and mouse input at text positions of a
// frame's viewer.
#include "FrameLayoutTestSupport.h"
#include "engine/document/TSectionList.h"
#include "platform/win/user/Input.h"
#include "viewer/THTMLViewer.h"

namespace viewertest {

class FrameViewerFixture : public viewer::FrameViewerTest {
 protected:
  viewer::THTMLViewer& frame(const std::string& name) {
    viewer::THTMLViewer* viewer = fv().FrameViewerByName(name);
    EXPECT_NE(viewer, nullptr) << name;
    return *viewer;
  }
  // A point on the text at a document position of a viewer, in screen terms.
  static win::POINT screenPointOf(viewer::THTMLViewer& viewer, int position) {
    int x = 0, y = 0;
    EXPECT_TRUE(viewer.Document().FindCaretXY(&viewer.PaintPanel().Canvas(), position, x, y));
    return viewer.PaintPanel().ClientToScreen({x + 2, y + 4 - viewer.VerticalPosition()});
  }
  // A second click at the same place comes too late to make a double click.
  void click(viewer::THTMLViewer& viewer, int position) {
    clock_->advance(1000);
    const win::POINT point = screenPointOf(viewer, position);
    win::postMouseInput(win::WM_LBUTTONDOWN, point);
    win::postMouseInput(win::WM_LBUTTONUP, point);
    pump();
  }
  static void hover(viewer::THTMLViewer& viewer, int position) {
    win::postMouseInput(win::WM_MOUSEMOVE, screenPointOf(viewer, position));
    pump();
  }
};

}  // namespace viewertest
