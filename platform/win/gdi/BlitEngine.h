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

// `device` is the destination rectangle in device units (negative size
// mirrors). `rop` is the ternary operation code (bits 16-23 of the ROP).
void blit(DeviceContext& destination, long long x, long long y, long long width, long long height,
          const BlitSource& source, unsigned ropCode);

// Whether the ternary code reads the source / the pattern.
inline bool ropUsesSource(unsigned code) { return ((code >> 2) & 0x33) != (code & 0x33); }
inline bool ropUsesPattern(unsigned code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

}  // namespace win
