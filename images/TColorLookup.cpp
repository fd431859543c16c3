#include "images/TColorLookup.h"

#include <cstdlib>

namespace images {
namespace {

int keyOf(int red, int green, int blue) { return (red >> 3) | ((green >> 3) << 5) | ((blue >> 3) << 10); }

}  // namespace

TFastColorLookup::TFastColorLookup(win::HPALETTE Palette) : FInverseLookup(32768, -1) {
  FEntryCount = Palette ? static_cast<int>(win::GetPaletteEntries(Palette, 0, 256, FPalette.data())) : 0;
  for (int i = 0; i < FEntryCount; ++i) {
    std::int16_t& slot = FInverseLookup[keyOf(FPalette[i].peRed, FPalette[i].peGreen, FPalette[i].peBlue)];
    if (slot < 0) slot = static_cast<std::int16_t>(i);
  }
}

std::uint8_t TFastColorLookup::MatchColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R,
                                          std::uint8_t& G, std::uint8_t& B) {
  std::int16_t& slot = FInverseLookup[keyOf(Red, Green, Blue)];
  if (slot < 0) {
    int best = 0;
    int bestDistance = 0x30000;
    for (int i = 0; i < FEntryCount; ++i) {
      const int distance = std::abs(Red - FPalette[i].peRed) + std::abs(Green - FPalette[i].peGreen) +
                           std::abs(Blue - FPalette[i].peBlue);
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    slot = static_cast<std::int16_t>(best);
  }
  const win::PALETTEENTRY& entry = FPalette[static_cast<std::size_t>(slot)];
  R = entry.peRed;
  G = entry.peGreen;
  B = entry.peBlue;
  return static_cast<std::uint8_t>(slot);
}

std::uint8_t TNetscapeColorLookup::MatchColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                              std::uint8_t& R, std::uint8_t& G, std::uint8_t& B) {
  const int r = (Red + 3) / 51, g = (Green + 3) / 51, b = (Blue + 3) / 51;
  R = static_cast<std::uint8_t>(r * 51);
  G = static_cast<std::uint8_t>(g * 51);
  B = static_cast<std::uint8_t>(b * 51);
  return static_cast<std::uint8_t>(r * 36 + g * 6 + b);
}

}  // namespace images
