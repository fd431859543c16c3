#pragma once
// Where background tiles go along one axis: the first tile position and the
// end of the tiled run against a clip range. Positions come from style sheets,
// so the arithmetic is done in 64 bits and kept within +-2^30, and a tile of
// size below 1 yields nothing.
#include "engine/css/CssBoxValues.h"

namespace viewer {

struct TileRun {
  int start = 0;  // first tile position
  int end = 0;    // tiles are drawn while position < end
  int step = 1;   // distance between tiles
};

// kind: 0 top, 1 centre, 2 bottom, 3 left, 4 right, 5 percent, 6 pixels.
int TileStart(int kind, int value, int area, int size, int offset);

// The tiles of an axis that meet [nearEdge, farEdge): with repeat, as many as
// cover it; without, one when the image meets it, else none.
TileRun TileAxis(const engine::TBackgroundAxis& axis, int area, int size, int offset, int nearEdge, int farEdge);

}  // namespace viewer
