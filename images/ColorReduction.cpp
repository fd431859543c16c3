#include "images/ColorReduction.h"

#include <vector>

#include "images/DisplayPalette.h"
#include "images/TColorQuantizer.h"
#include "images/TDIB.h"
#include "images/TDitherEngine.h"
#include "platform/gui/GdiCalls.h"

namespace images {
namespace {

// A copy of the stock system palette: the bitmap takes ownership of what it
// is given, and the stock object must never be deleted.
win::HPALETTE copyOfStockPalette() {
  win::PALETTEENTRY entries[20] = {};
  const auto stock = static_cast<win::HPALETTE>(win::GetStockObject(win::DEFAULT_PALETTE));
  const win::UINT count = win::GetPaletteEntries(stock, 0, 20, entries);
  std::vector<std::uint8_t> storage(sizeof(win::LOGPALETTE) + 20 * sizeof(win::PALETTEENTRY));
  auto* palette = reinterpret_cast<win::LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<win::WORD>(count);
  for (win::UINT i = 0; i < count; ++i) palette->palPalEntry[i] = entries[i];
  return count ? win::CreatePalette(palette) : 0;
}

win::HPALETTE paletteFor(std::uint8_t mode, gui::TBitmap& source) {
  switch (mode) {
    case rmWindows20: return copyOfStockPalette();
    case rmNetscape: return CreateNetscapePalette();
    case rmMyPalette: return ClonePalette(DisplayPalette);
    case rmQuantize: return CreateOptimizedPalette(source, 256, 8, true);
    default: return 0;
  }
}

std::unique_ptr<TDitherEngine> engineFor(std::uint8_t dither, int width, TColorLookup& lookup) {
  if (dither == dmNearest) return std::make_unique<TDitherEngine>(width, lookup);
  if (dither == dmFloydSteinberg) return std::make_unique<TFloydSteinbergEngine>(width, lookup);
  return nullptr;
}

void mapRows(TDIB& reader, TDIB& writer, TDitherEngine& engine, int width, int height) {
  std::uint8_t r, g, b;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* source = reader.RowAddress(y);
    std::uint8_t* target = writer.RowAddress(y);
    for (int x = engine.Column(); x >= 0 && x < width; x = engine.Column()) {
      const std::uint8_t* pixel = source + 3 * static_cast<std::ptrdiff_t>(x);
      target[x] = engine.MapPixel(pixel[2], pixel[1], pixel[0], r, g, b);
    }
    engine.StartNextRow();
  }
}

}  // namespace

win::HPALETTE CreateNetscapePalette() {
  std::vector<std::uint8_t> storage(sizeof(win::LOGPALETTE) + 216 * sizeof(win::PALETTEENTRY));
  auto* palette = reinterpret_cast<win::LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = 216;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        palette->palPalEntry[r * 36 + g * 6 + b] = win::PALETTEENTRY{
            static_cast<win::BYTE>(r * 51), static_cast<win::BYTE>(g * 51), static_cast<win::BYTE>(b * 51), 0};
  return win::CreatePalette(palette);
}

std::unique_ptr<gui::TBitmap> ReduceBitmapColors(gui::TBitmap& Bitmap, std::uint8_t PaletteMode,
                                                 std::uint8_t DitherMode) {
  auto result = std::make_unique<gui::TBitmap>();
  if (PaletteMode == rmNone) {
    result->Assign(&Bitmap);
    result->SetPixelFormat(gui::pf24bit);
    return result;
  }
  const int width = Bitmap.Width(), height = Bitmap.Height();
  result->SetPixelFormat(gui::pf8bit);
  result->SetSize(width, height);
  TDIBReader reader(Bitmap, gui::pf24bit);
  result->SetPalette(paletteFor(PaletteMode, Bitmap));  // the bitmap owns it from here
  std::unique_ptr<TColorLookup> lookup;
  if (PaletteMode == rmNetscape) lookup = std::make_unique<TNetscapeColorLookup>();
  else lookup = std::make_unique<TFastColorLookup>(result->Palette());
  const std::unique_ptr<TDitherEngine> engine = engineFor(DitherMode, width, *lookup);
  if (lookup->EntryCount() == 0 || !engine || width == 0 || height == 0) return result;
  {
    TDIBWriter writer(*result, gui::pf8bit);
    mapRows(reader, writer, *engine, width, height);
  }
  return result;
}

std::unique_ptr<gui::TBitmap> ReduceColorsForDisplay(gui::TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return nullptr;
  if (Bitmap->PixelFormat() == gui::pfDevice) {
    auto copy = std::make_unique<gui::TBitmap>();
    copy->Assign(Bitmap);
    return copy;
  }
  return ReduceBitmapColors(*Bitmap, ScreenColorDepth < 8 ? rmWindows20 : rmMyPalette, dmFloydSteinberg);
}

}  // namespace images
