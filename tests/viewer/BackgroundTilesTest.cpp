// Background tiles: placement by kind, repetition against the clip, hostile
// offsets and sizes; and a cached background image painted by pixels.
#include "viewer/BackgroundTiles.h"

#include <gtest/gtest.h>

#include <climits>

#include "ViewerTestSupport.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/TBitmap.h"

namespace viewer {
namespace {

engine::TBackgroundAxis Axis(int kind, int value, bool repeat) {
  engine::TBackgroundAxis axis;
  axis.PosType = kind;
  axis.Value = value;
  axis.RepeatD = repeat;
  return axis;
}

TEST(BackgroundTiles, StartsByKind) {
  EXPECT_EQ(TileStart(0, 0, 382, 10, 0), 0);
  EXPECT_EQ(TileStart(3, 0, 382, 10, 5), -5);
  EXPECT_EQ(TileStart(1, 0, 382, 10, 0), 186);
  EXPECT_EQ(TileStart(4, 0, 382, 10, 0), 372);
  EXPECT_EQ(TileStart(2, 0, 1000, 10, 702), 288);  // bottom, scrolled by 702
  EXPECT_EQ(TileStart(5, 50, 110, 10, 0), 50);
  EXPECT_EQ(TileStart(6, 33, 110, 10, 3), 30);
}

TEST(BackgroundTiles, HostileValuesStayBounded) {
  EXPECT_EQ(TileStart(5, INT_MAX, INT_MAX, -5, INT_MIN), 1 << 30);
  EXPECT_EQ(TileStart(6, INT_MIN, 0, 0, INT_MAX), -(1 << 30));
  // Repeating from a start far away lands next to the clip edge.
  const TileRun far = TileAxis(Axis(6, INT_MAX, true), 100, 7, 0, 0, 50);
  EXPECT_LE(far.start, 0);
  EXPECT_GT(far.start, -7);
  EXPECT_EQ(far.end, 50);
  const TileRun before = TileAxis(Axis(6, INT_MIN, true), 100, 7, 0, 0, 50);
  EXPECT_LE(before.start, 0);
  EXPECT_GT(before.start, -7);
  // A zero-sized image yields no tiles and no endless loop.
  const TileRun empty = TileAxis(Axis(0, 0, true), 100, 0, 0, 0, 50);
  EXPECT_GE(empty.start, empty.end);
}

TEST(BackgroundTiles, NoRepeatDrawsOnceWhenItMeetsTheClip) {
  const TileRun meets = TileAxis(Axis(4, 0, false), 382, 10, 0, 300, 400);
  EXPECT_EQ(meets.start, 372);
  EXPECT_EQ(meets.end, 373);
  const TileRun misses = TileAxis(Axis(4, 0, false), 382, 10, 0, 0, 100);
  EXPECT_EQ(misses.start, misses.end);
}

class BackgroundPaint : public viewertest::ViewerTest {};

TEST_F(BackgroundPaint, CachedImageIsPlacedRightBottom) {
  view().SetBorderStyle(htSingle);
  load(tallDocument(60));
  ASSERT_NE(view().ImageCache(), nullptr);
  auto bitmap = std::make_unique<gui::TBitmap>();
  bitmap->SetPixelFormat(gui::pf24bit);
  bitmap->SetSize(10, 10);
  bitmap->Canvas().Brush().SetColor(0x0000FF);  // red
  bitmap->Canvas().FillRect({0, 0, 10, 10});
  view().ImageCache()->AddObject(
      "back.png", new images::TBitmapItem(std::move(bitmap), nullptr, images::mkNone));
  engine::TSectionList& document = view().Document();
  document.BackgroundImageName = "back.png";
  document.BackgroundImageLoaded = true;
  document.BackgroundPos.X = Axis(4, 0, false);
  document.BackgroundPos.Y = Axis(2, 0, false);
  view().SetVerticalPosition(view().DocumentHeight());
  pump();
  const int panelWidth = view().PaintPanel().Width();
  const int panelHeight = view().PaintPanel().Height();
  // Bottom right of the document, seen at the bottom right of the panel (+1 for the border).
  const int x = panelWidth - 10 + 1;
  const int y = view().DocumentHeight() - 10 - view().VerticalPosition() + 1;
  ASSERT_LT(y, panelHeight);
  EXPECT_EQ(pixel(x, y) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixel(x + 9, y + 9) & 0xFFFFFF, 0xFF0000u);
  EXPECT_NE(pixel(x - 1, y) & 0xFFFFFF, 0xFF0000u);
  EXPECT_NE(pixel(x, y - 1) & 0xFFFFFF, 0xFF0000u);
  EXPECT_FALSE(view().BackgroundFixed());
}

}  // namespace
}  // namespace viewer
