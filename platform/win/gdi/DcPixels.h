#pragma once
// Direct access to the pixels a device context paints, for drawing code that
// lives outside the drawing core: the GDI+ wrapper lets its own library draw
// straight into them. A DcPixels is a scope around one drawing operation: a
// DIB section below 32 bpp has its shadow brought in step at the start and,
// when the scope writes, its bits updated at the end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"

namespace win {

class DcPixels {
 public:
  DcPixels(HDC dc, bool writes);
  DcPixels(const DcPixels&) = delete;
  DcPixels& operator=(const DcPixels&) = delete;

  // False for an unknown DC or one without pixels (an information context).
  bool valid() const { return surface_ != nullptr; }
  // Rows of 0x00RRGGBB; row0 is the top row, stride may be negative.
  std::uint8_t* row0() const { return surface_ ? surface_->row0 : nullptr; }
  std::ptrdiff_t stride() const { return surface_ ? surface_->strideBytes : 0; }
  int width() const { return surface_ ? surface_->width : 0; }
  int height() const { return surface_ ? surface_->height : 0; }
  bool monochrome() const { return surface_ && surface_->monochrome; }

  // Where device (0,0) lies on the surface.
  POINT deviceOrigin() const;
  // A logical rectangle in surface pixels (normalised), through the mapping
  // mode and the device origin.
  RECT logicalToSurface(const RECT& logical) const;
  // Device units per logical unit along each axis (1 in MM_TEXT).
  double scaleX() const;
  double scaleY() const;
  // What the DC may paint, in surface pixels: clip, visible bounds and
  // surface together, as disjoint rectangles, and their bounds.
  std::vector<RECT> clipRects() const;
  RECT clipBounds() const;

 private:
  DeviceContext* dc_ = nullptr;
  Surface* surface_ = nullptr;
  std::optional<SurfaceAccess> access_;
};

}  // namespace win
