#include "viewer/BackgroundTiles.h"

#include <algorithm>
#include <cstdint>

namespace viewer {

namespace {

constexpr std::int64_t kLimit = std::int64_t{1} << 30;

int Clamp(std::int64_t value) { return static_cast<int>(std::clamp(value, -kLimit, kLimit)); }

}  // namespace

int TileStart(int kind, int value, int area, int size, int offset) {
  const std::int64_t a = area, s = size, o = offset;
  switch (kind) {
    case 1: return Clamp(a / 2 - s / 2 - o);
    case 2:
    case 4: return Clamp(a - s - o);
    case 5: return Clamp(std::int64_t{value} * (a - s) / 100 - o);
    case 6: return Clamp(std::int64_t{value} - o);
    default: return Clamp(-o);  // top, left
  }
}

TileRun TileAxis(const engine::TBackgroundAxis& axis, int area, int size, int offset, int nearEdge, int farEdge) {
  TileRun run;
  if (size < 1) return run;  // nothing to step by
  run.step = size;
  const std::int64_t start = TileStart(axis.PosType, axis.Value, area, size, offset);
  if (axis.RepeatD) {
    // Moved by whole tiles to the last position not after the near edge.
    std::int64_t s = start;
    if (s < nearEdge) {
      s += size * ((nearEdge - s) / size);
    } else if (s > nearEdge) {
      s -= size * ((s - nearEdge) / size) + size;
    }
    run.start = Clamp(s);
    run.end = farEdge;
    return run;
  }
  run.start = static_cast<int>(start);
  const bool meets = farEdge >= start && start + size >= nearEdge;
  run.end = meets ? run.start + 1 : run.start;
  return run;
}

}  // namespace viewer
