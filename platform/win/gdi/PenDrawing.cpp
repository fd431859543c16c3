#include "platform/win/gdi/PenDrawing.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/PenObject.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/Stroke.h"

namespace win {
namespace {

// Cosmetic dash patterns in pixels: on, off, on, off ...
std::vector<int> cosmeticPattern(DWORD dash) {
  switch (dash) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

// Geometric dash patterns in pen widths. Round and square caps stick out
// half a width at both ends of every dash, so the dashes are laid out that
// much shorter (down to a single cap-only dot) to keep the gaps visible.
std::vector<double> geometricPattern(DWORD dash, double width, DWORD cap) {
  std::vector<double> pattern;
  switch (dash) {
    case PS_DASH: pattern = {3 * width, width}; break;
    case PS_DOT: pattern = {width, width}; break;
    case PS_DASHDOT: pattern = {3 * width, width, width, width}; break;
    case PS_DASHDOTDOT: pattern = {3 * width, width, width, width, width, width}; break;
    default: return pattern;
  }
  if (cap != PS_ENDCAP_FLAT)
    for (std::size_t i = 0; i < pattern.size(); i += 2) {
      const double shortened = std::max(pattern[i] - width, 0.0);
      pattern[i + 1] += pattern[i] - shortened;
      pattern[i] = shortened;
    }
  return pattern;
}

// Paints single device pixels through the DC's clip.
class PixelPainter {
 public:
  explicit PixelPainter(DeviceContext& dc) : dc_(dc), clip_(dc.effectiveClip()) {
    const RECT box = clip_.bounds();
    bounds_ = RECT{box.left - dc.deviceOrigin.x, box.top - dc.deviceOrigin.y, box.right - dc.deviceOrigin.x,
                   box.bottom - dc.deviceOrigin.y};
    simple_ = clip_.complexity() == SIMPLEREGION;
  }
  const RECT& bounds() const { return bounds_; }
  void paint(long long x, long long y, std::uint32_t pixel, int rop2) {
    if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom) return;
    const LONG sx = static_cast<LONG>(x) + dc_.deviceOrigin.x, sy = static_cast<LONG>(y) + dc_.deviceOrigin.y;
    if (!simple_ && !clip_.contains(sx, sy)) return;
    std::uint32_t* p = dc_.surface->rowPtr(sy) + sx;
    *p = rop2 == R2_COPYPEN ? pixel : rop2Pixel(pixel, *p, rop2);
  }
  // The pixels from low to high (both included) along one axis, at `across`
  // on the other: the same pixels as painting each, without the per-pixel
  // checks when the clip is one rectangle.
  void paintStraight(bool horizontal, long long low, long long high, long long across, std::uint32_t pixel,
                     int rop2) {
    if (!simple_) {
      for (long long m = low; m <= high; ++m) paint(horizontal ? m : across, horizontal ? across : m, pixel, rop2);
      return;
    }
    const LONG acrossLow = horizontal ? bounds_.top : bounds_.left;
    const LONG acrossHigh = horizontal ? bounds_.bottom : bounds_.right;
    if (across < acrossLow || across >= acrossHigh) return;
    low = std::max<long long>(low, horizontal ? bounds_.left : bounds_.top);
    high = std::min<long long>(high, (horizontal ? bounds_.right : bounds_.bottom) - 1);
    const auto set = [&](std::uint32_t& p) { p = rop2 == R2_COPYPEN ? pixel : rop2Pixel(pixel, p, rop2); };
    if (horizontal) {
      std::uint32_t* row = dc_.surface->rowPtr(static_cast<LONG>(across) + dc_.deviceOrigin.y) + dc_.deviceOrigin.x;
      for (long long x = low; x <= high; ++x) set(row[x]);
      return;
    }
    const LONG column = static_cast<LONG>(across) + dc_.deviceOrigin.x;
    for (long long y = low; y <= high; ++y) set(dc_.surface->rowPtr(static_cast<LONG>(y) + dc_.deviceOrigin.y)[column]);
  }

 private:
  DeviceContext& dc_;
  const Region& clip_;
  RECT bounds_{};
  bool simple_ = false;
};

// Bresenham's line from a towards b, b itself left out. Pixel i along the
// major axis sits at minor offset floor((2 i |d minor| + |d major| - 1) /
// (2 |d major|)): the nearest pixel, halves going back toward the start.
// Only the steps inside the painter's bounds are visited. `style` counts
// pixels along the dash pattern across segments.
void cosmeticLine(PixelPainter& painter, POINT a, POINT b, std::uint32_t pixel, int rop2,
                  const std::vector<int>& pattern, int patternLength, std::uint32_t gapPixel, bool paintGaps,
                  long long& style) {
  const long long dx = static_cast<long long>(b.x) - a.x, dy = static_cast<long long>(b.y) - a.y;
  const long long adx = std::llabs(dx), ady = std::llabs(dy);
  const bool xMajor = adx >= ady;
  const long long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  if (major == 0) return;
  const int majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1, minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
  const long long majorStart = xMajor ? a.x : a.y;
  // Steps whose major coordinate lies within the painter's bounds.
  const RECT& box = painter.bounds();
  const long long low = xMajor ? box.left : box.top, high = (xMajor ? box.right : box.bottom) - 1;
  long long first = 0, last = major - 1;
  if (majorStep > 0) {
    first = std::max(first, low - majorStart);
    last = std::min(last, high - majorStart);
  } else {
    first = std::max(first, majorStart - high);
    last = std::min(last, majorStart - low);
  }
  if (minor == 0 && patternLength == 0) {  // a solid horizontal or vertical line
    if (first <= last) {
      const long long from = majorStart + majorStep * first, to = majorStart + majorStep * last;
      painter.paintStraight(xMajor, std::min(from, to), std::max(from, to), xMajor ? a.y : a.x, pixel, rop2);
    }
    style += major;
    return;
  }
  for (long long i = first; i <= last; ++i) {
    const long long offset = (2 * i * minor + major - 1) / (2 * major);
    const long long m = majorStart + majorStep * i;
    const long long n = (xMajor ? a.y : a.x) + minorStep * offset;
    bool on = true;
    if (patternLength > 0) {
      long long position = (style + i) % patternLength;
      std::size_t k = 0;
      while (position >= pattern[k]) position -= pattern[k++];
      on = (k & 1) == 0;
    }
    if (!on && !paintGaps) continue;
    painter.paint(xMajor ? m : n, xMajor ? n : m, on ? pixel : gapPixel, rop2);
  }
  style += major;
}

void strokeCosmetic(DeviceContext& dc, const std::vector<POINT>& points, bool closed, const PenInUse& pen) {
  if (dc.surface->empty()) return;  // a shadow that could not be made
  PixelPainter painter(dc);
  const std::vector<int> pattern = cosmeticPattern(pen.dash);
  int patternLength = 0;
  for (int length : pattern) patternLength += length;
  const std::uint32_t pixel = surfacePixel(*dc.surface, pen.color);
  const std::uint32_t gap = surfacePixel(*dc.surface, dc.state.bkColor);
  const bool paintGaps = dc.state.bkMode == OPAQUE;
  long long style = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i)
    cosmeticLine(painter, points[i], points[i + 1], pixel, dc.state.rop2, pattern, patternLength, gap, paintGaps, style);
  if (closed && points.size() > 2)
    cosmeticLine(painter, points.back(), points.front(), pixel, dc.state.rop2, pattern, patternLength, gap, paintGaps,
                 style);
}

}  // namespace

PenInUse penInUse(const DeviceContext& dc) {
  PenInUse pen;
  const PenObject* object = penFromHandle(dc.state.pen);
  if (!object) {
    pen.visible = true;  // a deleted pen draws as the default black pen
    return pen;
  }
  pen.dash = object->dashStyle();
  pen.visible = pen.dash != PS_NULL;
  pen.color = object->color;
  pen.cap = object->style & PS_ENDCAP_MASK;
  pen.join = object->style & PS_JOIN_MASK;
  pen.insideFrame = pen.dash == PS_INSIDEFRAME;
  const bool extendedCosmetic = object->kind == GdiObjectKind::ExtPen && !object->geometric();
  const int width = extendedCosmetic ? 1 : std::abs(scaleX(dc, object->width));
  pen.cosmetic = width <= 1;
  pen.width = std::max(width, 1);
  return pen;
}

RowRange paintableRows(const DeviceContext& dc) {
  const RECT box = dc.effectiveClip().bounds();
  return RowRange{box.top - dc.deviceOrigin.y, box.bottom - dc.deviceOrigin.y};
}

void paintDeviceRegion(DeviceContext& dc, const Region& region, COLORREF color) {
  for (const RECT& r : region.rects()) paintDeviceRect(dc, r, color, dc.state.rop2);
}

void strokeDevicePolyline(DeviceContext& dc, const std::vector<POINT>& points, bool closed, const PenInUse& pen) {
  if (!pen.visible || !dc.surface || points.empty()) return;
  if (pen.cosmetic) return strokeCosmetic(dc, points, closed, pen);
  StrokeStyle style;
  style.width = pen.width;
  style.cap = pen.cap;
  style.join = pen.join;
  style.dashes = geometricPattern(pen.dash, pen.width, pen.cap);
  const RECT box = dc.effectiveClip().bounds();
  style.clipped = true;
  style.clipLeft = static_cast<double>(box.left) - dc.deviceOrigin.x - 2.0 * pen.width;
  style.clipTop = static_cast<double>(box.top) - dc.deviceOrigin.y - 2.0 * pen.width;
  style.clipRight = static_cast<double>(box.right) - dc.deviceOrigin.x + 2.0 * pen.width;
  style.clipBottom = static_cast<double>(box.bottom) - dc.deviceOrigin.y + 2.0 * pen.width;
  std::vector<PointF> centres;
  centres.reserve(points.size());
  for (const POINT& p : points) centres.push_back({p.x + 0.5, p.y + 0.5});
  const Region stroke = polygonRegion(strokePolyline(centres, closed, style), WINDING, paintableRows(dc));
  paintDeviceRegion(dc, stroke, pen.color);
}

}  // namespace win
