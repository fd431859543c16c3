#include "platform/win/gdi/Clipping.h"

#include <algorithm>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/RegionObject.h"

namespace win {
namespace {

// Everything the DC could paint without a clip, in device units.
Region deviceArea(const DeviceContext& dc) {
  if (!dc.surface) return Region();
  const RECT surface{0, 0, dc.surface->width, dc.surface->height};
  Region area = Region::combine(Region(surface), Region(dc.visibleBounds), RGN_AND);
  area.offset(-dc.deviceOrigin.x, -dc.deviceOrigin.y);
  return area;
}

int setClip(DeviceContext& dc, Region clip) {
  const int complexity = clip.complexity();
  dc.state.clip = std::move(clip);
  dc.clipChanged();
  return complexity;
}

RECT deviceRectFromLogical(const DeviceContext& dc, int left, int top, int right, int bottom) {
  return logicalToDevice(dc, RECT{left, top, right, bottom});
}

}  // namespace

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int ExtSelectClipRgn(HDC handle, HRGN regionHandle, int mode) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  const RegionObject* region = regionFromHandle(regionHandle);
  if (!region) {
    if (regionHandle != 0 || mode != RGN_COPY) return ERROR;
    dc->state.clip.reset();
    dc->clipChanged();
    return SIMPLEREGION;
  }
  if (mode == RGN_COPY) return setClip(*dc, region->region);
  const Region current = dc->state.clip ? *dc->state.clip : deviceArea(*dc);
  return setClip(*dc, Region::combine(current, region->region, mode));
}

int GetClipRgn(HDC handle, HRGN regionHandle) {
  const DeviceContext* dc = dcFromHandle(handle);
  RegionObject* region = regionFromHandle(regionHandle);
  if (!dc || !region) return -1;
  if (!dc->state.clip) return 0;
  region->region = *dc->state.clip;
  return 1;
}

int GetClipBox(HDC handle, RECT* box) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !box) return ERROR;
  const Region& paintable = dc->effectiveClip();
  if (paintable.empty()) {
    *box = RECT{};
    return NULLREGION;
  }
  RECT bounds = paintable.bounds();
  const POINT a = deviceToLogical(*dc, POINT{bounds.left - dc->deviceOrigin.x, bounds.top - dc->deviceOrigin.y});
  const POINT b = deviceToLogical(*dc, POINT{bounds.right - dc->deviceOrigin.x, bounds.bottom - dc->deviceOrigin.y});
  *box = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return paintable.complexity();
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return ERROR;
  const Region rect(deviceRectFromLogical(*dc, left, top, right, bottom));
  if (!dc->state.clip) return setClip(*dc, rect);
  return setClip(*dc, Region::combine(*dc->state.clip, rect, RGN_AND));
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return ERROR;
  const Region rect(deviceRectFromLogical(*dc, left, top, right, bottom));
  const Region current = dc->state.clip ? *dc->state.clip : deviceArea(*dc);
  return setClip(*dc, Region::combine(current, rect, RGN_DIFF));
}

int OffsetClipRgn(HDC handle, int dx, int dy) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return ERROR;
  if (!dc->state.clip) return SIMPLEREGION;
  const POINT origin = logicalToDevice(*dc, POINT{0, 0});
  const POINT moved = logicalToDevice(*dc, POINT{dx, dy});
  Region clip = *dc->state.clip;
  clip.offset(moved.x - origin.x, moved.y - origin.y);
  return setClip(*dc, std::move(clip));
}

}  // namespace win
