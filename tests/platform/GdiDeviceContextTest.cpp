#include <gtest/gtest.h>

#include "platform/win/Gdi.h"

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

}  // namespace
}  // namespace win
