#pragma once
// Conversion between device-independent bitmap rows (1, 4, 8, 24, 32 bpp,
// uncompressed) and 32-bit surface pixels.
#include <cstdint>
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/BitmapObject.h"

namespace win {

struct DibLayout {
  int width = 0;
  int height = 0;       // rows, always positive
  bool bottomUp = true;
  int bitCount = 0;
  std::int64_t rowBytes = 0;
  std::vector<std::uint32_t> palette;  // colour table as surface pixels
};

// Reads a BITMAPINFO's header and colour table. DIB_PAL_COLORS tables index
// `dc`'s selected palette. False for anything we do not support or that
// could not be addressed safely (sizes over the surface limits).
bool readDibLayout(const BITMAPINFO* info, UINT usage, HDC dc, DibLayout& layout);

// Number of colour-table entries the header implies.
int dibColorCount(const BITMAPINFOHEADER& header);

void decodeDibRow(const DibLayout& layout, const std::uint8_t* row, std::uint32_t* pixels);
void encodeDibRow(const DibLayout& layout, const std::uint32_t* pixels, std::uint8_t* row);

// A BMP file around DIB rows: the 14-byte file header, a 40-byte info header
// (BI_BITFIELDS with 5-6-5 masks when rgb565, for 16-bit rows), the colour
// table (0x00RRGGBB entries) and the rows as given: padded to 4 bytes, bottom
// row first. The one BMP writer; the class library's encodeBmp and surface
// snapshots both go through it.
std::vector<std::uint8_t> encodeBmpFile(int width, int height, int bitCount, bool rgb565,
                                        const std::vector<std::uint32_t>& palette,
                                        const std::vector<std::uint8_t>& bits);

// Index of the palette colour nearest to `pixel`.
int nearestPaletteIndex(const std::vector<std::uint32_t>& palette, std::uint32_t pixel);

}  // namespace win
