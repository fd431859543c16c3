#pragma once
// Pixel-level helpers shared by the drawing code: colour to pixel for a
// surface (monochrome surfaces take the nearer of black and white), binary
// raster operations, and painting device spans through a DC's clip.
#include <cstdint>

#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Surface.h"

namespace win {

constexpr std::uint32_t kPixelMask = 0x00FFFFFF;
constexpr std::uint32_t kWhitePixel = 0x00FFFFFF;

// The pixel a colour becomes on this surface.
std::uint32_t surfacePixel(const Surface& surface, COLORREF color);

// The result of binary raster operation `rop2` for pen pixel `pen` over `dst`.
inline std::uint32_t rop2Pixel(std::uint32_t pen, std::uint32_t dst, int rop2) {
  // rop2 - 1 is a truth table: bit 3 = f(pen 1, dst 1), bit 2 = f(1, 0),
  // bit 1 = f(0, 1), bit 0 = f(0, 0), applied to every bit of the pixel.
  const unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;
  std::uint32_t out = 0;
  if (table & 8) out |= pen & dst;
  if (table & 4) out |= pen & ~dst;
  if (table & 2) out |= ~pen & dst;
  if (table & 1) out |= ~pen & ~dst;
  return out & kPixelMask;
}

// Applies `rop2` with `pen` to a run of pixels.
void applyRop2(std::uint32_t* pixels, int count, std::uint32_t pen, int rop2);

// Paints a device rectangle with a colour and binary raster operation,
// through the DC's clip (R2_COPYPEN is a plain fill).
void paintDeviceRect(DeviceContext& dc, const RECT& device, COLORREF color, int rop2);

// Paints one device pixel through the clip.
void paintDevicePixel(DeviceContext& dc, LONG x, LONG y, COLORREF color, int rop2);

}  // namespace win
