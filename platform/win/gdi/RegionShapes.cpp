// Regions from ellipses, rounded rectangles and polygons: the same pixels
// the corresponding drawing calls fill.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/win/gdi/Scanline.h"

namespace win {
namespace {

// Ordered corners, clamped so sizes cannot overflow.
RECT normalised(int left, int top, int right, int bottom) {
  return RECT{clampCoord(std::min(left, right)), clampCoord(std::min(top, bottom)), clampCoord(std::max(left, right)),
              clampCoord(std::max(top, bottom))};
}

}  // namespace

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  const RECT box = normalised(left, top, right, bottom);
  return makeRegionHandle(roundRectRegion(box, box.right - box.left, box.bottom - box.top, kRegionRows));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : 0;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  const RECT box = normalised(left, top, right, bottom);
  return makeRegionHandle(roundRectRegion(box, std::abs(ellipseWidth), std::abs(ellipseHeight), kRegionRows));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) return 0;
  const std::vector<std::vector<POINT>> polygons{std::vector<POINT>(points, points + count)};
  return makeRegionHandle(polygonRegion(polygons, fillMode, kRegionRows));
}

}  // namespace win
