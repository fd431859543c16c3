#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "tests/platform/GdiTestCanvas.h"

namespace win {
namespace {

using gditest::Canvas;
using gditest::kBlack;
using gditest::kWhite;

TEST(GdiMapping, AnisotropicRectangleLandsOnScaledDevicePixels) {
  Canvas canvas(40, 40);
  SetMapMode(canvas.dc, MM_ANISOTROPIC);
  SetWindowOrgEx(canvas.dc, 100, 100, nullptr);
  SetWindowExtEx(canvas.dc, 10, 10, nullptr);
  SetViewportOrgEx(canvas.dc, 5, 5, nullptr);
  SetViewportExtEx(canvas.dc, 20, 30, nullptr);  // x2 across, x3 down
  RECT r{101, 102, 106, 108};
  FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.blackBounds(), (RECT{7, 11, 17, 29}));
  POINT p{106, 108};
  LPtoDP(canvas.dc, &p, 1);
  EXPECT_EQ(p, (POINT{17, 29}));
  DPtoLP(canvas.dc, &p, 1);
  EXPECT_EQ(p, (POINT{106, 108}));
}

TEST(GdiMapping, FlippedAxisStillFillsTheSameNormalisedRectangle) {
  Canvas canvas(20, 20);
  SetMapMode(canvas.dc, MM_ANISOTROPIC);
  SetWindowExtEx(canvas.dc, 1, 1, nullptr);
  SetViewportExtEx(canvas.dc, 1, -1, nullptr);
  SetViewportOrgEx(canvas.dc, 0, 20, nullptr);  // y up from the bottom
  RECT r{2, 3, 5, 7};
  FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.blackBounds(), (RECT{2, 13, 5, 17}));
}

TEST(GdiMapping, ClipRectanglesAreLogicalAndClipRegionsDevice) {
  Canvas canvas(40, 40);
  SetMapMode(canvas.dc, MM_ANISOTROPIC);
  SetWindowExtEx(canvas.dc, 1, 1, nullptr);
  SetViewportExtEx(canvas.dc, 2, 2, nullptr);
  IntersectClipRect(canvas.dc, 0, 0, 5, 5);  // device 0..10
  RECT all{0, 0, 100, 100};
  FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.blackBounds(), (RECT{0, 0, 10, 10}));
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 5, 5}));

  const HRGN device = CreateRectRgn(20, 20, 24, 24);
  SelectClipRgn(canvas.dc, device);
  FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  EXPECT_EQ(canvas.at(20, 20), RGB(128, 128, 128));
  EXPECT_EQ(canvas.at(24, 24), kWhite);
  EXPECT_EQ(canvas.at(5, 5), kBlack);
  const HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(canvas.dc, copy), 1);
  EXPECT_TRUE(EqualRgn(copy, device));
  SelectClipRgn(canvas.dc, 0);
  EXPECT_EQ(GetClipRgn(canvas.dc, copy), 0);
  DeleteObject(device);
  DeleteObject(copy);
}

TEST(GdiMapping, ExcludeAndOffsetClip) {
  Canvas canvas(10, 1);
  ExcludeClipRect(canvas.dc, 2, 0, 4, 1);
  OffsetClipRgn(canvas.dc, 1, 0);  // the hole moves to 3..5, the area to 1..11
  PatBlt(canvas.dc, 0, 0, 10, 1, BLACKNESS);
  EXPECT_EQ(canvas.at(0, 0), kWhite);
  EXPECT_EQ(canvas.at(1, 0), kBlack);
  EXPECT_EQ(canvas.at(2, 0), kBlack);
  EXPECT_EQ(canvas.at(3, 0), kWhite);
  EXPECT_EQ(canvas.at(4, 0), kWhite);
  EXPECT_EQ(canvas.at(5, 0), kBlack);
  const HRGN region = CreateRectRgn(0, 0, 3, 1);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, region, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, 0, RGN_AND), ERROR);
  DeleteObject(region);
}

TEST(GdiMapping, IsotropicModeKeepsOneScale) {
  Canvas canvas(4, 4);
  SetMapMode(canvas.dc, MM_ISOTROPIC);
  SetWindowExtEx(canvas.dc, 100, 100, nullptr);
  SetViewportExtEx(canvas.dc, 200, 50, nullptr);
  SIZE extent;
  GetViewportExtEx(canvas.dc, &extent);
  EXPECT_EQ(extent, (SIZE{50, 50}));
  EXPECT_EQ(SetMapMode(canvas.dc, MM_TEXT), MM_ISOTROPIC);
  GetViewportExtEx(canvas.dc, &extent);
  EXPECT_EQ(extent, (SIZE{1, 1}));
  EXPECT_EQ(SetMapMode(canvas.dc, 3), 0);  // unsupported modes are refused
}

TEST(GdiMapping, IsotropicFitsWhicheverExtentIsSetLast) {
  Canvas canvas(4, 4);
  SetMapMode(canvas.dc, MM_ISOTROPIC);
  // Viewport first: against the unit window it is already square.
  SetViewportExtEx(canvas.dc, 200, 50, nullptr);
  SetWindowExtEx(canvas.dc, 100, 50, nullptr);
  SIZE extent;
  GetViewportExtEx(canvas.dc, &extent);
  EXPECT_EQ(extent, (SIZE{50, 25}));
  // One logical unit is the same length on both axes.
  POINT corner{100, 100};
  ASSERT_TRUE(LPtoDP(canvas.dc, &corner, 1));
  EXPECT_EQ(corner.x, corner.y);
  EXPECT_EQ(corner.x, 50);
}

TEST(GdiMapping, WindowDcDrawsAtItsOriginWithinItsVisibleBounds) {
  Surface surface;
  ASSERT_TRUE(allocateSurface(surface, 20, 20, 0xFFFFFF));
  const HDC dc = createDeviceContextForSurface(&surface, POINT{5, 5}, RECT{5, 5, 12, 12}, 24);
  RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(surface.rowPtr(4)[4], 0xFFFFFFu);
  EXPECT_EQ(surface.rowPtr(5)[5], 0u);
  EXPECT_EQ(surface.rowPtr(11)[11], 0u);
  EXPECT_EQ(surface.rowPtr(12)[12], 0xFFFFFFu);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{0, 0, 7, 7}));
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 24);
  releaseDeviceContext(dc);
  EXPECT_EQ(dcFromHandle(dc), nullptr);
}

TEST(GdiState, RestoreDcBringsBackAttributesObjectsAndClip) {
  Canvas canvas(4, 4);
  const HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  SetTextColor(canvas.dc, RGB(1, 2, 3));
  const int level = SaveDC(canvas.dc);
  EXPECT_EQ(level, 1);
  SelectObject(canvas.dc, red);
  SetTextColor(canvas.dc, RGB(9, 9, 9));
  SetBkMode(canvas.dc, TRANSPARENT);
  IntersectClipRect(canvas.dc, 0, 0, 1, 1);
  SetWindowOrgEx(canvas.dc, 3, 3, nullptr);
  EXPECT_EQ(SaveDC(canvas.dc), 2);
  EXPECT_TRUE(RestoreDC(canvas.dc, -2));
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  POINT origin;
  GetWindowOrgEx(canvas.dc, &origin);
  EXPECT_EQ(origin, (POINT{0, 0}));
  EXPECT_EQ(GetClipRgn(canvas.dc, CreateRectRgn(0, 0, 0, 0)), 0);
  EXPECT_FALSE(RestoreDC(canvas.dc, 1));  // nothing saved any more
  EXPECT_TRUE(DeleteObject(red));         // no longer selected
}

TEST(GdiState, RestoringAStateWhoseObjectsWereDeletedFallsBackToStock) {
  Canvas canvas(2, 2);
  const HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
  SelectObject(canvas.dc, brush);
  SaveDC(canvas.dc);
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(DeleteObject(brush));
  RestoreDC(canvas.dc, -1);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(Rectangle(canvas.dc, 0, 0, 2, 2));
}

TEST(GdiState, TextJustificationSpreadsTheRemainderOverTheFirstBreaks) {
  Canvas canvas(1, 1);
  SetTextJustification(canvas.dc, 7, 3);
  const DcState& state = dcFromHandle(canvas.dc)->state;
  EXPECT_EQ(breakExtraFor(state, 0), 3);
  EXPECT_EQ(breakExtraFor(state, 1), 2);
  EXPECT_EQ(breakExtraFor(state, 2), 2);
  EXPECT_EQ(breakExtraFor(state, 3), 0);
  SetTextJustification(canvas.dc, -5, 2);
  EXPECT_EQ(breakExtraFor(state, 0), -3);
  EXPECT_EQ(breakExtraFor(state, 1), -2);
  EXPECT_EQ(SetTextCharacterExtra(canvas.dc, 2), 0);
  EXPECT_EQ(GetTextCharacterExtra(canvas.dc), 2);
}

}  // namespace
}  // namespace win
