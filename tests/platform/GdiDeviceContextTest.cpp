#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "platform/win/user/SystemColors.h"

namespace win {
namespace {

TEST(GdiDeviceContext, MemoryDcDrawsOnSelectedBitmap) {
  const HDC dc = CreateCompatibleDC(0);
  ASSERT_NE(dc, 0u);
  const HBITMAP bitmap = CreateBitmap(8, 4, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(old, stockBitmap());
  DeviceContext* context = dcFromHandle(dc);
  fillDeviceRect(*context, RECT{2, 1, 5, 3}, RGB(255, 0, 0));
  const Surface& surface = bitmapFromHandle(bitmap)->surface;
  EXPECT_EQ(surface.rowPtr(1)[2], 0xFF0000u);
  EXPECT_EQ(surface.rowPtr(2)[4], 0xFF0000u);
  EXPECT_EQ(surface.rowPtr(1)[5], 0u);
  EXPECT_EQ(surface.rowPtr(3)[2], 0u);
  EXPECT_EQ(DeleteObject(bitmap), FALSE);  // still selected
  SelectObject(dc, old);
  EXPECT_EQ(DeleteObject(bitmap), TRUE);
  EXPECT_EQ(DeleteDC(dc), TRUE);
  EXPECT_EQ(DeleteDC(dc), FALSE);
}

TEST(GdiDeviceContext, SelectScopePutsThePreviousObjectBackOnce) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP first = CreateBitmap(2, 2, 1, 32, nullptr);
  const HBITMAP second = CreateBitmap(2, 2, 1, 32, nullptr);
  {
    SelectScope outer(dc, first);
    EXPECT_TRUE(outer.selected());
    {
      SelectScope inner(dc, second);
      EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), second);
      EXPECT_FALSE(DeleteObject(second));  // still selected
      inner.restore();
      EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), first);
      SelectObject(dc, second);
    }
    // The inner scope was restored already: its end leaves the DC alone.
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), second);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), stockBitmap());
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_TRUE(DeleteObject(second));
  SelectScope nothing(dc, 0);
  EXPECT_FALSE(nothing.selected());
  DeleteDC(dc);
}

TEST(GdiDeviceContext, ResetDropsEveryObjectAndRefusesTheirHandles) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  const HGDIOBJ stockPen = GetStockObject(BLACK_PEN);
  resetGdiObjects();
  EXPECT_EQ(GetObjectType(dc), 0u);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_EQ(GetObjectType(stockPen), 0u);
  // New objects never take the old handles; stock objects come back on use.
  const HBITMAP next = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_NE(next, bitmap);
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
  EXPECT_EQ(GetObjectType(GetSysColorBrush(COLOR_WINDOW)), OBJ_BRUSH);
  DeleteObject(next);
}

}  // namespace
}  // namespace win
