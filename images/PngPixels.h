#pragma once
// How a PNG image's pixels sit in a TBitmap: palette bitmaps of 1, 4 or 8 bits
// with an HPALETTE of PC_NOCOLLAPSE entries, everything else written as 24 bits.
#include <cstdint>
#include <vector>

#include "images/PngDecoder.h"
#include "platform/gui/TBitmap.h"

namespace images {

// 1, 4 or 8 for palette formats, else 0.
int PaletteBitsOf(gui::TPixelFormat Format);
gui::TPixelFormat PixelFormatForBits(int BitsPerPixel);

// A new palette with these entries (at least one: an empty list gives black).
win::HPALETTE MakePalette(const std::vector<TPngColor>& Entries);
// The entries of the bitmap's palette, at most 2^bits for a palette format; none without a palette.
std::vector<TPngColor> PaletteColorsOf(gui::TBitmap& Bitmap);

}  // namespace images
