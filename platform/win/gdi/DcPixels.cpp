#include "platform/win/gdi/DcPixels.h"

namespace win {

DcPixels::DcPixels(HDC dc, bool writes) : dc_(dcFromHandle(dc)) {
  if (!dc_) return;
  access_.emplace(*dc_, writes);
  if (dc_->surface && !dc_->surface->empty()) surface_ = dc_->surface;
}

POINT DcPixels::deviceOrigin() const { return dc_ ? dc_->deviceOrigin : POINT{}; }

RECT DcPixels::logicalToSurface(const RECT& logical) const {
  if (!dc_) return RECT{};
  RECT device = logicalToDevice(*dc_, logical);
  device.left += dc_->deviceOrigin.x;
  device.right += dc_->deviceOrigin.x;
  device.top += dc_->deviceOrigin.y;
  device.bottom += dc_->deviceOrigin.y;
  return device;
}

double DcPixels::scaleX() const {
  if (!dc_ || dc_->state.mapMode == MM_TEXT || dc_->state.windowExt.cx == 0) return 1.0;
  return static_cast<double>(dc_->state.viewportExt.cx) / dc_->state.windowExt.cx;
}

double DcPixels::scaleY() const {
  if (!dc_ || dc_->state.mapMode == MM_TEXT || dc_->state.windowExt.cy == 0) return 1.0;
  return static_cast<double>(dc_->state.viewportExt.cy) / dc_->state.windowExt.cy;
}

std::vector<RECT> DcPixels::clipRects() const {
  if (!surface_) return {};
  return dc_->effectiveClip().rects();
}

RECT DcPixels::clipBounds() const {
  if (!surface_) return RECT{};
  return dc_->effectiveClip().bounds();
}

}  // namespace win
