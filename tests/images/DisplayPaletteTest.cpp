// The 8-bit display palette and the palette copies bitmaps get.
#include <gtest/gtest.h>

#include "images/DisplayPalette.h"
#include <cstring>

#include "platform/gui/GdiCalls.h"
#include "platform/win/user/Painting.h"

namespace images {
namespace {

struct Rgb {
  int r, g, b;
};

Rgb entryAt(win::HPALETTE palette, int index) {
  win::PALETTEENTRY entry{};
  win::GetPaletteEntries(palette, static_cast<win::UINT>(index), 1, &entry);
  return Rgb{entry.peRed, entry.peGreen, entry.peBlue};
}

void expectEntry(win::HPALETTE palette, int index, Rgb expected) {
  const Rgb got = entryAt(palette, index);
  EXPECT_EQ(got.r, expected.r) << index;
  EXPECT_EQ(got.g, expected.g) << index;
  EXPECT_EQ(got.b, expected.b) << index;
}

TEST(DisplayPalette, CubeGreysAndSystemColoursSitAtTheirIndices) {
  const win::HDC screen = win::GetDC(0);
  const win::HPALETTE palette = BuildDefaultPalette8(screen);
  ASSERT_NE(palette, 0u);
  win::PALETTEENTRY all[256] = {}, system[256] = {};
  ASSERT_EQ(win::GetPaletteEntries(palette, 0, 256, all), 256u);
  win::GetSystemPaletteEntries(screen, 0, 256, system);
  win::ReleaseDC(0, screen);
  for (int i : {0, 9, 246, 255}) expectEntry(palette, i, Rgb{system[i].peRed, system[i].peGreen, system[i].peBlue});
  expectEntry(palette, 10, Rgb{55, 55, 55});
  expectEntry(palette, 15, Rgb{255, 55, 55});
  expectEntry(palette, 190, Rgb{55, 55, 255});
  expectEntry(palette, 224, Rgb{235, 255, 255});
  expectEntry(palette, 225, Rgb{135, 135, 135});
  expectEntry(palette, 244, Rgb{245, 245, 245});
  expectEntry(palette, 245, Rgb{255, 255, 254});
  // Pure white and black only come from the system entries.
  for (int i = 10; i < 246; ++i) {
    const int sum = all[i].peRed + all[i].peGreen + all[i].peBlue;
    EXPECT_TRUE(sum != 0 && sum != 765) << i;
    EXPECT_EQ(all[i].peFlags, 0) << i;
  }
  win::DeleteObject(palette);
}

TEST(DisplayPalette, ClonesOnlyOnPaletteScreens) {
  const win::HDC screen = win::GetDC(0);
  const win::HPALETTE palette = BuildDefaultPalette8(screen);
  win::ReleaseDC(0, screen);
  ScreenColorDepth = 24;
  EXPECT_EQ(ClonePalette(palette), 0u);
  ScreenColorDepth = 8;
  const win::HPALETTE copy = ClonePalette(palette);
  ASSERT_NE(copy, 0u);
  EXPECT_NE(copy, palette);
  win::PALETTEENTRY a[256], b[256];
  ASSERT_EQ(win::GetPaletteEntries(copy, 0, 256, b), 256u);
  win::GetPaletteEntries(palette, 0, 256, a);
  EXPECT_EQ(std::memcmp(a, b, sizeof a), 0);
  EXPECT_EQ(ClonePalette(0), 0u);
  ScreenColorDepth = 24;
  win::DeleteObject(copy);
  win::DeleteObject(palette);
}

}  // namespace
}  // namespace images
