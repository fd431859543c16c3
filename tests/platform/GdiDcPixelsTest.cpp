// Direct pixel access to what a DC paints: surface, origin, clip and mapping.
#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "platform/win/gdi/DcPixels.h"

namespace win {
namespace {

TEST(GdiDcPixels, GivesTheSurfaceTheClipAndTheMapping) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP bitmap = CreateBitmap(20, 10, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  IntersectClipRect(dc, 2, 3, 12, 8);
  ExcludeClipRect(dc, 4, 3, 6, 8);
  {
    DcPixels pixels(dc, true);
    ASSERT_TRUE(pixels.valid());
    EXPECT_EQ(pixels.width(), 20);
    EXPECT_EQ(pixels.height(), 10);
    EXPECT_EQ(pixels.clipRects().size(), 2u);
    const RECT bounds = pixels.clipBounds();
    EXPECT_EQ(bounds.left, 2);
    EXPECT_EQ(bounds.right, 12);
    reinterpret_cast<std::uint32_t*>(pixels.row0() + 5 * pixels.stride())[7] = 0x123456;
  }
  EXPECT_EQ(GetPixel(dc, 7, 5), RGB(0x12, 0x34, 0x56));
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 10, 10, nullptr);
  SetViewportExtEx(dc, 20, 5, nullptr);
  SetViewportOrgEx(dc, 1, 1, nullptr);
  {
    DcPixels pixels(dc, false);
    EXPECT_DOUBLE_EQ(pixels.scaleX(), 2.0);
    EXPECT_DOUBLE_EQ(pixels.scaleY(), 0.5);
    const RECT onSurface = pixels.logicalToSurface(RECT{0, 0, 4, 4});
    EXPECT_EQ(onSurface.left, 1);
    EXPECT_EQ(onSurface.right, 9);
    EXPECT_EQ(onSurface.bottom, 3);
  }
  DcPixels none(0, false);
  EXPECT_FALSE(none.valid());
  EXPECT_TRUE(none.clipRects().empty());
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
}  // namespace win
