#pragma once
// Outlines of wide (geometric) strokes as polygons, to be filled with the
// WINDING rule: every polygon has the same orientation, so overlaps add up.
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/Scanline.h"

namespace win {

struct StrokeStyle {
  double width = 1;
  DWORD cap = 0;             // PS_ENDCAP_* bits
  DWORD join = 0;            // PS_JOIN_* bits
  std::vector<double> dashes;  // on, off, on, ... lengths; empty for a solid stroke
  // Dashes wholly outside this box may be left out (they cannot be seen).
  bool clipped = false;
  double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
};

// `points` are stroke centre-line coordinates; a closed polyline also joins
// its last point back to the first.
std::vector<std::vector<PointF>> strokePolyline(const std::vector<PointF>& points, bool closed,
                                                const StrokeStyle& style);

}  // namespace win
