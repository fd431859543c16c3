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
