// Repaints made while an update batch is open are painted once, when it is
// flushed, after every invalidation made in between.
#include <gtest/gtest.h>

#include <map>

#include "platform/gui/TCustomPanel.h"
#include "platform/gui/UpdateBatch.h"
#include "tests/platform/GuiControlTestSupport.h"

namespace gui {
namespace {

std::map<const TControl*, int> paints;

class TCountingPanel : public TPanel {
 public:
  using TPanel::TPanel;

 protected:
  void Paint() override {
    ++paints[this];
    TPanel::Paint();
  }
};

class GuiUpdateBatch : public guitest::GuiControlTest {
 protected:
  void SetUp() override {
    GuiControlTest::SetUp();
    outer = panel(form(), 10, 10, 100, 80, clRed);
    inner = panel(*outer, 5, 5, 50, 40, clBlue);
    pump();
    paints.clear();
  }
  TCountingPanel* panel(TWinControl& parent, int left, int top, int width, int height, TColor color) {
    auto* made = new TCountingPanel(&form());
    made->SetParent(&parent);
    made->SetBounds(left, top, width, height);
    made->SetBevelOuter(bvNone);
    made->SetColor(color);
    return made;
  }
  TCountingPanel* outer = nullptr;
  TCountingPanel* inner = nullptr;
};

TEST_F(GuiUpdateBatch, RepaintsArePaintedOnceAtTheFlush) {
  {
    UpdateBatch batch;
    inner->Repaint();
    outer->Repaint();
    inner->Repaint();
    outer->SetColor(clLime);
    EXPECT_TRUE(paints.empty());
    EXPECT_EQ(pixel(12, 12), 0xFF0000u);
    batch.Flush();
  }
  // The child comes after its parent, which may cover it, and only once.
  EXPECT_EQ(paints[outer], 1);
  EXPECT_EQ(paints[inner], 1);
  EXPECT_EQ(pixel(12, 12), 0x00FF00u);
  EXPECT_EQ(pixel(20, 20), 0x0000FFu);
  // Without a batch, each Repaint paints at once.
  paints.clear();
  inner->Repaint();
  inner->Repaint();
  EXPECT_EQ(paints[inner], 2);
}

TEST_F(GuiUpdateBatch, OnlyTheOutermostBatchPaints) {
  UpdateBatch outerBatch;
  {
    UpdateBatch innerBatch;
    inner->Repaint();
    innerBatch.Flush();
    EXPECT_TRUE(paints.empty());
  }
  outerBatch.Flush();
  EXPECT_EQ(paints[inner], 1);
}

TEST_F(GuiUpdateBatch, ABatchLeftWithoutFlushLeavesThePaintToTheMessageLoop) {
  {
    UpdateBatch batch;
    outer->SetColor(clLime);
    outer->Repaint();
  }
  EXPECT_TRUE(paints.empty());
  pump();
  EXPECT_EQ(paints[outer], 1);
  EXPECT_EQ(pixel(12, 12), 0x00FF00u);
  // The next batch does not paint what the last one noted.
  paints.clear();
  UpdateBatch next;
  next.Flush();
  EXPECT_TRUE(paints.empty());
}

TEST_F(GuiUpdateBatch, AWindowDestroyedBeforeTheFlushIsLeftOut) {
  UpdateBatch batch;
  inner->Repaint();
  outer->Repaint();
  delete outer;  // and its child with it
  paints.clear();
  batch.Flush();
  EXPECT_TRUE(paints.empty());
}

}  // namespace
}  // namespace gui
