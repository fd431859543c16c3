#include "platform/win/gdi/RegionMath.h"

#include <algorithm>

namespace win {
namespace {

// Unions regions pairwise so n pieces cost O(n log n) merges.
Region unionAll(std::vector<Region> pieces) {
  if (pieces.empty()) return Region();
  while (pieces.size() > 1) {
    std::vector<Region> next;
    next.reserve((pieces.size() + 1) / 2);
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2)
      next.push_back(Region::combine(pieces[i], pieces[i + 1], RGN_OR));
    if (pieces.size() % 2) next.push_back(std::move(pieces.back()));
    pieces = std::move(next);
  }
  return std::move(pieces.front());
}

Region shifted(const Region& region, LONG dx, LONG dy) {
  Region copy = region;
  copy.offset(dx, dy);
  return copy;
}

// Keeps the pixels whose whole neighbourhood of `radius` along one axis
// (dx or dy = 1) lies in the region. Eroding an eroded region by d again
// widens the radius by d as long as d <= radius + 1, so the radius doubles
// each step and huge radii cost a handful of merges.
Region erode(const Region& region, int radiusX, int radiusY) {
  const int target = std::max(radiusX, radiusY);
  const bool alongX = radiusX > 0;
  Region eroded = region;
  int radius = 0;
  while (radius < target && !eroded.empty()) {
    const int step = std::min(radius + 1, target - radius);
    const Region plus = alongX ? shifted(eroded, step, 0) : shifted(eroded, 0, step);
    const Region minus = alongX ? shifted(eroded, -step, 0) : shifted(eroded, 0, -step);
    eroded = Region::combine(Region::combine(eroded, plus, RGN_AND), minus, RGN_AND);
    radius += step;
  }
  return eroded;
}

}  // namespace

Region unionOfRects(const std::vector<RECT>& rects) {
  std::vector<Region> pieces;
  pieces.reserve(rects.size());
  for (const RECT& r : rects) pieces.emplace_back(r);
  return unionAll(std::move(pieces));
}

Region regionToDevice(const DeviceContext& dc, const Region& logical) {
  const DcState& s = dc.state;
  if (s.mapMode == MM_TEXT) {
    Region device = logical;
    device.offset(s.viewportOrg.x - s.windowOrg.x, s.viewportOrg.y - s.windowOrg.y);
    return device;
  }
  std::vector<RECT> rects = logical.rects();
  for (RECT& r : rects) r = logicalToDevice(dc, r);
  return unionOfRects(rects);
}

Region regionFrame(const Region& region, int width, int height) {
  const Region inner = erode(erode(region, std::max(width, 0), 0), 0, std::max(height, 0));
  return Region::combine(region, inner, RGN_DIFF);
}

}  // namespace win
