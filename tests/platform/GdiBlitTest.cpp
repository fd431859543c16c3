#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "tests/platform/GdiTestCanvas.h"

namespace win {
namespace {

using gditest::Canvas;
using gditest::kBlack;
using gditest::kWhite;

TEST(GdiBlit, RasterOperationsCombineSourceAndDestination) {
  const COLORREF src = RGB(0xF0, 0x0F, 0x33), dst = RGB(0xAA, 0x55, 0x0F), brush = RGB(0x12, 0x34, 0x56);
  struct Case {
    DWORD rop;
    COLORREF expected;
  };
  const Case cases[] = {
      {SRCCOPY, src},
      {SRCAND, src & dst},
      {SRCPAINT, src | dst},
      {SRCINVERT, src ^ dst},
      {SRCERASE, src & (~dst & 0xFFFFFF)},
      {NOTSRCCOPY, ~src & 0xFFFFFF},
      {NOTSRCERASE, ~(src | dst) & 0xFFFFFF},
      {MERGEPAINT, (~src | dst) & 0xFFFFFF},
      {DSTINVERT, ~dst & 0xFFFFFF},
      {PATCOPY, brush},
      {PATINVERT, brush ^ dst},
      {MERGECOPY, brush & src},
      {BLACKNESS, kBlack},
      {WHITENESS, kWhite},
  };
  Canvas source(2, 2, false, src);
  const HBRUSH pattern = CreateSolidBrush(brush);
  for (const Case& c : cases) {
    Canvas target(2, 2, false, dst);
    SelectObject(target.dc, pattern);
    EXPECT_TRUE(BitBlt(target.dc, 0, 0, 1, 1, source.dc, 0, 0, c.rop));
    EXPECT_EQ(target.at(0, 0), c.expected) << std::hex << c.rop;
    EXPECT_EQ(target.at(1, 0), dst);
    SelectObject(target.dc, GetStockObject(WHITE_BRUSH));
  }
  DeleteObject(pattern);
}

TEST(GdiBlit, MonochromeSourcePaintsTextAndBackgroundColours) {
  Canvas mono(2, 1, true, kBlack);
  mono.set(1, 0, kWhite);
  Canvas target(2, 1);
  SetTextColor(target.dc, RGB(200, 0, 0));
  SetBkColor(target.dc, RGB(0, 0, 200));
  BitBlt(target.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(target.at(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(target.at(1, 0), RGB(0, 0, 200));
}

TEST(GdiBlit, ColourToMonochromeMarksTheSourceBackgroundWhite) {
  Canvas colour(3, 1);
  colour.set(0, 0, RGB(1, 2, 3));
  colour.set(1, 0, RGB(9, 9, 9));
  colour.set(2, 0, RGB(1, 2, 3));
  SetBkColor(colour.dc, RGB(1, 2, 3));
  Canvas mono(3, 1, true, kBlack);
  BitBlt(mono.dc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(mono.at(0, 0), kWhite);
  EXPECT_EQ(mono.at(1, 0), kBlack);
  EXPECT_EQ(mono.at(2, 0), kWhite);
}

TEST(GdiBlit, MaskedDrawingWithAndThenInvert) {
  // The classic transparency trick: AND with a mask, then XOR the image.
  Canvas target(2, 1, false, RGB(50, 60, 70));
  Canvas mask(2, 1, true, kBlack);  // black: opaque, white: transparent
  mask.set(1, 0, kWhite);
  Canvas image(2, 1, false, kBlack);
  image.set(0, 0, RGB(200, 100, 0));
  SetTextColor(target.dc, kBlack);
  SetBkColor(target.dc, kWhite);
  BitBlt(target.dc, 0, 0, 2, 1, mask.dc, 0, 0, SRCAND);
  BitBlt(target.dc, 0, 0, 2, 1, image.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(target.at(0, 0), RGB(200, 100, 0));
  EXPECT_EQ(target.at(1, 0), RGB(50, 60, 70));
}

TEST(GdiBlit, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
  Canvas canvas(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) canvas.set(x, y, RGB(x, y, 0));
  BitBlt(canvas.dc, 1, 1, 3, 3, canvas.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.at(3, 3), RGB(2, 2, 0));
  EXPECT_EQ(canvas.at(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(0, 3), RGB(0, 3, 0));
}

TEST(GdiBlit, StretchBltMirrorsAndScales) {
  Canvas source(2, 1);
  source.set(0, 0, RGB(255, 0, 0));
  source.set(1, 0, RGB(0, 0, 255));
  Canvas target(4, 1);
  SetStretchBltMode(target.dc, COLORONCOLOR);
  StretchBlt(target.dc, 0, 0, 4, 1, source.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(target.at(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(target.at(2, 0), RGB(0, 0, 255));
  StretchBlt(target.dc, 4, 0, -4, 1, source.dc, 0, 0, 2, 1, SRCCOPY);  // mirrored onto [0, 4)
  EXPECT_EQ(target.at(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(target.at(3, 0), RGB(255, 0, 0));
}

TEST(GdiBlit, ShrinkingCombinesPixelsByStretchMode) {
  Canvas source(2, 1);
  source.set(0, 0, RGB(200, 0, 100));
  source.set(1, 0, RGB(100, 50, 0));
  struct Case {
    int mode;
    COLORREF expected;
  };
  for (const Case c : {Case{BLACKONWHITE, RGB(200 & 100, 0, 0)}, Case{WHITEONBLACK, RGB(200 | 100, 50, 100)},
                       Case{HALFTONE, RGB(150, 25, 50)}, Case{COLORONCOLOR, RGB(100, 50, 0)}}) {
    Canvas target(1, 1);
    SetStretchBltMode(target.dc, c.mode);
    StretchBlt(target.dc, 0, 0, 1, 1, source.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(target.at(0, 0), c.expected) << c.mode;
  }
}

TEST(GdiBlit, SourceOutsideItsBitmapLeavesTheDestination) {
  Canvas source(2, 2, false, kBlack);
  Canvas target(4, 4);
  BitBlt(target.dc, 0, 0, 4, 4, source.dc, -1, -1, SRCCOPY);
  EXPECT_EQ(target.at(0, 0), kWhite);
  EXPECT_EQ(target.at(1, 1), kBlack);
  EXPECT_EQ(target.at(2, 2), kBlack);
  EXPECT_EQ(target.at(3, 3), kWhite);
  EXPECT_FALSE(BitBlt(target.dc, 0, 0, 1, 1, 0, 0, 0, SRCCOPY));
  EXPECT_TRUE(PatBlt(target.dc, 0, 0, 1, 1, BLACKNESS));
  EXPECT_FALSE(PatBlt(target.dc, 0, 0, 1, 1, SRCCOPY));  // needs a source
}

TEST(GdiBlit, PatBltAcceptsNegativeSizesAndHonoursTheClip) {
  Canvas target(6, 1);
  ExcludeClipRect(target.dc, 2, 0, 3, 1);
  PatBlt(target.dc, 5, 0, -4, 1, BLACKNESS);
  EXPECT_EQ(target.at(0, 0), kWhite);
  EXPECT_EQ(target.at(1, 0), kBlack);
  EXPECT_EQ(target.at(2, 0), kWhite);
  EXPECT_EQ(target.at(4, 0), kBlack);
  EXPECT_EQ(target.at(5, 0), kWhite);
}

}  // namespace
}  // namespace win
