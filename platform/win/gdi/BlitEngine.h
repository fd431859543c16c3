#pragma once
// The pixel engine behind the block transfers: maps destination pixels to a
// source surface (stretching and mirroring), converts between monochrome and
// colour, and combines pattern, source and destination by a ternary raster
// operation, through the destination's clip.
#include <cstdint>

#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Surface.h"

namespace win {

struct BlitSource {
  const Surface* surface = nullptr;  // null for pattern-only operations
  // Source rectangle in surface coordinates; a negative size mirrors.
  long long x = 0, y = 0, width = 0, height = 0;
  std::uint32_t backgroundPixel = 0xFFFFFF;  // source DC's background, for colour to monochrome
};

// The ternary operation code of a raster operation: its bits 16-23. Bit
// (pattern << 2 | source << 1 | destination) of the code is the result for
// that combination of bits.
constexpr unsigned ternaryCode(DWORD rop) { return (rop >> 16) & 0xFF; }

// Transfers to the rectangle x, y, width, height of the destination, in
// device units (a negative size mirrors), by the ternary operation code.
void blit(DeviceContext& destination, long long x, long long y, long long width, long long height,
          const BlitSource& source, unsigned ternary);

// Whether the ternary code reads the source / the pattern.
inline bool ropUsesSource(unsigned ternary) { return ((ternary >> 2) & 0x33) != (ternary & 0x33); }
inline bool ropUsesPattern(unsigned ternary) { return ((ternary >> 4) & 0x0F) != (ternary & 0x0F); }

}  // namespace win
