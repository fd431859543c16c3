// Colour lookups, the dithering engines, the octree quantizer and the
// reduction of bitmaps to 8-bit copies.
#include <gtest/gtest.h>

#include "platform/win/gdi/PaletteObject.h"

#include <set>
#include <vector>

#include "images/ColorReduction.h"
#include "images/DisplayPalette.h"
#include "images/GIFException.h"
#include "images/TColorLookup.h"
#include "images/TColorQuantizer.h"
#include "images/TDIB.h"
#include "images/TDitherEngine.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/user/Painting.h"

namespace images {
namespace {

// A palette of 0x00RRGGBB colours.
win::HPALETTE paletteOf(const std::vector<std::uint32_t>& colours) {
  std::vector<win::PALETTEENTRY> entries;
  for (std::uint32_t colour : colours)
    entries.push_back(win::PALETTEENTRY{static_cast<win::BYTE>(colour >> 16), static_cast<win::BYTE>(colour >> 8),
                                        static_cast<win::BYTE>(colour), 0});
  return win::createPaletteFromEntries(entries);
}

// A pf24bit bitmap of the given RGB pixels, rows top first.
std::unique_ptr<gui::TBitmap> bitmapOf(int width, int height, const std::vector<std::uint32_t>& pixels) {
  auto bitmap = std::make_unique<gui::TBitmap>();
  bitmap->SetPixelFormat(gui::pf24bit);
  bitmap->SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
      row[3 * x] = static_cast<std::uint8_t>(p);
      row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
    }
  }
  return bitmap;
}

std::uint32_t colourAt(gui::TBitmap& bitmap, int x, int y) {
  return win::GetPixel(bitmap.Canvas().Handle(), x, y);  // COLORREF 0x00BBGGRR
}

TEST(ColorLookup, WebCubeLevelsAndIndices) {
  TNetscapeColorLookup lookup;
  EXPECT_EQ(lookup.EntryCount(), 216);
  std::uint8_t r, g, b;
  const int bounds[][2] = {{0, 0}, {47, 0}, {48, 1}, {98, 1}, {99, 2}, {149, 2}, {150, 3},
                           {200, 3}, {201, 4}, {251, 4}, {252, 5}, {255, 5}};
  for (const auto& [value, level] : bounds) {
    EXPECT_EQ(lookup.MatchColor(static_cast<std::uint8_t>(value), 0, 0, r, g, b), level * 36) << value;
    EXPECT_EQ(r, level * 51);
  }
  EXPECT_EQ(lookup.MatchColor(255, 128, 0, r, g, b), 192);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 102);
  EXPECT_EQ(b, 0);
}

TEST(ColorLookup, FastLookupSharesKeysAndPrefersTheLowerIndex) {
  const win::HPALETTE palette = paletteOf({0x000000, 0x640000, 0x006400, 0xFFFFFF, 0x640000});
  TFastColorLookup lookup(palette);
  EXPECT_EQ(lookup.EntryCount(), 5);
  std::uint8_t r, g, b;
  EXPECT_EQ(lookup.MatchColor(60, 60, 0, r, g, b), 1);  // equidistant from 1 and 2: the lower
  EXPECT_EQ(lookup.MatchColor(100, 0, 0, r, g, b), 1);  // entry 4 repeats entry 1
  EXPECT_EQ(lookup.MatchColor(250, 250, 250, r, g, b), 3);
  EXPECT_EQ(lookup.MatchColor(255, 250, 253, r, g, b), 3);  // same 5-bit key: no new search
  EXPECT_EQ(r, 255);
  TFastColorLookup none(0);
  EXPECT_EQ(none.EntryCount(), 0);
  win::DeleteObject(palette);
}

TEST(DitherEngine, RowsRunSerpentineAndSingleColumnsStayPut) {
  TNetscapeColorLookup lookup;
  TDitherEngine engine(1, lookup);
  std::uint8_t r, g, b;
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(engine.Column(), 0);
    EXPECT_EQ(engine.Direction(), row % 2 ? -1 : 1);
    engine.MapPixel(10, 20, 30, r, g, b);
    engine.StartNextRow();
  }
  TDitherEngine wide(5, lookup);
  wide.StartNextRow();
  EXPECT_EQ(wide.Column(), 4);
}

TEST(DitherEngine, FloydSteinbergCarriesErrorsForwardAndDown) {
  const win::HPALETTE palette = paletteOf({0x000000, 0xFFFFFF});
  TFastColorLookup lookup(palette);
  TFloydSteinbergEngine engine(3, lookup);
  std::uint8_t r, g, b;
  std::vector<int> indices;
  for (int x = 0; x < 3; ++x) indices.push_back(engine.MapPixel(100, 100, 100, r, g, b));
  engine.StartNextRow();
  // Errors: +100, then 144 - 255 = -111 (with 7/16 of 100 added), then 52.
  EXPECT_EQ(indices, (std::vector<int>{0, 1, 0}));
  // Element x + 1 holds what pixel x of the next row receives: 5/16 from
  // above, 3/16 from above-right, 1/16 from above-left (in sixteenths).
  EXPECT_EQ(engine.ErrorRow(0), (std::vector<int>{300, 167, -299, 149, 0}));
  EXPECT_EQ(engine.Column(), 2);
  EXPECT_EQ(engine.Direction(), -1);

  TFloydSteinbergEngine exact(4, lookup);  // palette colours carry no error
  for (int row = 0; row < 3; ++row) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(exact.MapPixel(255, 255, 255, r, g, b), 1);
    exact.StartNextRow();
  }
  for (int v : exact.ErrorRow(1)) EXPECT_EQ(v, 0);
  win::DeleteObject(palette);
}

TEST(ColorQuantizer, FewColoursGiveOneLeafEachInTreeOrder) {
  TColorQuantizer quantizer(256, 8);
  const std::uint32_t colours[] = {0xFFFFFF, 0x000000, 0x0000FF, 0xFF0000, 0x00FF00};
  for (std::uint32_t c : colours)
    for (int n = 0; n < 3; ++n) quantizer.AddColor(c >> 16, (c >> 8) & 0xFF, c & 0xFF);
  EXPECT_EQ(quantizer.LeafCount(), 5);
  std::array<win::RGBQUAD, 256> table{};
  table[5] = win::RGBQUAD{1, 2, 3, 0};
  quantizer.FillColorTable(table);
  // Child index = red bit * 4 + green bit * 2 + blue bit at each level.
  const std::uint32_t order[] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
  for (int i = 0; i < 5; ++i) {
    const std::uint32_t got = (std::uint32_t{table[i].rgbRed} << 16) | (table[i].rgbGreen << 8) | table[i].rgbBlue;
    EXPECT_EQ(got, order[i]) << i;
  }
  EXPECT_EQ(table[5].rgbBlue, 1);  // entries past the leaves are left alone
}

TEST(ColorQuantizer, ReducesToTheMaximumAndRefusesBadCounts) {
  TColorQuantizer quantizer(236, 8);
  for (int i = 0; i < 237; ++i) quantizer.AddColor(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7);
  EXPECT_LE(quantizer.LeafCount(), 236);
  EXPECT_GT(quantizer.LeafCount(), 100);
  EXPECT_THROW(TColorQuantizer(0, 8), GIFException);
  EXPECT_THROW(TColorQuantizer(257, 8), GIFException);
  EXPECT_THROW(TColorQuantizer(16, 9), GIFException);
  TColorQuantizer one(1, 8);
  for (int i = 0; i < 50; ++i) one.AddColor(static_cast<std::uint8_t>(i * 5), 0, 0);
  EXPECT_EQ(one.LeafCount(), 1);
}

TEST(ColorQuantizer, OptimizedPaletteFramesFittedColoursWithSystemColours) {
  auto bitmap = bitmapOf(2, 1, {0x102030, 0xA0B0C0});
  const win::HPALETTE palette = CreateOptimizedPalette(*bitmap, 256, 8, true);
  win::PALETTEENTRY entries[256] = {}, system[20] = {};
  ASSERT_EQ(win::GetPaletteEntries(palette, 0, 256, entries), 256u);
  win::GetPaletteEntries(static_cast<win::HPALETTE>(win::GetStockObject(win::DEFAULT_PALETTE)), 0, 20, system);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(entries[i].peRed, system[i].peRed) << i;
    EXPECT_EQ(entries[246 + i].peGreen, system[10 + i].peGreen) << i;
  }
  EXPECT_EQ(entries[10].peRed, 0x10);
  EXPECT_EQ(entries[11].peBlue, 0xC0);
  EXPECT_EQ(entries[12].peRed + entries[12].peGreen + entries[12].peBlue, 0);  // unfilled: black
  win::DeleteObject(palette);
  EXPECT_THROW(CreateOptimizedPalette(*bitmap, 300, 8, false), GIFException);
}

TEST(ColorReduction, ModesGiveTheirFormatsAndLeaveTheSourceTrueColour) {
  auto source = bitmapOf(2, 2, {0xFF8000, 0x000000, 0xFFFFFF, 0x336699});
  source->SetPixelFormat(gui::pf32bit);
  auto copy = ReduceBitmapColors(*source, rmNone, dmNearest);
  EXPECT_EQ(copy->PixelFormat(), gui::pf24bit);
  auto web = ReduceBitmapColors(*source, rmNetscape, dmNearest);
  EXPECT_EQ(source->PixelFormat(), gui::pf24bit);
  EXPECT_EQ(web->PixelFormat(), gui::pf8bit);
  EXPECT_EQ(web->Width(), 2);
  EXPECT_EQ(colourAt(*web, 0, 0), win::RGB(255, 102, 0));
  EXPECT_EQ(colourAt(*web, 1, 1), win::RGB(51, 102, 153));
  EXPECT_EQ(static_cast<std::uint8_t*>(web->ScanLine(0))[0], 192);
  auto system = ReduceBitmapColors(*source, rmWindows20, dmFloydSteinberg);
  EXPECT_EQ(colourAt(*system, 1, 0), win::RGB(0, 0, 0));
  EXPECT_EQ(colourAt(*system, 0, 1), win::RGB(255, 255, 255));
  auto fitted = ReduceBitmapColors(*source, rmQuantize, dmNearest);
  EXPECT_EQ(colourAt(*fitted, 1, 1), win::RGB(0x33, 0x66, 0x99));
  auto unknown = ReduceBitmapColors(*source, 2, dmNearest);
  EXPECT_EQ(unknown->PixelFormat(), gui::pf8bit);
  EXPECT_EQ(unknown->Height(), 2);
}

TEST(ColorReduction, DisplayReductionUsesTheDisplayPalette) {
  gui::TBitmap empty;
  EXPECT_EQ(ReduceColorsForDisplay(&empty), nullptr);
  EXPECT_EQ(ReduceColorsForDisplay(nullptr), nullptr);
  gui::TBitmap device;
  device.SetSize(3, 1);
  auto plain = ReduceColorsForDisplay(&device);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->PixelFormat(), gui::pfDevice);

  const win::HDC screen = win::GetDC(0);
  DisplayPalette = BuildDefaultPalette8(screen);
  win::ReleaseDC(0, screen);
  ScreenColorDepth = 8;
  auto source = bitmapOf(1, 1, {0xFF3737});
  auto reduced = ReduceColorsForDisplay(source.get());
  ASSERT_NE(reduced, nullptr);
  EXPECT_EQ(reduced->PixelFormat(), gui::pf8bit);
  EXPECT_EQ(static_cast<std::uint8_t*>(reduced->ScanLine(0))[0], 15);
  ScreenColorDepth = 24;
  win::DeleteObject(DisplayPalette);
  DisplayPalette = 0;
}

TEST(ColorReduction, WriterRowsAreCheckedAndStoredBack) {
  auto bitmap = bitmapOf(2, 3, std::vector<std::uint32_t>(6, 0));
  {
    TDIBWriter writer(*bitmap, gui::pf24bit);
    EXPECT_THROW(writer.RowAddress(-1), gui::EInvalidGraphicOperation);
    EXPECT_THROW(writer.RowAddress(3), gui::EInvalidGraphicOperation);
    std::uint8_t* row = writer.RowAddress(2);
    row[3] = 0x44;  // bottom row, second pixel, blue
  }
  EXPECT_EQ(colourAt(*bitmap, 1, 2), win::RGB(0, 0, 0x44));
  gui::TBitmap empty;
  TDIBWriter none(empty, gui::pf8bit);
  EXPECT_THROW(none.RowAddress(0), GIFException);
  TDIBWriter badFormat(*bitmap, gui::pf32bit);
  EXPECT_THROW(badFormat.RowAddress(0), GIFException);
  EXPECT_EQ(DibRowSize(3, 24, 32), 12);
  std::uint8_t table[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  SwapRedBlue(table, 2);
  EXPECT_EQ((std::vector<int>(table, table + 8)), (std::vector<int>{3, 2, 1, 0, 7, 6, 5, 0}));
}

}  // namespace
}  // namespace images
