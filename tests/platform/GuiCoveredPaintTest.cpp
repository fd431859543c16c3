// A window leaves unpainted what a child or a sibling stacked above it,
// painted after it in the same paint, covers completely: the pixels that show
// are the same.
#include <gtest/gtest.h>

#include "platform/gui/TCustomPanel.h"
#include "tests/platform/GuiControlTestSupport.h"

namespace gui {
namespace {

class TProbePanel : public TPanel {
 public:
  using TPanel::TPanel;
  using TWinControl::UncoveredBands;
};

int Area(const win::RECT (&bands)[4], int count) {
  int area = 0;
  for (int i = 0; i < count; ++i) area += (bands[i].right - bands[i].left) * (bands[i].bottom - bands[i].top);
  return area;
}

class GuiCoveredPaint : public guitest::GuiControlTest {
 protected:
  TProbePanel* panel(TWinControl& parent, int left, int top, int width, int height, TColor color) {
    auto* made = new TProbePanel(&form());
    made->SetParent(&parent);
    made->SetBounds(left, top, width, height);
    made->SetBevelOuter(bvNone);
    made->SetColor(color);
    return made;
  }
  void repaint() {
    form().Repaint();
    pump();
  }
};

TEST_F(GuiCoveredPaint, ChildrenCoverTheirParentsFill) {
  TProbePanel* outer = panel(form(), 10, 10, 100, 80, clRed);
  TProbePanel* inner = panel(*outer, 5, 5, 90, 70, clBlue);
  TProbePanel* whole = panel(*inner, 0, 0, 90, 70, clLime);
  repaint();
  win::RECT bands[4];
  EXPECT_EQ(inner->UncoveredBands(inner->ClientRect(), bands), 0);
  const int ring = outer->UncoveredBands(outer->ClientRect(), bands);
  EXPECT_EQ(ring, 4);
  EXPECT_EQ(Area(bands, ring), 100 * 80 - 90 * 70);
  EXPECT_EQ(pixel(12, 12), 0xFF0000u);
  EXPECT_EQ(pixel(50, 50), 0x00FF00u);
  // A hidden child covers nothing: the parent's own colour shows again.
  whole->Hide();
  repaint();
  EXPECT_EQ(inner->UncoveredBands(inner->ClientRect(), bands), 1);
  EXPECT_EQ(pixel(50, 50), 0x0000FFu);
  // A child with a frame leaves it to the window system: not counted.
  whole->SetBorderStyle(bsSingle);
  whole->Show();
  repaint();
  EXPECT_EQ(inner->UncoveredBands(inner->ClientRect(), bands), 1);
}

TEST_F(GuiCoveredPaint, SiblingsAboveCoverTheWindowsBelow) {
  TProbePanel* lower = panel(form(), 10, 10, 100, 80, clRed);
  TProbePanel* upper = panel(form(), 10, 10, 100, 80, clBlue);
  upper->BringToFront();
  repaint();
  win::RECT bands[4];
  EXPECT_EQ(lower->UncoveredBands(lower->ClientRect(), bands), 0);
  EXPECT_EQ(upper->UncoveredBands(upper->ClientRect(), bands), 1);
  EXPECT_EQ(pixel(50, 50), 0x0000FFu);
  lower->Repaint();
  pump();
  EXPECT_EQ(pixel(50, 50), 0x0000FFu);
  upper->SendToBack();
  repaint();
  EXPECT_EQ(lower->UncoveredBands(lower->ClientRect(), bands), 1);
  EXPECT_EQ(pixel(50, 50), 0xFF0000u);
  // Half covered: only the other half is the window's own.
  upper->BringToFront();
  upper->SetBounds(60, 10, 100, 80);
  repaint();
  ASSERT_EQ(lower->UncoveredBands(lower->ClientRect(), bands), 1);
  EXPECT_EQ(Area(bands, 1), 50 * 80);
  EXPECT_EQ(pixel(30, 50), 0xFF0000u);
  EXPECT_EQ(pixel(80, 50), 0x0000FFu);
}

}  // namespace
}  // namespace gui
