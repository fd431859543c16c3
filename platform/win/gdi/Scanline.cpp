#include "platform/win/gdi/Scanline.h"

#include <algorithm>
#include <cmath>

#include "platform/win/gdi/DeviceContext.h"

namespace win {
namespace {

struct Edge {
  double yTop;     // edge spans rows whose centre lies in [yTop, yBottom)
  double yBottom;
  double xAtTop;
  double slope;    // dx per dy
  int direction;   // +1 downward, -1 upward
};

struct Crossing {
  double x;
  int direction;
};

// First pixel whose centre is at or right of x.
LONG firstPixelAtOrAfter(double x) { return clampCoord(std::ceil(x - 0.5)); }

std::vector<Edge> collectEdges(const std::vector<std::vector<PointF>>& polygons) {
  std::vector<Edge> edges;
  for (const auto& polygon : polygons) {
    const std::size_t n = polygon.size();
    if (n < 3) continue;
    for (std::size_t i = 0; i < n; ++i) {
      PointF a = polygon[i], b = polygon[(i + 1) % n];
      if (a.y == b.y || !(a.y == a.y) || !(b.y == b.y)) continue;
      int direction = 1;
      if (a.y > b.y) {
        std::swap(a, b);
        direction = -1;
      }
      edges.push_back({a.y, b.y, a.x, (b.x - a.x) / (b.y - a.y), direction});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });
  return edges;
}

// The spans of one row from its sorted crossings.
void rowSpans(std::vector<Crossing>& crossings, int fillMode, std::vector<Region::Span>& spans) {
  std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
  int winding = 0;
  for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
    winding += fillMode == ALTERNATE ? 1 : crossings[i].direction;
    const bool inside = fillMode == ALTERNATE ? (winding & 1) != 0 : winding != 0;
    if (!inside) continue;
    const LONG left = firstPixelAtOrAfter(crossings[i].x);
    const LONG right = firstPixelAtOrAfter(crossings[i + 1].x);
    if (left < right) spans.push_back({left, right});
  }
}

// The row where a run of rows crossed by the active edges, all vertical, ends:
// the first whose centre reaches the next edge's top or an active edge's
// bottom, at most endRow. Without such a run, 0.
LONG verticalRunEnd(const std::vector<const Edge*>& active, const std::vector<Edge>& edges, std::size_t next,
                    LONG endRow) {
  double limit = next < edges.size() ? edges[next].yTop : HUGE_VAL;
  for (const Edge* e : active) {
    if (e->slope != 0.0) return 0;
    limit = std::min(limit, e->yBottom);
  }
  return limit == HUGE_VAL ? endRow : std::min(endRow, firstPixelAtOrAfter(limit));
}

}  // namespace

Region polygonRegion(const std::vector<std::vector<PointF>>& polygons, int fillMode, RowRange rows) {
  const std::vector<Edge> edges = collectEdges(polygons);
  Region::Builder builder;
  if (edges.empty()) return builder.finish();
  double yMax = edges.front().yBottom;
  for (const Edge& e : edges) yMax = std::max(yMax, e.yBottom);
  const LONG firstRow = std::max(rows.top, firstPixelAtOrAfter(edges.front().yTop));
  const LONG endRow = std::min(rows.bottom, firstPixelAtOrAfter(yMax));
  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  std::vector<Region::Span> spans;
  std::size_t next = 0;
  for (LONG y = firstRow; y < endRow; ++y) {
    const double centre = y + 0.5;
    while (next < edges.size() && edges[next].yTop <= centre) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->yBottom <= centre; }),
                 active.end());
    if (active.empty()) {
      // Jump over empty rows to the next edge.
      if (next >= edges.size()) break;
      const LONG resume = firstPixelAtOrAfter(edges[next].yTop);
      if (resume > y + 1) y = resume - 1;
      continue;
    }
    crossings.clear();
    for (const Edge* e : active) crossings.push_back({e->xAtTop + (centre - e->yTop) * e->slope, e->direction});
    spans.clear();
    rowSpans(crossings, fillMode, spans);
    // Rows crossed by vertical edges alone have these spans until an edge
    // starts or ends: one band covers them (the builder would merge the rows).
    const LONG runEnd = verticalRunEnd(active, edges, next, endRow);
    builder.addBand(y, std::max(runEnd, y + 1), spans);
    if (runEnd > y + 1) y = runEnd - 1;
  }
  return builder.finish();
}

Region polygonRegion(const std::vector<std::vector<POINT>>& polygons, int fillMode, RowRange rows) {
  std::vector<std::vector<PointF>> converted;
  converted.reserve(polygons.size());
  for (const auto& polygon : polygons) {
    std::vector<PointF> points;
    points.reserve(polygon.size());
    for (const POINT& p : polygon) points.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    converted.push_back(std::move(points));
  }
  return polygonRegion(converted, fillMode, rows);
}

namespace {

// The first pixel of row y inside the ellipse that fills `corner`, or
// corner.right when the row misses it. Only the left half is asked for.
LONG ellipseRowStart(const RECT& corner, LONG y) {
  const double halfWidth = (static_cast<double>(corner.right) - corner.left) / 2.0;
  const double halfHeight = (static_cast<double>(corner.bottom) - corner.top) / 2.0;
  const double cx = corner.left + halfWidth, cy = corner.top + halfHeight;
  const double dy = (y + 0.5 - cy) / halfHeight;
  if (dy * dy > 1.0) return corner.right;
  const double half = halfWidth * std::sqrt(1.0 - dy * dy);
  return std::max(corner.left, firstPixelAtOrAfter(cx - half));
}

}  // namespace

Region roundRectRegion(const RECT& unclamped, LONG cornerWidth, LONG cornerHeight, RowRange rows) {
  Region::Builder builder;
  const RECT box{clampCoord(unclamped.left), clampCoord(unclamped.top), clampCoord(unclamped.right),
                 clampCoord(unclamped.bottom)};
  const LONG width = box.right - box.left, height = box.bottom - box.top;
  if (width <= 0 || height <= 0) return builder.finish();
  const LONG cw = std::clamp<LONG>(cornerWidth, 0, width), ch = std::clamp<LONG>(cornerHeight, 0, height);
  const LONG top = std::max(box.top, rows.top), bottom = std::min(box.bottom, rows.bottom);
  if (cw < 2 || ch < 2) {
    if (top < bottom) builder.addBand(top, bottom, {{box.left, box.right}});
    return builder.finish();
  }
  const RECT topCorner{box.left, box.top, box.left + cw, box.top + ch};
  const RECT bottomCorner{box.left, box.bottom - ch, box.left + cw, box.bottom};
  const LONG topRows = box.top + ch / 2, bottomRows = box.bottom - ch / 2;
  for (LONG y = top; y < bottom; ++y) {
    if (y >= topRows && y < bottomRows) {
      // Straight sides: one band down to the bottom corners.
      const LONG end = std::min(bottomRows, bottom);
      builder.addBand(y, end, {{box.left, box.right}});
      y = end - 1;
      continue;
    }
    const LONG start = ellipseRowStart(y < topRows ? topCorner : bottomCorner, y);
    const LONG inset = start - box.left;
    if (box.left + inset < box.right - inset) builder.addBand(y, y + 1, {{box.left + inset, box.right - inset}});
  }
  return builder.finish();
}

Region thinOutline(const Region& shape) {
  auto shifted = [&](LONG dx, LONG dy) {
    Region copy = shape;
    copy.offset(dx, dy);
    return copy;
  };
  Region inner = Region::combine(shape, shifted(1, 0), RGN_AND);
  inner = Region::combine(inner, shifted(-1, 0), RGN_AND);
  inner = Region::combine(inner, shifted(0, 1), RGN_AND);
  inner = Region::combine(inner, shifted(0, -1), RGN_AND);
  return Region::combine(shape, inner, RGN_DIFF);
}

}  // namespace win
