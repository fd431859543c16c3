#include "images/PngPixels.h"

#include <algorithm>

#include "platform/win/gdi/PaletteObject.h"

namespace images {

int PaletteBitsOf(gui::TPixelFormat Format) {
  switch (Format) {
    case gui::pf1bit: return 1;
    case gui::pf4bit: return 4;
    case gui::pf8bit: return 8;
    default: return 0;
  }
}

gui::TPixelFormat PixelFormatForBits(int BitsPerPixel) {
  switch (BitsPerPixel) {
    case 1: return gui::pf1bit;
    case 4: return gui::pf4bit;
    case 8: return gui::pf8bit;
    default: return gui::pf24bit;
  }
}

win::HPALETTE MakePalette(const std::vector<TPngColor>& Entries) {
  std::vector<win::PALETTEENTRY> entries;
  entries.reserve(std::max<std::size_t>(Entries.size(), 1));
  for (const TPngColor& c : Entries) entries.push_back({c.Red, c.Green, c.Blue, 0x04 /* PC_NOCOLLAPSE */});
  if (entries.empty()) entries.push_back({0, 0, 0, 0x04});
  return win::createPaletteFromEntries(entries);
}

std::vector<TPngColor> PaletteColorsOf(gui::TBitmap& Bitmap) {
  const win::HPALETTE palette = Bitmap.Palette();
  if (!palette) return {};
  const int bits = PaletteBitsOf(Bitmap.PixelFormat());
  std::vector<TPngColor> colors;
  for (const auto& e : win::paletteEntries(palette, bits > 0 ? std::size_t{1} << bits : SIZE_MAX))
    colors.push_back({e.peRed, e.peGreen, e.peBlue});
  return colors;
}

}  // namespace images
