// Form controls and panels of a document: parked out of view until a paint
// places them, and hidden again after a scroll.
#include <gtest/gtest.h>

#include "platform/gui/TWinControl.h"
#include "tests/engine/document/DocumentFixtures.h"

namespace engine {
namespace {

using namespace engine::testing;

class FakeControl : public IDocumentControl {
 public:
  gui::TWinControl* WindowControl() override { return &window; }
  void SizeFromFont(gui::TCanvas*) override { ++sized; }
  gui::TWinControl window{nullptr};
  int sized = 0;
};

class FakePanel : public IDocumentPanel {
 public:
  gui::TWinControl* Panel() override { return &window; }
  gui::TWinControl window{nullptr};
};

TEST(ParkedControls, ControlsWaitAtMinus4000AndUnplacedPanelsHideAfterAScroll) {
  gui::TWinControl viewer(nullptr);
  viewer.Show();
  TSectionList root(&viewer, nullptr);
  FakeControl control;
  FakePanel panel;
  panel.window.Show();
  root.FormControlList.push_back(&control);
  root.PanelList.push_back(&panel);
  LayOut(root, 300);
  EXPECT_EQ(control.sized, 1);
  EXPECT_TRUE(control.window.Visible());
  EXPECT_EQ(control.window.Left(), -4000);
  control.window.SetLeft(20);
  control.ShownFlag = true;
  root.SetYOffset(100);
  EXPECT_FALSE(control.ShownFlag);
  root.PaintContent(nullptr, win::RECT{0, 0, 300, 300}, 6000, 0, 0, 0, 0);
  EXPECT_EQ(control.window.Left(), -4000);
  EXPECT_FALSE(panel.window.Visible());
}

TEST(ParkedControls, NothingMovesWhileTheViewerIsHidden) {
  gui::TWinControl viewer(nullptr);
  viewer.Hide();
  TSectionList root(&viewer, nullptr);
  FakeControl control;
  control.window.SetLeft(20);
  root.FormControlList.push_back(&control);
  LayOut(root, 300);
  EXPECT_EQ(control.window.Left(), 20);
}

}  // namespace
}  // namespace engine
