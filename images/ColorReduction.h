#pragma once
// Reducing a bitmap to an 8-bit copy on a chosen palette, for displays of 8
// bits or fewer, and the web-cube palette.
#include <cstdint>
#include <memory>

#include "platform/gui/TBitmap.h"

namespace images {

// Palette modes of ReduceBitmapColors.
constexpr std::uint8_t rmNone = 0;        // keep 24 bits
constexpr std::uint8_t rmWindows20 = 1;   // the stock 20-colour system palette
constexpr std::uint8_t rmNetscape = 3;    // the 216-colour web cube
constexpr std::uint8_t rmMyPalette = 4;   // a copy of the display palette
constexpr std::uint8_t rmQuantize = 5;    // fitted to the image
// Dither modes.
constexpr std::uint8_t dmNearest = 0;
constexpr std::uint8_t dmFloydSteinberg = 1;

// The 216-colour web cube; entry r*36 + g*6 + b is (51r, 51g, 51b). The
// caller owns it.
win::HPALETTE CreateNetscapePalette();

// A new bitmap (caller owns): mode 0 a pf24bit copy; otherwise a pf8bit
// copy on the mode's palette, mapped by the dither mode. The source is left
// pf24bit. Modes and dithers outside the lists give an 8-bit bitmap of the
// right size without pixels written. Errors pass on, nothing left behind.
std::unique_ptr<gui::TBitmap> ReduceBitmapColors(gui::TBitmap& Bitmap, std::uint8_t PaletteMode,
                                                 std::uint8_t DitherMode);

// For palette displays: nothing for an empty bitmap (or none), a plain copy
// of a device bitmap, else a Floyd-Steinberg reduction onto the display
// palette (the system palette below 8 bits).
std::unique_ptr<gui::TBitmap> ReduceColorsForDisplay(gui::TBitmap* Bitmap);

}  // namespace images
