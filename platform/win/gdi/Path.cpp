#include "platform/win/gdi/Path.h"

#include <memory>

#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/PenDrawing.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/win/gdi/Scanline.h"

namespace win {
namespace {

// A finished path taken from the DC (the DC's path is then gone), or null.
std::unique_ptr<PathData> takeCompletePath(DeviceContext& dc) {
  if (!dc.path || !dc.path->complete) return nullptr;
  return std::move(dc.path);
}

std::vector<std::vector<POINT>> polygonsOf(const PathData& path) {
  std::vector<std::vector<POINT>> polygons;
  for (const PathData::Figure& figure : path.figures)
    if (figure.points.size() > 2) polygons.push_back(figure.points);
  return polygons;
}

void strokeFigures(DeviceContext& dc, const PathData& path) {
  const PenInUse pen = penInUse(dc);
  for (const PathData::Figure& figure : path.figures)
    if (figure.points.size() > 1) strokeDevicePolyline(dc, figure.points, figure.closed, pen);
}

void fillFigures(DeviceContext& dc, const PathData& path) {
  const BrushPaint brush = brushPaint(dc.state.brush);
  if (!brush.paints) return;
  paintDeviceRegion(dc, polygonRegion(polygonsOf(path), dc.state.polyFillMode, paintableRows(dc)), brush.color);
}

template <class Draw>
BOOL drawPath(HDC handle, Draw&& draw) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  const std::unique_ptr<PathData> path = takeCompletePath(*dc);
  if (!path) return FALSE;
  if (!dc->surface) return TRUE;
  SurfaceAccess access(*dc, true);
  draw(*dc, *path);
  return TRUE;
}

PathData::Figure* openFigure(DeviceContext& dc) {
  if (dc.path->figures.empty() || dc.path->figures.back().closed) return nullptr;
  return &dc.path->figures.back();
}

}  // namespace

bool pathRecording(const DeviceContext& dc) { return dc.path && dc.path->recording; }

void recordMoveTo(DeviceContext& dc, POINT device) {
  if (!pathRecording(dc)) return;
  PathData::Figure* figure = openFigure(dc);
  if (figure && figure->points.size() == 1) figure->points[0] = device;
  else dc.path->figures.push_back({{device}, false});
}

void recordLineTo(DeviceContext& dc, POINT from, POINT to) {
  if (!pathRecording(dc)) return;
  PathData::Figure* figure = openFigure(dc);
  if (!figure) {
    dc.path->figures.push_back({{from}, false});
    figure = &dc.path->figures.back();
  }
  figure->points.push_back(to);
}

void recordFigure(DeviceContext& dc, const std::vector<POINT>& device, bool closed) {
  if (!pathRecording(dc) || device.empty()) return;
  dc.path->figures.push_back({device, closed});
}

BOOL BeginPath(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  dc->path = std::make_unique<PathData>();
  dc->path->recording = true;
  return TRUE;
}

BOOL EndPath(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !pathRecording(*dc)) return FALSE;
  dc->path->recording = false;
  dc->path->complete = true;
  return TRUE;
}

BOOL AbortPath(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  dc->path.reset();
  return TRUE;
}

BOOL CloseFigure(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !pathRecording(*dc)) return FALSE;
  PathData::Figure* figure = openFigure(*dc);
  if (!figure) return FALSE;
  figure->closed = true;
  return TRUE;
}

BOOL StrokePath(HDC dc) {
  return drawPath(dc, [](DeviceContext& context, const PathData& path) { strokeFigures(context, path); });
}

BOOL FillPath(HDC dc) {
  return drawPath(dc, [](DeviceContext& context, const PathData& path) { fillFigures(context, path); });
}

BOOL StrokeAndFillPath(HDC dc) {
  return drawPath(dc, [](DeviceContext& context, const PathData& path) {
    fillFigures(context, path);
    strokeFigures(context, path);
  });
}

HRGN PathToRegion(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return 0;
  const std::unique_ptr<PathData> path = takeCompletePath(*dc);
  if (!path) return 0;
  return makeRegionHandle(polygonRegion(polygonsOf(*path), dc->state.polyFillMode, kRegionRows));
}

}  // namespace win
