#include "images/DisplayPalette.h"

#include <vector>

#include "platform/win/gdi/PaletteObject.h"

namespace images {

std::uint8_t ScreenColorDepth = 24;
win::HPALETTE DisplayPalette = 0;

namespace {

constexpr int kEntries = 256;
constexpr std::uint8_t kCubeLevels[6] = {55, 115, 165, 205, 235, 255};

struct LogPalette256 {
  win::WORD palVersion;
  win::WORD palNumEntries;
  win::PALETTEENTRY entries[kEntries];
};

win::PALETTEENTRY entry(int red, int green, int blue) {
  return win::PALETTEENTRY{static_cast<win::BYTE>(red), static_cast<win::BYTE>(green), static_cast<win::BYTE>(blue),
                           0};
}

}  // namespace

win::HPALETTE BuildDefaultPalette8(win::HDC screen) {
  win::PALETTEENTRY system[kEntries] = {};
  win::GetSystemPaletteEntries(screen, 0, kEntries, system);
  LogPalette256 palette{};
  palette.palVersion = 0x300;
  palette.palNumEntries = kEntries;
  for (int i = 0; i < 10; ++i) palette.entries[i] = entry(system[i].peRed, system[i].peGreen, system[i].peBlue);
  int index = 10;
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r)
        if (r != 5 || g != 5 || b != 5)
          palette.entries[index++] = entry(kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]);
  // Greys 130 + 5i, leaving out the three the cube already has.
  for (int i = 1; i <= 24; ++i) {
    if (i == 7 || i == 15 || i == 21) continue;
    const int grey = (5 * i + 130) % 256;
    palette.entries[index++] = entry(grey, grey, grey);
  }
  palette.entries[245] = entry(255, 255, 254);
  for (int i = 246; i < kEntries; ++i)
    palette.entries[i] = entry(system[i].peRed, system[i].peGreen, system[i].peBlue);
  return win::CreatePalette(reinterpret_cast<const win::LOGPALETTE*>(&palette));
}

win::HPALETTE ClonePalette(win::HPALETTE Palette) {
  if (ScreenColorDepth > 8 || !Palette) return 0;
  LogPalette256 copy{};
  copy.palVersion = 0x300;
  copy.palNumEntries = static_cast<win::WORD>(win::GetPaletteEntries(Palette, 0, kEntries, copy.entries));
  if (copy.palNumEntries == 0) return 0;
  return win::CreatePalette(reinterpret_cast<const win::LOGPALETTE*>(&copy));
}

void FreeImageGlobals() {}

}  // namespace images
