// The class library's drawing helpers: the masked stretch blit and a
// bitmap's pixels as a DIB.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/gui/GdiCalls.h"
#include "platform/gui/GraphicsFunctions.h"

namespace gui {
namespace {

using win::RGB;

// A memory DC holding a bitmap for the length of a test.
struct Canvas {
  win::HDC dc = win::CreateCompatibleDC(0);
  win::HBITMAP bitmap;
  win::HGDIOBJ old;
  Canvas(int width, int height, int bits = 32) : bitmap(win::CreateBitmap(width, height, 1, bits, nullptr)) {
    old = win::SelectObject(dc, bitmap);
  }
  ~Canvas() {
    win::SelectObject(dc, old);
    win::DeleteDC(dc);
    win::DeleteObject(bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
};

TEST(GuiGraphicsFunctions, TransparentStretchBltKeepsTargetUnderWhiteMask) {
  Canvas source(2, 1), mask(2, 1, 1), target(4, 2);
  win::SetPixel(source.dc, 0, 0, RGB(200, 0, 0));  // opaque pixel
  win::SetPixel(source.dc, 1, 0, RGB(0, 0, 0));    // transparent pixels are black
  win::SetPixel(mask.dc, 0, 0, RGB(0, 0, 0));
  win::SetPixel(mask.dc, 1, 0, RGB(255, 255, 255));
  win::PatBlt(target.dc, 0, 0, 4, 2, win::WHITENESS);
  win::SetPixel(target.dc, 3, 1, RGB(10, 20, 30));
  win::SetTextColor(target.dc, RGB(1, 2, 3));
  ASSERT_TRUE(TransparentStretchBlt(target.dc, 0, 0, 4, 2, source.dc, 0, 0, 2, 1, mask.dc, 0, 0));
  EXPECT_EQ(win::GetPixel(target.dc, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(win::GetPixel(target.dc, 1, 1), RGB(200, 0, 0));
  EXPECT_EQ(win::GetPixel(target.dc, 2, 0), RGB(255, 255, 255));
  EXPECT_EQ(win::GetPixel(target.dc, 3, 1), RGB(10, 20, 30));
  EXPECT_EQ(win::GetTextColor(target.dc), RGB(1, 2, 3));  // colours restored
}

TEST(GuiGraphicsFunctions, DibSizesAndBitsFollowTheBitmapsDepth) {
  Canvas colour(3, 2);
  win::SetPixel(colour.dc, 2, 0, RGB(9, 8, 7));
  win::DWORD header = 0, image = 0;
  GetDIBSizes(colour.bitmap, header, image);
  EXPECT_EQ(header, sizeof(win::BITMAPINFOHEADER));
  EXPECT_EQ(image, 3u * 4 * 2);
  std::vector<std::uint8_t> info(header), bits(image);
  ASSERT_TRUE(GetDIB(colour.bitmap, 0, info.data(), bits.data()));
  const auto* read = reinterpret_cast<const win::BITMAPINFOHEADER*>(info.data());
  EXPECT_EQ(read->biHeight, 2);  // bottom-up: the top row is stored last
  EXPECT_EQ(bits[12 + 8], 7);
  EXPECT_EQ(bits[12 + 10], 9);

  Canvas mono(17, 3, 1);
  GetDIBSizes(mono.bitmap, header, image);
  EXPECT_EQ(header, sizeof(win::BITMAPINFOHEADER) + 2 * 4);
  EXPECT_EQ(image, 4u * 3);  // 17 bits padded to 32
  GetDIBSizes(0, header, image);
  EXPECT_EQ(header, 0u);
  EXPECT_EQ(image, 0u);
  EXPECT_FALSE(GetDIB(0, 0, info.data(), bits.data()));
}

}  // namespace
}  // namespace gui
