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
  const std::size_t count = std::max<std::size_t>(Entries.size(), 1);
  // LOGPALETTE declares one entry; the others follow it in the same block.
  std::vector<std::uint8_t> block(sizeof(win::LOGPALETTE) + (count - 1) * sizeof(win::PALETTEENTRY));
  auto* palette = reinterpret_cast<win::LOGPALETTE*>(block.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<win::WORD>(count);
  for (std::size_t i = 0; i < count; ++i) {
    const TPngColor c = i < Entries.size() ? Entries[i] : TPngColor{};
    palette->palPalEntry[i] = {c.Red, c.Green, c.Blue, 0x04 /* PC_NOCOLLAPSE */};
  }
  return win::CreatePalette(palette);
}

std::vector<TPngColor> PaletteColorsOf(gui::TBitmap& Bitmap) {
  const win::HPALETTE palette = Bitmap.Palette();
  if (!palette) return {};
  std::size_t count = win::GetPaletteEntries(palette, 0, 0, nullptr);
  if (const int bits = PaletteBitsOf(Bitmap.PixelFormat()); bits > 0) count = std::min(count, std::size_t{1} << bits);
  std::vector<win::PALETTEENTRY> entries(count);
  if (count > 0) win::GetPaletteEntries(palette, 0, static_cast<win::UINT>(count), entries.data());
  std::vector<TPngColor> colors;
  colors.reserve(count);
  for (const auto& e : entries) colors.push_back({e.peRed, e.peGreen, e.peBlue});
  return colors;
}

}  // namespace images
