#pragma once
// Drawing with the DC's pen: one-pixel (cosmetic) lines by Bresenham's rule
// with the end point left out, and wide lines as filled stroke outlines.
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Region.h"
#include "platform/win/gdi/Scanline.h"

namespace win {

// The selected pen, in device terms.
struct PenInUse {
  bool visible = false;
  bool cosmetic = true;   // one device pixel wide
  int width = 1;          // device pixels
  COLORREF color = 0;
  DWORD dash = 0;         // PS_SOLID, PS_DASH, ...
  DWORD cap = 0;
  DWORD join = 0;
  bool insideFrame = false;
};
PenInUse penInUse(const DeviceContext& dc);

// The rows a drawing call can affect: the DC's paintable rows in device units.
RowRange paintableRows(const DeviceContext& dc);

// Strokes a device-unit polyline with the pen (closed: back to the first
// point). Cosmetic pens leave out the final end point of an open polyline.
void strokeDevicePolyline(DeviceContext& dc, const std::vector<POINT>& points, bool closed, const PenInUse& pen);

// Paints a device region with a colour and the DC's ROP2.
void paintDeviceRegion(DeviceContext& dc, const Region& region, COLORREF color);

}  // namespace win
