#include "platform/win/gdi/Shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/Path.h"
#include "platform/win/gdi/PenDrawing.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/Scanline.h"

namespace win {
namespace {

constexpr double kPi = 3.14159265358979323846;

RECT inset(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  return RECT{r.left + left, r.top + top, r.right - right, r.bottom - bottom};
}

// A rectangle or rounded rectangle (corners as large as the box: an ellipse).
Region shapeRegion(const RECT& box, LONG cornerWidth, LONG cornerHeight, RowRange rows) {
  if (cornerWidth <= 0 || cornerHeight <= 0) {
    Region region(box);
    region.intersect(RECT{-kRegionCoordLimit, rows.top, kRegionCoordLimit, rows.bottom});
    return region;
  }
  return roundRectRegion(box, cornerWidth, cornerHeight, rows);
}

struct ShapeParts {
  Region interior;
  Region border;
};

// Splits a closed shape into what the brush fills and what the pen draws.
// A centred wide pen straddles the outline through the edge pixels; an
// inside-frame pen keeps within the box.
ShapeParts shapeParts(const RECT& box, LONG cornerWidth, LONG cornerHeight, const PenInUse& pen, RowRange rows) {
  ShapeParts parts;
  if (!pen.visible) {
    const RECT smaller = inset(box, 0, 0, 1, 1);
    parts.interior = shapeRegion(smaller, cornerWidth ? cornerWidth - 1 : 0, cornerHeight ? cornerHeight - 1 : 0, rows);
    return parts;
  }
  if (pen.cosmetic) {
    const Region shape = shapeRegion(box, cornerWidth, cornerHeight, rows);
    parts.border = cornerWidth > 0 ? thinOutline(shape) : Region::combine(shape, Region(inset(box, 1, 1, 1, 1)), RGN_DIFF);
    parts.interior = Region::combine(shape, parts.border, RGN_DIFF);
    return parts;
  }
  const LONG w = pen.width;
  const LONG before = pen.insideFrame ? 0 : w / 2;         // outside the box on the left and top
  const LONG after = pen.insideFrame ? 0 : w - w / 2 - 1;  // outside on the right and bottom
  const RECT outer = inset(box, -before, -before, -after, -after);
  const RECT inner = inset(outer, w, w, w, w);
  const LONG grow = before + after;
  const Region outerShape = shapeRegion(outer, cornerWidth ? cornerWidth + grow : 0, cornerHeight ? cornerHeight + grow : 0, rows);
  const Region innerShape =
      shapeRegion(inner, cornerWidth ? std::max<LONG>(cornerWidth + grow - 2 * w, 0) : 0,
                  cornerHeight ? std::max<LONG>(cornerHeight + grow - 2 * w, 0) : 0, rows);
  parts.border = Region::combine(outerShape, innerShape, RGN_DIFF);
  parts.interior = innerShape;
  return parts;
}

// The outline of a (rounded) rectangle as a polygon, for paths: each corner
// a quarter ellipse of 8 steps.
std::vector<POINT> roundRectOutline(const RECT& box, LONG cornerWidth, LONG cornerHeight) {
  if (cornerWidth < 2 || cornerHeight < 2)
    return {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
  const double rx = std::min<double>(cornerWidth, box.right - box.left) / 2;
  const double ry = std::min<double>(cornerHeight, box.bottom - box.top) / 2;
  // Corner centres, clockwise on screen from the top right.
  const double centres[4][2] = {{box.right - rx, box.top + ry}, {box.right - rx, box.bottom - ry},
                                {box.left + rx, box.bottom - ry}, {box.left + rx, box.top + ry}};
  std::vector<POINT> points;
  for (int corner = 0; corner < 4; ++corner) {
    for (int step = 0; step <= 8; ++step) {
      const double angle = kPi / 2 * (corner - 1) + kPi / 2 * step / 8;
      points.push_back({static_cast<LONG>(std::lround(centres[corner][0] + rx * std::cos(angle))),
                        static_cast<LONG>(std::lround(centres[corner][1] + ry * std::sin(angle)))});
    }
  }
  return points;
}

// Draws a rectangle, rounded rectangle or ellipse given in logical units.
BOOL drawClosedShape(HDC handle, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight,
                     bool ellipse) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  const RECT box = logicalToDevice(*dc, RECT{left, top, right, bottom});
  const LONG cw = ellipse ? box.right - box.left : std::abs(scaleX(*dc, cornerWidth));
  const LONG ch = ellipse ? box.bottom - box.top : std::abs(scaleY(*dc, cornerHeight));
  if (pathRecording(*dc)) {
    recordFigure(*dc, roundRectOutline(box, cw, ch), true);
    return TRUE;
  }
  if (box.right - box.left < 1 || box.bottom - box.top < 1 || !dc->surface) return TRUE;
  SurfaceAccess access(*dc, true);
  const PenInUse pen = penInUse(*dc);
  const ShapeParts parts = shapeParts(box, cw, ch, pen, paintableRows(*dc));
  const BrushPaint brush = brushPaint(dc->state.brush);
  if (brush.paints) paintDeviceRegion(*dc, parts.interior, brush.color);
  const bool dashedFrame = pen.visible && pen.cosmetic && pen.dash >= 1 && pen.dash <= 4 && cw == 0;
  if (dashedFrame) {
    strokeDevicePolyline(*dc, {{box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1},
                               {box.left, box.bottom - 1}}, true, pen);
  } else if (pen.visible) {
    paintDeviceRegion(*dc, parts.border, pen.color);
  }
  return TRUE;
}

std::vector<POINT> toDevice(const DeviceContext& dc, const POINT* points, int count) {
  std::vector<POINT> device;
  device.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) device.push_back(logicalToDevice(dc, points[i]));
  return device;
}

// Angle of a point about the centre, counter-clockwise as seen on screen.
double screenAngle(double x, double y, double cx, double cy) { return std::atan2(-(y - cy), x - cx); }

}  // namespace

BOOL MoveToEx(HDC handle, int x, int y, POINT* previous) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.currentPosition;
  dc->state.currentPosition = POINT{x, y};
  if (pathRecording(*dc)) recordMoveTo(*dc, logicalToDevice(*dc, POINT{x, y}));
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  const POINT from = logicalToDevice(*dc, dc->state.currentPosition);
  const POINT to = logicalToDevice(*dc, POINT{x, y});
  dc->state.currentPosition = POINT{x, y};
  if (pathRecording(*dc)) {
    recordLineTo(*dc, from, to);
    return TRUE;
  }
  SurfaceAccess access(*dc, true);
  strokeDevicePolyline(*dc, {from, to}, false, penInUse(*dc));
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !points || count < 2) return FALSE;
  const std::vector<POINT> device = toDevice(*dc, points, count);
  if (pathRecording(*dc)) {
    recordFigure(*dc, device, false);
    return TRUE;
  }
  SurfaceAccess access(*dc, true);
  strokeDevicePolyline(*dc, device, false, penInUse(*dc));
  return TRUE;
}

BOOL PolyPolygon(HDC handle, const POINT* points, const int* counts, int polygonCount) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !points || !counts || polygonCount <= 0) return FALSE;
  std::vector<std::vector<POINT>> polygons;
  for (int i = 0, offset = 0; i < polygonCount; offset += counts[i], ++i) {
    if (counts[i] < 2) return FALSE;
    polygons.push_back(toDevice(*dc, points + offset, counts[i]));
  }
  if (pathRecording(*dc)) {
    for (const auto& polygon : polygons) recordFigure(*dc, polygon, true);
    return TRUE;
  }
  SurfaceAccess access(*dc, true);
  const BrushPaint brush = brushPaint(dc->state.brush);
  if (brush.paints) paintDeviceRegion(*dc, polygonRegion(polygons, dc->state.polyFillMode, paintableRows(*dc)), brush.color);
  const PenInUse pen = penInUse(*dc);
  for (const auto& polygon : polygons) strokeDevicePolyline(*dc, polygon, true, pen);
  return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  if (count < 2) return FALSE;
  return PolyPolygon(dc, points, &count, 1);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return drawClosedShape(dc, left, top, right, bottom, 0, 0, false);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  return drawClosedShape(dc, left, top, right, bottom, ellipseWidth, ellipseHeight, false);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return drawClosedShape(dc, left, top, right, bottom, 0, 0, true);
}

BOOL Arc(HDC handle, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  const RECT box = logicalToDevice(*dc, RECT{left, top, right, bottom});
  if (box.right - box.left < 1 || box.bottom - box.top < 1 || !dc->surface) return TRUE;
  const PenInUse pen = penInUse(*dc);
  if (!pen.visible) return TRUE;
  SurfaceAccess access(*dc, true);
  const ShapeParts parts = shapeParts(box, box.right - box.left, box.bottom - box.top, pen, paintableRows(*dc));
  const double cx = (static_cast<double>(box.left) + box.right) / 2, cy = (static_cast<double>(box.top) + box.bottom) / 2;
  const POINT start = logicalToDevice(*dc, POINT{xStart, yStart}), end = logicalToDevice(*dc, POINT{xEnd, yEnd});
  const double from = screenAngle(start.x, start.y, cx, cy);
  double sweep = screenAngle(end.x, end.y, cx, cy) - from;
  while (sweep <= 0) sweep += 2 * kPi;
  // Only the visible part of the outline is tested pixel by pixel.
  Region visible = dc->effectiveClip();
  visible.offset(-dc->deviceOrigin.x, -dc->deviceOrigin.y);
  const Region outline = Region::combine(parts.border, visible, RGN_AND);
  Region::Builder arc;
  for (const Region::Band& band : outline.bands()) {
    for (LONG y = band.top; y < band.bottom; ++y) {
      std::vector<Region::Span> spans;
      for (const Region::Span& span : band.spans) {
        for (LONG x = span.left; x < span.right; ++x) {
          double offset = screenAngle(x + 0.5, y + 0.5, cx, cy) - from;
          while (offset < 0) offset += 2 * kPi;
          if (offset <= sweep) spans.push_back({x, x + 1});
        }
      }
      arc.addBand(y, y + 1, std::move(spans));
    }
  }
  paintDeviceRegion(*dc, arc.finish(), pen.color);
  return TRUE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !rect) return FALSE;
  const BrushPaint brush = brushPaint(brushHandle);
  if (!brush.paints) return brushHandle == 0 || !gdiObjects().get(brushHandle) ? FALSE : TRUE;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
  SurfaceAccess access(*dc, true);
  paintDeviceRect(*dc, logicalToDevice(*dc, *rect), brush.color, R2_COPYPEN);
  return TRUE;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !rect) return FALSE;
  const BrushPaint brush = brushPaint(brushHandle);
  if (!brush.paints) return brushHandle == 0 || !gdiObjects().get(brushHandle) ? FALSE : TRUE;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
  SurfaceAccess access(*dc, true);
  const RECT box = logicalToDevice(*dc, *rect);
  const LONG wx = std::max(1, scaleX(*dc, 1)), wy = std::max(1, scaleY(*dc, 1));
  const Region frame = Region::combine(Region(box), Region(inset(box, wx, wy, wx, wy)), RGN_DIFF);
  for (const RECT& r : frame.rects()) paintDeviceRect(*dc, r, brush.color, R2_COPYPEN);
  return TRUE;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !rect) return FALSE;
  if (rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
  SurfaceAccess access(*dc, true);
  paintDeviceRect(*dc, logicalToDevice(*dc, *rect), 0, R2_NOT);
  return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !rect) return FALSE;
  if (rect->right <= rect->left || rect->bottom <= rect->top || !dc->surface) return TRUE;
  SurfaceAccess access(*dc, true);
  const RECT box = logicalToDevice(*dc, *rect);
  const Region frame = Region::combine(Region(box), Region(inset(box, 1, 1, 1, 1)), RGN_DIFF);
  Surface& surface = *dc->surface;
  for (const RECT& piece : frame.rects()) {
    clippedRects(*dc, piece, [&](const RECT& r) {
      for (LONG y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = surface.rowPtr(y);
        for (LONG x = r.left; x < r.right; ++x)
          if (((x - dc->deviceOrigin.x + y - dc->deviceOrigin.y) & 1) == 0) row[x] ^= kWhitePixel;
      }
    });
  }
  return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !dc->surface) return CLR_INVALID;
  SurfaceAccess access(*dc, true);
  const POINT p = logicalToDevice(*dc, POINT{x, y});
  bool painted = false;
  const std::uint32_t pixel = surfacePixel(*dc->surface, color);
  clippedRects(*dc, RECT{p.x, p.y, p.x + 1, p.y + 1}, [&](const RECT& r) {
    dc->surface->rowPtr(r.top)[r.left] = pixel;
    painted = true;
  });
  return painted ? pixelToColor(pixel) : CLR_INVALID;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
  return SetPixel(dc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !dc->surface) return CLR_INVALID;
  SurfaceAccess access(*dc, false);
  const POINT p = logicalToDevice(*dc, POINT{x, y});
  COLORREF color = CLR_INVALID;
  clippedRects(*dc, RECT{p.x, p.y, p.x + 1, p.y + 1},
               [&](const RECT& r) { color = pixelToColor(dc->surface->rowPtr(r.top)[r.left]); });
  return color;
}

}  // namespace win
