// The border painter and 3-D frames, by pixels on a 24-bit bitmap.
#include <gtest/gtest.h>

#include "engine/document/TSectionList.h"
#include "engine/paint/BorderPainter.h"
#include "engine/paint/Frames3D.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/user/SystemColors.h"

namespace engine {
namespace {

constexpr gui::TColor kWhite = 0xFFFFFF;
constexpr gui::TColor kRed = 0x0000FF;
constexpr gui::TColor kGreen = 0x00FF00;

class BorderPainter : public ::testing::Test {
 protected:
  void SetUp() override {
    bitmap_.SetPixelFormat(gui::pf24bit);
    bitmap_.SetSize(60, 60);
    canvas().Brush().SetColor(kWhite);
    canvas().FillRect(win::RECT{0, 0, 60, 60});
  }
  gui::TCanvas& canvas() { return bitmap_.Canvas(); }
  win::COLORREF At(int x, int y) { return canvas().Pixels(x, y); }
  void Paint(win::RECT outer, win::RECT inner, std::uint8_t style, gui::TColor colour,
             gui::TColor background = gui::clNone) {
    PaintBorderSides(canvas(), outer, inner, false, background, MakeSideStyles(style, style, style, style),
                     MakeSideColors(colour, colour, colour, colour));
  }

  gui::TBitmap bitmap_;
};

TEST_F(BorderPainter, OnePixelSolidSidesCloseAFrame) {
  Paint({0, 0, 10, 10}, {1, 1, 9, 9}, bssSolid, kRed);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(At(i, 0), kRed) << i;
    EXPECT_EQ(At(9, i), kRed) << i;
    EXPECT_EQ(At(0, i), kRed) << i;
    EXPECT_EQ(At(i, 9), kRed) << i;
  }
  EXPECT_EQ(At(5, 5), kWhite);
  EXPECT_EQ(At(1, 1), kWhite);
  EXPECT_EQ(At(10, 10), kWhite);
}

TEST_F(BorderPainter, DoubleSidesKeepThirdsWithTheBackgroundBetween) {
  Paint({0, 0, 40, 40}, {5, 5, 35, 35}, bssDouble, kRed, kGreen);
  // Width 5: bands of 2, a gap of 1.
  EXPECT_EQ(At(0, 20), kRed);
  EXPECT_EQ(At(1, 20), kRed);
  EXPECT_EQ(At(2, 20), kGreen);
  EXPECT_EQ(At(3, 20), kRed);
  EXPECT_EQ(At(4, 20), kRed);
  EXPECT_EQ(At(5, 20), kWhite);
  SetUp();
  Paint({0, 0, 40, 40}, {4, 4, 36, 36}, bssDouble, kRed);
  // Width 4: bands of 1, a gap of 2.
  EXPECT_EQ(At(20, 0), kRed);
  EXPECT_EQ(At(20, 1), kWhite);
  EXPECT_EQ(At(20, 2), kWhite);
  EXPECT_EQ(At(20, 3), kRed);
}

TEST_F(BorderPainter, GrooveAndRidgeShadeTheirHalves) {
  gui::TColor dark = DarkenColor(kWhite);
  Paint({0, 0, 20, 20}, {2, 2, 18, 18}, bssGroove, kWhite);
  EXPECT_EQ(At(10, 0), dark);
  EXPECT_EQ(At(10, 1), kWhite);
  EXPECT_EQ(At(10, 19), kWhite);
  EXPECT_EQ(At(10, 18), dark);
  SetUp();
  Paint({0, 0, 20, 20}, {2, 2, 18, 18}, bssRidge, kWhite);
  EXPECT_EQ(At(10, 0), kWhite);
  EXPECT_EQ(At(10, 1), dark);
}

TEST_F(BorderPainter, InsetAndOutsetDarkenOppositeSides) {
  gui::TColor colour = win::RGB(200, 100, 40);
  gui::TColor dark = DarkenColor(colour);
  Paint({0, 0, 20, 20}, {3, 3, 17, 17}, bssInset, colour);
  EXPECT_EQ(At(1, 10), dark);
  EXPECT_EQ(At(18, 10), colour);
  SetUp();
  Paint({0, 0, 20, 20}, {3, 3, 17, 17}, bssOutset, colour);
  EXPECT_EQ(At(10, 1), colour);
  EXPECT_EQ(At(10, 18), dark);
}

TEST_F(BorderPainter, DashedAndDottedSidesDrawAlongTheMiddle) {
  Paint({0, 0, 50, 50}, {4, 4, 46, 46}, bssDashed, kRed, kGreen);
  int red = 0;
  int green = 0;
  for (int x = 0; x < 50; ++x) {
    red += At(x, 2) == kRed;
    green += At(x, 2) == kGreen;
  }
  EXPECT_GT(red, 10);
  EXPECT_GT(green, 0);  // gaps show the background
  EXPECT_EQ(At(25, 25), kWhite);
  SetUp();
  PaintBorderSides(canvas(), {0, 0, 50, 50}, {4, 4, 46, 46}, false, gui::clNone,
                   MakeSideStyles(bssDotted, bssDotted, bssNone, bssNone), MakeSideColors(kRed, kRed, kRed, kRed));
  EXPECT_EQ(At(48, 25), kWhite);  // the right side has no style
}

TEST_F(BorderPainter, VeryTallBoxesAreClampedAndSidesWithoutColourSkipped) {
  Paint({0, -1000, 30, 20000}, {2, -998, 28, 19998}, bssSolid, kRed);
  EXPECT_EQ(At(0, 30), kRed);
  EXPECT_EQ(At(29, 59), kRed);
  SetUp();
  Paint({0, 0, 20, 20}, {2, 2, 18, 18}, bssSolid, gui::clNone);
  EXPECT_EQ(At(0, 10), kWhite);
}

TEST(BorderColors, DarkenColorTakesThreeQuarters) {
  EXPECT_EQ(DarkenColor(0xFFFFFF), win::RGB(191, 191, 191));
  EXPECT_EQ(DarkenColor(win::RGB(2, 6, 10)), win::RGB(2, 5, 8));  // halves round away from zero
  win::COLORREF face = win::GetSysColor(win::COLOR_BTNFACE) & 0xFFFFFF;
  EXPECT_EQ(DarkenColor(gui::clBtnFace), DarkenColor(face));
}

TEST_F(BorderPainter, ThinAndWideFramesTakeTheirColoursBySide) {
  gui::TColor dark = win::RGB(10, 10, 10);
  gui::TColor light = win::RGB(240, 240, 240);
  ThinFrame3D(canvas(), 0, 0, 10, 10, false, dark, light);
  EXPECT_EQ(At(0, 0), dark);
  EXPECT_EQ(At(0, 10), dark);
  EXPECT_EQ(At(10, 0), light);
  EXPECT_EQ(At(10, 10), light);
  SetUp();
  ColoredFrame3D(nullptr, canvas(), 10, 3, false, dark, light, 20, 40, 50);
  EXPECT_EQ(At(8, 30), dark);   // outer left edge at 10 - 3 + 1
  EXPECT_EQ(At(7, 30), kWhite);
  EXPECT_EQ(At(42, 30), light);  // right band ends before 40 + 3
  EXPECT_EQ(At(11, 30), kWhite);
  SetUp();
  ColoredFrame3D(nullptr, canvas(), 10, 3, true, dark, light, 20, 40, 50);
  EXPECT_EQ(At(8, 30), light);
}

TEST_F(BorderPainter, DocumentFrameIsSilverOnWhiteAndWhenPrinting) {
  TSectionList root(nullptr, nullptr);
  root.Background = 0xFFFFFF;
  DocumentFrame3D(&root, canvas(), 10, 2, true, 10, 40, 40);
  EXPECT_EQ(At(10, 20), gui::clSilver);  // raised: light left
  SetUp();
  root.Background = win::RGB(0, 0, 128);
  DocumentFrame3D(&root, canvas(), 10, 2, true, 10, 40, 40);
  EXPECT_EQ(At(10, 20), win::GetSysColor(win::COLOR_BTNHIGHLIGHT) & 0xFFFFFF);
  SetUp();
  root.Printing = true;
  DocumentFrame3D(&root, canvas(), 10, 2, true, 10, 40, 40);
  EXPECT_EQ(At(10, 20), gui::clSilver);
}

TEST_F(BorderPainter, ControlFrameFillsAndRestoresThePen) {
  canvas().Pen().SetColor(kGreen);
  DrawControlFrame3D(canvas(), 5, 5, 30, 20, kRed, false, false, true);
  EXPECT_EQ(At(15, 12), kRed);
  EXPECT_EQ(At(5, 12), gui::clSilver);
  EXPECT_EQ(canvas().Pen().Color(), kGreen);
}

}  // namespace
}  // namespace engine
