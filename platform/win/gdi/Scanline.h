#pragma once
// Scan conversion of filled shapes into exact regions. A pixel belongs to a
// shape when its centre (x + 0.5, y + 0.5) lies inside it, which gives GDI's
// rule that a shape's right and bottom edges stay outside.
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/Region.h"

namespace win {

struct PointF {
  double x;
  double y;
};

// Rows the rasteriser may produce. Drawing passes the clip's rows so huge
// shapes cost only what is visible; regions made without a clip keep to
// +-kRasterRowLimit.
struct RowRange {
  LONG top;
  LONG bottom;
};
constexpr LONG kRasterRowLimit = 1 << 17;
constexpr RowRange kRegionRows{-kRasterRowLimit, kRasterRowLimit};

// Fills closed polygons (each implicitly closed) with ALTERNATE or WINDING.
Region polygonRegion(const std::vector<std::vector<PointF>>& polygons, int fillMode, RowRange rows);

// Integer vertices given as polygon corners (GDI's Polygon coordinates).
Region polygonRegion(const std::vector<std::vector<POINT>>& polygons, int fillMode, RowRange rows);

// The pixels of a rectangle [left, right) x [top, bottom) with elliptic
// corners of the given diameters; corners as large as the box give an ellipse.
Region roundRectRegion(const RECT& box, LONG cornerWidth, LONG cornerHeight, RowRange rows);

// The pixels that have a 4-neighbour outside the region: a thin outline.
Region thinOutline(const Region& shape);

}  // namespace win
