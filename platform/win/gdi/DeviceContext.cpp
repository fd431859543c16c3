#include "platform/win/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>

#include "platform/win/RectMath.h"
#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/gdi/PaletteObject.h"
#include "platform/win/gdi/Path.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/ScreenDevice.h"
#include "platform/win/gdi/Selection.h"
#include "platform/win/gdi/StockObjects.h"
#include "platform/win/gdi/VirtualPrinter.h"

namespace win {
namespace {

// Default selections of a fresh DC.
void initialiseState(DeviceContext& dc) {
  dc.state.pen = GetStockObject(BLACK_PEN);
  dc.state.brush = GetStockObject(WHITE_BRUSH);
  dc.state.font = GetStockObject(SYSTEM_FONT);
  dc.state.palette = GetStockObject(DEFAULT_PALETTE);
  retainSelection(dc.state.pen);
  retainSelection(dc.state.brush);
  retainSelection(dc.state.font);
  retainSelection(dc.state.palette);
}

}  // namespace

DeviceContext::DeviceContext() : GdiObject(GdiObjectKind::DeviceContext) {}

DeviceContext::~DeviceContext() = default;

DWORD DeviceContext::objectType() const { return memoryDc ? OBJ_MEMDC : OBJ_DC; }

const Region& DeviceContext::effectiveClip() const {
  const int width = surface ? surface->width : 0;
  const int height = surface ? surface->height : 0;
  if (effectiveClipValid_ && effectiveClipSurface_ == surface && effectiveClipWidth_ == width &&
      effectiveClipHeight_ == height)
    return effectiveClip_;
  const RECT bounds = intersectRects(visibleBounds, RECT{0, 0, width, height});
  if (state.clip) {
    Region clip = *state.clip;
    clip.offset(deviceOrigin.x, deviceOrigin.y);
    effectiveClip_ = Region::combine(clip, Region(bounds), RGN_AND);
  } else {
    effectiveClip_ = Region(bounds);
  }
  effectiveClipValid_ = true;
  effectiveClipSurface_ = surface;
  effectiveClipWidth_ = width;
  effectiveClipHeight_ = height;
  return effectiveClip_;
}

DeviceContext* dcFromHandle(HDC dc) { return gdiObjectAs<DeviceContext>(dc, GdiObjectKind::DeviceContext); }

HDC createDeviceContextForSurface(Surface* surface, POINT deviceOrigin, const RECT& visibleBounds, int bitsPixel) {
  auto dc = std::make_unique<DeviceContext>();
  dc->surface = surface;
  dc->deviceOrigin = deviceOrigin;
  dc->visibleBounds = visibleBounds;
  dc->bitsPixel = bitsPixel > 0 ? bitsPixel : screenBitsPerPixel();
  dc->pixelsPerInch = screenPixelsPerInch();
  dc->resolution = SIZE{screenWidth(), screenHeight()};
  DeviceContext* raw = dc.get();
  const HDC handle = addGdiObject(std::move(dc));
  if (handle) initialiseState(*raw);
  return handle;
}

void releaseDeviceContext(HDC dc) { DeleteDC(dc); }

void setDeviceContextPlacement(HDC handle, POINT deviceOrigin, const RECT& visibleBounds) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return;
  dc->deviceOrigin = deviceOrigin;
  dc->visibleBounds = visibleBounds;
  dc->clipChanged();
}

HDC CreateCompatibleDC(HDC reference) {
  const DeviceContext* like = reference ? dcFromHandle(reference) : nullptr;
  if (reference && !like) return 0;
  auto dc = std::make_unique<DeviceContext>();
  dc->memoryDc = true;
  dc->bitsPixel = like ? like->bitsPixel : screenBitsPerPixel();
  dc->pixelsPerInch = like ? like->pixelsPerInch : screenPixelsPerInch();
  dc->technology = like ? like->technology : DT_RASDISPLAY;
  dc->resolution = like ? like->resolution : SIZE{screenWidth(), screenHeight()};
  dc->visibleBounds = RECT{0, 0, kMaxSurfaceSide, kMaxSurfaceSide};
  DeviceContext* raw = dc.get();
  const HDC handle = addGdiObject(std::move(dc));
  if (!handle) return 0;
  initialiseState(*raw);
  selectBitmap(*raw, stockBitmap());
  return handle;
}

HDC CreateIC(const char*, const char* device, const char*, const void* mode) {
  if (isVirtualPrinterName(device)) return createPrinterContext(static_cast<const DEVMODE*>(mode), /*drawing=*/false);
  if (device && *device && std::strcmp(device, "DISPLAY") != 0) return 0;
  return createDeviceContextForSurface(nullptr, POINT{}, RECT{}, screenBitsPerPixel());
}

BOOL DeleteDC(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return FALSE;
  abandonPrintJob(handle);
  releaseAllSelections(*dc);
  gdiObjects().remove(handle);
  return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return 0;
  const int bits = dc->bitsPixel;
  const bool palette = bits <= 8;
  const int ppi = std::max(dc->pixelsPerInch, 1);
  switch (index) {
    case TECHNOLOGY: return dc->technology;
    case HORZSIZE: return static_cast<int>(dc->resolution.cx * 254LL / (ppi * 10LL));
    case VERTSIZE: return static_cast<int>(dc->resolution.cy * 254LL / (ppi * 10LL));
    case HORZRES: return dc->resolution.cx;
    case VERTRES: return dc->resolution.cy;
    case BITSPIXEL: return bits;
    case PLANES: return 1;
    case NUMCOLORS: return palette ? (bits == 8 ? static_cast<int>(kStaticColorCount) : 1 << bits) : -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
             (palette ? RC_PALETTE : 0);
    case LOGPIXELSX:
    case LOGPIXELSY: return dc->pixelsPerInch;
    case SIZEPALETTE: return palette ? 1 << bits : 0;
    case NUMRESERVED: return palette ? static_cast<int>(kStaticColorCount) : 0;
    case COLORRES: return palette ? 18 : 24;
    case PHYSICALWIDTH: return dc->physicalSize.cx;
    case PHYSICALHEIGHT: return dc->physicalSize.cy;
    case PHYSICALOFFSETX: return dc->physicalOffset.x;
    case PHYSICALOFFSETY: return dc->physicalOffset.y;
    default: return 0;
  }
}

}  // namespace win
