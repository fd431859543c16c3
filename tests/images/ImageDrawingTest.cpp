// Drawing images: regions from masks, masked printing (source untouched),
// drawing through an inverted mask, stretched DIBs, tiles and image sizes.
#include <gtest/gtest.h>

#include <vector>

#include "images/EGDIPlus.h"
#include "images/ImageDrawing.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TStringList.h"

namespace images {
namespace {

using win::RGB;

// A 32-bit bitmap of `width` x `height` in one colour.
std::unique_ptr<gui::TBitmap> filled(int width, int height, win::COLORREF colour) {
  auto bitmap = std::make_unique<gui::TBitmap>();
  bitmap->SetSize(width, height);
  bitmap->Canvas().Brush().SetColor(gui::TColor(colour));
  bitmap->Canvas().FillRect(win::RECT{0, 0, width, height});
  return bitmap;
}

// A monochrome mask; `opaque` lists the black (opaque) pixels.
std::unique_ptr<gui::TBitmap> maskOf(int width, int height, const std::vector<win::POINT>& opaque) {
  auto mask = std::make_unique<gui::TBitmap>();
  mask->SetMonochrome(true);
  mask->SetSize(width, height);
  const win::HDC dc = mask->Canvas().Handle();
  win::PatBlt(dc, 0, 0, width, height, win::WHITENESS);
  for (const win::POINT& p : opaque) win::SetPixel(dc, p.x, p.y, 0);
  return mask;
}

win::COLORREF at(gui::TBitmap& bitmap, int x, int y) { return win::GetPixel(bitmap.Canvas().Handle(), x, y); }

TEST(ImageDrawing, RegionFromMaskGivesRunsOfOpaquePixels) {
  auto mask = maskOf(3, 2, {{0, 0}, {1, 0}, {2, 1}});
  const win::HRGN region = RegionFromMask(*mask, nullptr, gui::TColor(0xFFFFFF));
  ASSERT_NE(region, 0u);
  std::vector<std::uint8_t> data(win::GetRegionData(region, 0, nullptr));
  ASSERT_GT(data.size(), sizeof(win::RGNDATAHEADER));
  win::GetRegionData(region, static_cast<win::DWORD>(data.size()), reinterpret_cast<win::RGNDATA*>(data.data()));
  const auto* rects = reinterpret_cast<const win::RECT*>(data.data() + sizeof(win::RGNDATAHEADER));
  EXPECT_EQ(reinterpret_cast<const win::RGNDATAHEADER*>(data.data())->nCount, 2u);
  EXPECT_EQ((std::vector<long>{rects[0].left, rects[0].top, rects[0].right, rects[0].bottom}),
            (std::vector<long>{0, 0, 2, 1}));
  EXPECT_EQ((std::vector<long>{rects[1].left, rects[1].top, rects[1].right, rects[1].bottom}),
            (std::vector<long>{2, 1, 3, 2}));
  win::DeleteObject(region);
  auto clear = maskOf(3, 2, {});
  EXPECT_EQ(RegionFromMask(*clear, nullptr, gui::TColor(0xFFFFFF)), 0u);
  win::XFORM doubled{2, 0, 0, 2, 10, 0};
  const win::HRGN scaled = RegionFromMask(*mask, &doubled, gui::TColor(0xFFFFFF));
  EXPECT_TRUE(win::PtInRegion(scaled, 13, 1));
  EXPECT_FALSE(win::PtInRegion(scaled, 14, 1));
  win::DeleteObject(scaled);
}

TEST(ImageDrawing, MaskedPrintingDrawsOpaquePixelsAndLeavesTheImageAlone) {
  auto image = filled(4, 4, RGB(200, 0, 0));
  win::SetPixel(image->Canvas().Handle(), 1, 1, RGB(0, 0, 0));  // under a transparent mask pixel
  auto mask = maskOf(4, 4, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {2, 1}, {3, 1}});
  auto page = filled(8, 8, RGB(255, 255, 255));
  DrawMaskedImage(page->Canvas(), 0, 0, 8, 8, image.get(), mask.get(), 0, 4);
  EXPECT_EQ(at(*page, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(at(*page, 7, 3), RGB(200, 0, 0));
  EXPECT_EQ(at(*page, 2, 2), RGB(255, 255, 255));  // image pixel (1,1): transparent
  EXPECT_EQ(at(*page, 0, 5), RGB(255, 255, 255));  // rows 2 and 3 are transparent
  EXPECT_EQ(at(*image, 1, 1), RGB(0, 0, 0));       // the shared image kept its pixels

  auto blank = filled(8, 8, RGB(255, 255, 255));
  auto allWhite = maskOf(4, 4, {});
  DrawMaskedImage(blank->Canvas(), 0, 0, 8, 8, image.get(), allWhite.get(), 0, 4);
  EXPECT_EQ(at(*blank, 0, 0), RGB(255, 255, 255));

  std::vector<win::POINT> everything;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 2; ++x) everything.push_back(win::POINT{x, y});
  auto tall = filled(2, 100, RGB(0, 0, 200));
  for (int y = 10; y < 20; ++y) win::SetPixel(tall->Canvas().Handle(), 0, y, RGB(0, 200, 0));
  auto tallMask = maskOf(2, 100, everything);
  auto band = filled(4, 20, RGB(255, 255, 255));
  win::IntersectClipRect(band->Canvas().Handle(), 0, 0, 4, 10);  // the DC's own clip still holds
  DrawMaskedImage(band->Canvas(), 0, 0, 4, 20, tall.get(), tallMask.get(), 10, 10);
  win::SelectClipRgn(band->Canvas().Handle(), 0);
  EXPECT_EQ(at(*band, 0, 0), RGB(0, 200, 0));
  EXPECT_EQ(at(*band, 3, 9), RGB(0, 0, 200));
  EXPECT_EQ(at(*band, 0, 15), RGB(255, 255, 255));
  // Rows past the image are cut, not read.
  DrawMaskedImage(band->Canvas(), 0, 0, 4, 20, tall.get(), tallMask.get(), 95, 50);
}

TEST(ImageDrawing, BlitThroughMaskKeepsTheTargetUnderWhite) {
  auto image = filled(2, 1, RGB(10, 200, 30));
  auto mask = maskOf(2, 1, {{0, 0}});
  auto target = filled(4, 2, RGB(1, 2, 3));
  BlitImageThroughMask(target->Canvas().Handle(), image.get(), mask.get(), 0, 0, 4, 2);
  EXPECT_EQ(at(*target, 0, 0), RGB(10, 200, 30));
  EXPECT_EQ(at(*target, 1, 1), RGB(10, 200, 30));
  EXPECT_EQ(at(*target, 2, 0), RGB(1, 2, 3));
  EXPECT_EQ(at(*target, 3, 1), RGB(1, 2, 3));
  EXPECT_EQ(at(*image, 1, 0), RGB(10, 200, 30));  // the image is not changed

  // At its own size on a clipped target only the visible part is worked
  // on; the pixels are the same.
  auto big = filled(60, 40, RGB(0, 0, 90));
  std::vector<win::POINT> opaque;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x)
      if (x != (y * 7) % 60) opaque.push_back(win::POINT{x, y});
  auto bigMask = maskOf(60, 40, opaque);
  auto whole = filled(80, 60, RGB(7, 7, 7));
  auto clipped = filled(80, 60, RGB(7, 7, 7));
  BlitImageThroughMask(whole->Canvas().Handle(), big.get(), bigMask.get(), 10, 5, 60, 40);
  win::IntersectClipRect(clipped->Canvas().Handle(), 30, 20, 50, 33);
  BlitImageThroughMask(clipped->Canvas().Handle(), big.get(), bigMask.get(), 10, 5, 60, 40);
  win::SelectClipRgn(clipped->Canvas().Handle(), 0);
  int differing = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      const bool visible = x >= 30 && x < 50 && y >= 20 && y < 33;
      differing += at(*clipped, x, y) != (visible ? at(*whole, x, y) : RGB(7, 7, 7));
    }
  EXPECT_EQ(differing, 0);

  gui::TBitmap mono;
  mono.SetMonochrome(true);
  mono.SetSize(4, 2);
  win::PatBlt(mono.Canvas().Handle(), 0, 0, 4, 2, win::WHITENESS);
  BlitImageThroughMask(mono.Canvas().Handle(), image.get(), mask.get(), 0, 0, 4, 2);
  EXPECT_EQ(at(mono, 0, 0), RGB(255, 255, 255));
}

TEST(ImageDrawing, StretchedDibFillsItsRectangle) {
  auto image = filled(2, 2, RGB(0, 0, 255));
  win::SetPixel(image->Canvas().Handle(), 1, 1, RGB(255, 0, 0));
  auto page = filled(10, 10, RGB(255, 255, 255));
  StretchBitmapAsDIB(page->Canvas(), 2, 2, 4, 4, image->Handle());
  EXPECT_EQ(at(*page, 2, 2), RGB(0, 0, 255));
  EXPECT_EQ(at(*page, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(at(*page, 4, 5), RGB(255, 0, 0));
  EXPECT_EQ(at(*page, 6, 6), RGB(255, 255, 255));
  EXPECT_EQ(at(*page, 1, 1), RGB(255, 255, 255));
  StretchBitmapAsDIB(page->Canvas(), 0, 0, 4, 4, 0);  // nothing, no error
}

TEST(ImageDrawing, TilesNeverCollapseToNothing) {
  auto line = filled(1, 40, RGB(9, 9, 9));
  for (const auto& [w, expected] : {std::pair{500, 100}, std::pair{60, 60}, std::pair{0, 1}, std::pair{-5, 1}}) {
    std::unique_ptr<gui::TBitmap> tile = MakeTileBitmap(line.get(), w, 500);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->Width(), expected) << w;
    EXPECT_EQ(tile->Height(), 40);
    EXPECT_EQ(at(*tile, tile->Width() - 1, 39), RGB(9, 9, 9));
  }
  auto wide = filled(30, 1, RGB(9, 9, 9));
  EXPECT_EQ(MakeTileBitmap(wide.get(), 30, 0)->Height(), 1);
  gui::TBitmap empty;
  EXPECT_EQ(MakeTileBitmap(&empty, 10, 10), nullptr);
  gui::TStringList other;
  EXPECT_EQ(MakeTileBitmap(&other, 10, 10), nullptr);
}

TEST(ImageDrawing, SizesOfImageKinds) {
  auto bitmap = filled(7, 3, 0);
  EXPECT_EQ(ImageWidthOf(bitmap.get()), 7);
  EXPECT_EQ(ImageHeightOf(bitmap.get()), 3);
  gui::TStringList other;
  try {
    ImageWidthOf(&other);
    FAIL();
  } catch (const EGDIPlus& e) {
    EXPECT_EQ(e.Message(), "Not a TBitmap, TGifImage, TMetafile, or TGpImage");
  }
  EXPECT_THROW(ImageHeightOf(nullptr), EGDIPlus);
}

}  // namespace
}  // namespace images
