#pragma once
// Paths: figures recorded between BeginPath and EndPath, in device units, then
// stroked, filled or turned into a region.
#include <vector>

#include "platform/win/Types.h"

namespace win {

struct PathData {
  struct Figure {
    std::vector<POINT> points;  // device units
    bool closed = false;
  };
  std::vector<Figure> figures;
  bool recording = false;  // between BeginPath and EndPath
  bool complete = false;   // EndPath has been called
};

BOOL BeginPath(HDC dc);
BOOL EndPath(HDC dc);
BOOL AbortPath(HDC dc);
BOOL CloseFigure(HDC dc);
BOOL StrokePath(HDC dc);
BOOL FillPath(HDC dc);
BOOL StrokeAndFillPath(HDC dc);
HRGN PathToRegion(HDC dc);

}  // namespace win

namespace win {

struct DeviceContext;

// For the drawing calls: while a path is being recorded they add to it
// (device units) instead of drawing.
bool pathRecording(const DeviceContext& dc);
void recordMoveTo(DeviceContext& dc, POINT device);
// Starts a figure at `from` when none is open.
void recordLineTo(DeviceContext& dc, POINT from, POINT to);
void recordFigure(DeviceContext& dc, const std::vector<POINT>& device, bool closed);

}  // namespace win
