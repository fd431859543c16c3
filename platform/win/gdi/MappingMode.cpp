#include "platform/win/gdi/MappingMode.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Region.h"

namespace win {
namespace {

// value * numerator / denominator, rounded half away from zero, in 64 bits.
long long scaleRounded(long long value, long long numerator, long long denominator) {
  if (denominator == 0) return 0;
  long long product = value * numerator;
  if (denominator < 0) {
    product = -product;
    denominator = -denominator;
  }
  const long long half = denominator / 2;
  return product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
}

bool scaled(const DcState& s) { return s.mapMode != MM_TEXT; }

// Isotropic mode keeps one scale on both axes by shrinking the viewport
// extent on the axis that would otherwise stretch more.
void fitIsotropic(DcState& s) {
  if (s.mapMode != MM_ISOTROPIC || s.windowExt.cx == 0 || s.windowExt.cy == 0) return;
  const long long vx = std::llabs(s.viewportExt.cx), vy = std::llabs(s.viewportExt.cy);
  const long long wx = std::llabs(s.windowExt.cx), wy = std::llabs(s.windowExt.cy);
  if (vx == 0 || vy == 0) return;
  // Compare vx/wx with vy/wy.
  if (vx * wy > vy * wx) {
    const long long fitted = scaleRounded(vy, wx, wy);
    s.viewportExt.cx = static_cast<LONG>(s.viewportExt.cx < 0 ? -fitted : fitted);
  } else if (vx * wy < vy * wx) {
    const long long fitted = scaleRounded(vx, wy, wx);
    s.viewportExt.cy = static_cast<LONG>(s.viewportExt.cy < 0 ? -fitted : fitted);
  }
}

template <class Apply>
BOOL withState(HDC handle, Apply&& apply) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  return apply(dc->state) ? TRUE : FALSE;
}

}  // namespace

POINT logicalToDevice(const DeviceContext& dc, POINT p) {
  const DcState& s = dc.state;
  long long x = static_cast<long long>(p.x) - s.windowOrg.x;
  long long y = static_cast<long long>(p.y) - s.windowOrg.y;
  if (scaled(s)) {
    x = scaleRounded(x, s.viewportExt.cx, s.windowExt.cx);
    y = scaleRounded(y, s.viewportExt.cy, s.windowExt.cy);
  }
  return POINT{clampCoord(x + s.viewportOrg.x), clampCoord(y + s.viewportOrg.y)};
}

RECT logicalToDevice(const DeviceContext& dc, RECT r) {
  const POINT a = logicalToDevice(dc, POINT{r.left, r.top});
  const POINT b = logicalToDevice(dc, POINT{r.right, r.bottom});
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

POINT deviceToLogical(const DeviceContext& dc, POINT p) {
  const DcState& s = dc.state;
  long long x = static_cast<long long>(p.x) - s.viewportOrg.x;
  long long y = static_cast<long long>(p.y) - s.viewportOrg.y;
  if (scaled(s)) {
    x = scaleRounded(x, s.windowExt.cx, s.viewportExt.cx);
    y = scaleRounded(y, s.windowExt.cy, s.viewportExt.cy);
  }
  return POINT{clampCoord(x + s.windowOrg.x), clampCoord(y + s.windowOrg.y)};
}

int scaleX(const DeviceContext& dc, int length) {
  if (!scaled(dc.state)) return length;
  return clampCoord(scaleRounded(length, std::llabs(dc.state.viewportExt.cx), std::llabs(dc.state.windowExt.cx)));
}

int scaleY(const DeviceContext& dc, int length) {
  if (!scaled(dc.state)) return length;
  return clampCoord(scaleRounded(length, std::llabs(dc.state.viewportExt.cy), std::llabs(dc.state.windowExt.cy)));
}

BOOL LPtoDP(HDC handle, POINT* points, int count) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !points || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = logicalToDevice(*dc, points[i]);
  return TRUE;
}

BOOL DPtoLP(HDC handle, POINT* points, int count) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !points || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = deviceToLogical(*dc, points[i]);
  return TRUE;
}

int SetMapMode(HDC handle, int mode) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || (mode != MM_TEXT && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC)) return 0;
  const int previous = dc->state.mapMode;
  dc->state.mapMode = mode;
  // Text mode has unit extents; the scaled modes start from them and keep
  // whatever extents were set before.
  if (mode == MM_TEXT) {
    dc->state.windowExt = SIZE{1, 1};
    dc->state.viewportExt = SIZE{1, 1};
  }
  fitIsotropic(dc->state);
  return previous;
}

int GetMapMode(HDC handle) {
  const DeviceContext* dc = dcFromHandle(handle);
  return dc ? dc->state.mapMode : 0;
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.windowOrg;
    s.windowOrg = POINT{clampCoord(x), clampCoord(y)};
    return true;
  });
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.viewportOrg;
    s.viewportOrg = POINT{clampCoord(x), clampCoord(y)};
    return true;
  });
}

BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.windowOrg;
    s.windowOrg = POINT{clampCoord(static_cast<long long>(s.windowOrg.x) + dx),
                        clampCoord(static_cast<long long>(s.windowOrg.y) + dy)};
    return true;
  });
}

BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.viewportOrg;
    s.viewportOrg = POINT{clampCoord(static_cast<long long>(s.viewportOrg.x) + dx),
                          clampCoord(static_cast<long long>(s.viewportOrg.y) + dy)};
    return true;
  });
}

// Extents only change in the scaled modes; a zero extent is refused.
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.windowExt;
    if (!scaled(s)) return true;
    if (x == 0 || y == 0) return false;
    s.windowExt = SIZE{clampCoord(x), clampCoord(y)};
    fitIsotropic(s);
    return true;
  });
}

BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.viewportExt;
    if (!scaled(s)) return true;
    if (x == 0 || y == 0) return false;
    s.viewportExt = SIZE{clampCoord(x), clampCoord(y)};
    fitIsotropic(s);
    return true;
  });
}

BOOL GetWindowOrgEx(HDC dc, POINT* origin) {
  return withState(dc, [&](DcState& s) { return origin && (*origin = s.windowOrg, true); });
}
BOOL GetWindowExtEx(HDC dc, SIZE* extent) {
  return withState(dc, [&](DcState& s) { return extent && (*extent = s.windowExt, true); });
}
BOOL GetViewportOrgEx(HDC dc, POINT* origin) {
  return withState(dc, [&](DcState& s) { return origin && (*origin = s.viewportOrg, true); });
}
BOOL GetViewportExtEx(HDC dc, SIZE* extent) {
  return withState(dc, [&](DcState& s) { return extent && (*extent = s.viewportExt, true); });
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous) {
  return withState(dc, [&](DcState& s) {
    if (previous) *previous = s.brushOrigin;
    s.brushOrigin = POINT{x, y};
    return true;
  });
}

BOOL GetBrushOrgEx(HDC dc, POINT* origin) {
  return withState(dc, [&](DcState& s) { return origin && (*origin = s.brushOrigin, true); });
}

}  // namespace win
