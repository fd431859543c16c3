#include "platform/win/gdi/Blit.h"

#include <algorithm>
#include <cstring>

#include "platform/win/gdi/BlitEngine.h"
#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/DeviceContext.h"

namespace win {
namespace {

// A logical rectangle given by origin and signed size, in device units with
// its sign kept (a flipped axis turns the sign).
struct DeviceBox {
  long long x, y, width, height;
};

DeviceBox deviceBox(const DeviceContext& dc, int x, int y, int width, int height) {
  const POINT a = logicalToDevice(dc, POINT{clampCoord(x), clampCoord(y)});
  const POINT b = logicalToDevice(dc, POINT{clampCoord(static_cast<long long>(x) + width),
                                            clampCoord(static_cast<long long>(y) + height)});
  return DeviceBox{a.x, a.y, static_cast<long long>(b.x) - a.x, static_cast<long long>(b.y) - a.y};
}

// Copies the source rectangle (clipped to the surface) out, so a transfer
// within one surface reads the pixels as they were before it began.
void snapshot(const Surface& surface, BlitSource& source, Surface& copy) {
  long long left = source.x, top = source.y, right = source.x + source.width, bottom = source.y + source.height;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  left = std::max(left, 0LL);
  top = std::max(top, 0LL);
  right = std::min<long long>(right, surface.width);
  bottom = std::min<long long>(bottom, surface.height);
  if (surface.empty() || left >= right || top >= bottom || !allocateSurface(copy, static_cast<int>(right - left), static_cast<int>(bottom - top))) {
    source.surface = nullptr;
    return;
  }
  copy.monochrome = surface.monochrome;
  for (long long yy = top; yy < bottom; ++yy)
    std::memcpy(copy.rowPtr(static_cast<int>(yy - top)), surface.rowPtr(static_cast<int>(yy)) + left,
                static_cast<std::size_t>(right - left) * 4);
  source.surface = &copy;
  source.x -= left;
  source.y -= top;
}

BOOL transfer(HDC destination, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
              int sourceWidth, int sourceHeight, DWORD rop) {
  DeviceContext* dst = dcFromHandle(destination);
  if (!dst) return FALSE;
  const unsigned code = ternaryCode(rop);
  const DeviceBox box = deviceBox(*dst, x, y, width, height);
  SurfaceAccess dstAccess(*dst, true);
  if (!ropUsesSource(code)) {
    blit(*dst, box.x, box.y, box.width, box.height, BlitSource{}, code);
    return TRUE;
  }
  DeviceContext* src = dcFromHandle(sourceDc);
  if (!src) return FALSE;
  if (!src->surface) return TRUE;
  SurfaceAccess srcAccess(*src, false);
  const DeviceBox from = deviceBox(*src, sourceX, sourceY, sourceWidth, sourceHeight);
  BlitSource source;
  source.surface = src->surface;
  source.x = from.x + src->deviceOrigin.x;
  source.y = from.y + src->deviceOrigin.y;
  source.width = from.width;
  source.height = from.height;
  source.backgroundPixel = colorToPixel(resolveColor(src->state.bkColor));
  Surface copy;
  if (src->surface == dst->surface) snapshot(*src->surface, source, copy);
  if (source.surface) blit(*dst, box.x, box.y, box.width, box.height, source, code);
  return TRUE;
}

}  // namespace

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  if (ropUsesSource(ternaryCode(rop))) return FALSE;
  return transfer(dc, x, y, width, height, 0, 0, 0, 0, 0, rop);
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  // The source keeps the destination's size in logical units of its own DC.
  return transfer(destination, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop) {
  return transfer(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

}  // namespace win
