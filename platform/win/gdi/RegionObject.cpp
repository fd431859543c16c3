#include "platform/win/gdi/RegionObject.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/RegionMath.h"

namespace win {
namespace {

LONG roundToCoord(double v) {
  if (!(v == v)) return 0;  // NaN
  v = std::round(v);
  if (v < -kRegionCoordLimit) return -kRegionCoordLimit;
  if (v > kRegionCoordLimit) return kRegionCoordLimit;
  return static_cast<LONG>(v);
}

// Paints a logical-unit region with a colour through the DC's clip.
void paintRegion(DeviceContext& dc, const Region& logical, COLORREF color, int rop2) {
  const Region device = regionToDevice(dc, logical);
  for (const RECT& r : device.rects()) paintDeviceRect(dc, r, color, rop2);
}

}  // namespace

RegionObject* regionFromHandle(HRGN region) { return gdiObjectAs<RegionObject>(region, GdiObjectKind::Region); }

HRGN makeRegionHandle(Region region) {
  auto object = std::make_unique<RegionObject>();
  object->region = std::move(region);
  return addGdiObject(std::move(object));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return makeRegionHandle(Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                                      std::max(top, bottom)}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : 0;
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
  if (!data || count < sizeof(RGNDATAHEADER)) return 0;
  RGNDATAHEADER header;
  std::memcpy(&header, static_cast<const void*>(data), sizeof header);
  if (header.dwSize < sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return 0;
  if (header.dwSize > count || header.nCount > (count - header.dwSize) / sizeof(RECT)) return 0;
  if (xform && (xform->eM12 != 0.0f || xform->eM21 != 0.0f)) return 0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data) + header.dwSize;
  std::vector<RECT> rects;
  rects.reserve(header.nCount);
  for (DWORD i = 0; i < header.nCount; ++i) {
    RECT r;
    std::memcpy(&r, bytes + i * sizeof(RECT), sizeof r);
    if (xform) {
      const LONG x0 = roundToCoord(r.left * static_cast<double>(xform->eM11) + xform->eDx);
      const LONG x1 = roundToCoord(r.right * static_cast<double>(xform->eM11) + xform->eDx);
      const LONG y0 = roundToCoord(r.top * static_cast<double>(xform->eM22) + xform->eDy);
      const LONG y1 = roundToCoord(r.bottom * static_cast<double>(xform->eM22) + xform->eDy);
      r = RECT{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    }
    rects.push_back(r);
  }
  return makeRegionHandle(unionOfRects(rects));
}

DWORD GetRegionData(HRGN handle, DWORD count, RGNDATA* data) {
  const RegionObject* region = regionFromHandle(handle);
  if (!region) return 0;
  const std::vector<RECT> rects = region->region.rects();
  const std::uint64_t needed = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
  if (needed > 0xFFFFFFFFull) return 0;
  if (!data) return static_cast<DWORD>(needed);
  if (count < needed) return 0;
  RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                       static_cast<DWORD>(rects.size() * sizeof(RECT)), region->region.bounds()};
  std::memcpy(static_cast<void*>(data), &header, sizeof header);
  if (!rects.empty())
    std::memcpy(reinterpret_cast<std::uint8_t*>(data) + sizeof header, rects.data(), rects.size() * sizeof(RECT));
  return count;
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  RegionObject* out = regionFromHandle(destination);
  const RegionObject* a = regionFromHandle(source1);
  if (!out || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    out->region = a->region;
    return out->region.complexity();
  }
  const RegionObject* b = regionFromHandle(source2);
  if (!b) return ERROR;
  out->region = Region::combine(a->region, b->region, mode);
  return out->region.complexity();
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  RegionObject* region = regionFromHandle(handle);
  if (!region) return ERROR;
  region->region.offset(dx, dy);
  return region->region.complexity();
}

BOOL EqualRgn(HRGN region1, HRGN region2) {
  const RegionObject* a = regionFromHandle(region1);
  const RegionObject* b = regionFromHandle(region2);
  if (!a || !b) return ERROR;
  return a->region == b->region ? TRUE : FALSE;
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  const RegionObject* region = regionFromHandle(handle);
  return region && region->region.contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
  const RegionObject* region = regionFromHandle(handle);
  if (!region || !rect) return FALSE;
  const RECT r{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
               std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
  return region->region.intersects(r) ? TRUE : FALSE;
}

int GetRgnBox(HRGN handle, RECT* box) {
  const RegionObject* region = regionFromHandle(handle);
  if (!region || !box) return ERROR;
  *box = region->region.bounds();
  return region->region.complexity();
}

BOOL FillRgn(HDC handle, HRGN regionHandle, HBRUSH brush) {
  DeviceContext* dc = dcFromHandle(handle);
  const RegionObject* region = regionFromHandle(regionHandle);
  if (!dc || !region) return FALSE;
  const BrushPaint paint = brushPaint(brush);
  if (paint.paints) paintRegion(*dc, region->region, paint.color, R2_COPYPEN);
  return TRUE;
}

BOOL FrameRgn(HDC handle, HRGN regionHandle, HBRUSH brush, int width, int height) {
  DeviceContext* dc = dcFromHandle(handle);
  const RegionObject* region = regionFromHandle(regionHandle);
  if (!dc || !region || width <= 0 || height <= 0) return FALSE;
  const BrushPaint paint = brushPaint(brush);
  const int w = scaleX(*dc, width), h = scaleY(*dc, height);
  if (!paint.paints) return TRUE;
  const Region device = regionToDevice(*dc, region->region);
  for (const RECT& r : regionFrame(device, w, h).rects()) paintDeviceRect(*dc, r, paint.color, R2_COPYPEN);
  return TRUE;
}

}  // namespace win
