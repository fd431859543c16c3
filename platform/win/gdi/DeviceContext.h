#pragma once
// Device contexts: the drawing state over one surface, the coordinate
// transform from logical to device units, the clip, and the pixel primitives
// every drawing call (and the text code) goes through.
//
// Coordinates: logical units map to device units through the mapping mode;
// device (0,0) lies at `deviceOrigin` on the surface, so a DC may cover part
// of a window's surface. The clip region is kept in device units; what a DC
// actually paints is clip ∩ visibleBounds ∩ surface, in surface coordinates.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/Region.h"
#include "platform/win/gdi/Surface.h"

namespace win {

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment flags.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// Binary raster operations (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Stretch modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// GetDeviceCaps indices and values.
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int NUMRESERVED = 106;
constexpr int COLORRES = 108;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_BITMAP64 = 0x0008;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;

struct PathData;  // Path.h

// The part of the DC state that SaveDC saves and RestoreDC puts back.
struct DcState {
  HBITMAP bitmap = 0;
  HPEN pen = 0;
  HBRUSH brush = 0;
  HFONT font = 0;
  HPALETTE palette = 0;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  UINT textAlign = TA_LEFT | TA_TOP;
  int breakExtra = 0;        // SetTextJustification: extra pixels over all breaks
  int breakCount = 0;        // ... spread over this many break characters
  int breaksUsed = 0;        // breaks already drawn since the last SetTextJustification
  int charExtra = 0;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  int polyFillMode = ALTERNATE;
  POINT brushOrigin;
  POINT currentPosition;
  int mapMode = MM_TEXT;
  POINT windowOrg;
  SIZE windowExt{1, 1};
  POINT viewportOrg;
  SIZE viewportExt{1, 1};
  std::optional<Region> clip;  // device units; none = the whole device
};

struct DeviceContext : GdiObject {
  DeviceContext();
  ~DeviceContext() override;
  DWORD objectType() const override;

  Surface* surface = nullptr;   // the selected bitmap's, or the window's; not owned
  bool memoryDc = false;
  POINT deviceOrigin;           // surface position of device (0,0)
  RECT visibleBounds{};         // surface coordinates the DC may touch
  int bitsPixel = 24;
  int pixelsPerInch = 96;
  int technology = DT_RASDISPLAY;
  SIZE resolution{};            // HORZRES/VERTRES
  SIZE physicalSize{};          // PHYSICALWIDTH/HEIGHT; 0 on the screen
  POINT physicalOffset{};       // PHYSICALOFFSETX/Y; 0 on the screen
  DcState state;
  std::vector<DcState> savedStates;
  std::unique_ptr<PathData> path;
  int surfaceAccessDepth = 0;   // see SurfaceAccess

  // What the DC paints, in surface coordinates; rebuilt when clip or bounds change.
  const Region& effectiveClip() const;
  void clipChanged() { effectiveClipValid_ = false; }

 private:
  mutable Region effectiveClip_;
  mutable bool effectiveClipValid_ = false;
  mutable const Surface* effectiveClipSurface_ = nullptr;
  mutable int effectiveClipWidth_ = 0;
  mutable int effectiveClipHeight_ = 0;
};

DeviceContext* dcFromHandle(HDC dc);

// A DC over `surface` (a window's): device (0,0) at `deviceOrigin`, painting
// limited to `visibleBounds` (surface coordinates). The window system owns the
// surface and must call releaseDeviceContext before the surface goes away.
HDC createDeviceContextForSurface(Surface* surface, POINT deviceOrigin, const RECT& visibleBounds,
                                  int bitsPixel);
void releaseDeviceContext(HDC dc);
// Moves a window DC (the window moved, or its visible part changed).
void setDeviceContextPlacement(HDC dc, POINT deviceOrigin, const RECT& visibleBounds);

// A memory DC compatible with `dc` (or with the screen for 0), holding the
// stock 1x1 monochrome bitmap until another bitmap is selected.
HDC CreateCompatibleDC(HDC dc);
// An information context, measuring and never drawing: for the screen (a null
// or "DISPLAY" device) or the virtual printer (its name); 0 for other devices.
HDC CreateIC(const char* driver, const char* device, const char* port, const void* mode);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);

// Selects a pen, brush, font, bitmap (memory DCs only) or palette and returns
// the previous object of that kind; a region becomes the clip and the result
// is its complexity. 0 on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP or OBJ_PAL.
HGDIOBJ GetCurrentObject(HDC dc, UINT objectType);

// Coordinate helpers; results are clamped so huge inputs stay harmless.
POINT logicalToDevice(const DeviceContext& dc, POINT logical);
RECT logicalToDevice(const DeviceContext& dc, RECT logical);  // normalised
POINT deviceToLogical(const DeviceContext& dc, POINT device);
// A logical length in device units (sign kept, magnitude scaled by the extents).
int scaleX(const DeviceContext& dc, int length);
int scaleY(const DeviceContext& dc, int length);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);

// Pixel primitives. Device rectangles are in the DC's device units; they honour
// the clip, the device origin and the visible bounds.
void fillDeviceRect(DeviceContext& dc, const RECT& device, COLORREF color);
// Blends `color` over the pixels at (deviceX, deviceY) by the 8-bit coverage
// map (0 leaves the pixel, 255 replaces it).
void blendCoverage(DeviceContext& dc, int deviceX, int deviceY, const std::uint8_t* coverage, int width,
                   int height, int pitchBytes, COLORREF color);

// Keeps the pixels of a DIB section below 32 bpp in step with its bits for
// the duration of a drawing call: reads the bits in first, writes them back
// at the end when `writes`. Nested scopes cost nothing. Every drawing call
// holds one; code that writes surface pixels itself (through clippedRects)
// should too.
class SurfaceAccess {
 public:
  SurfaceAccess(DeviceContext& dc, bool writes);
  ~SurfaceAccess();
  SurfaceAccess(const SurfaceAccess&) = delete;
  SurfaceAccess& operator=(const SurfaceAccess&) = delete;

 private:
  DeviceContext& dc_;
  bool writes_;
  bool outermost_;
};

// Calls visit(const RECT&) for every paintable piece of `device`, given in
// surface coordinates (dc.surface), after clip, origin and visible bounds.
template <class Visit>
void clippedRects(const DeviceContext& dc, const RECT& device, Visit&& visit) {
  if (!dc.surface || dc.surface->empty()) return;
  const long long left = static_cast<long long>(device.left) + dc.deviceOrigin.x;
  const long long top = static_cast<long long>(device.top) + dc.deviceOrigin.y;
  const long long right = static_cast<long long>(device.right) + dc.deviceOrigin.x;
  const long long bottom = static_cast<long long>(device.bottom) + dc.deviceOrigin.y;
  auto clampToSurface = [](long long v, int limit) {
    return static_cast<LONG>(v < 0 ? 0 : (v > limit ? limit : v));
  };
  const RECT onSurface{clampToSurface(left, dc.surface->width), clampToSurface(top, dc.surface->height),
                       clampToSurface(right, dc.surface->width), clampToSurface(bottom, dc.surface->height)};
  dc.effectiveClip().forEachRectIn(onSurface, visit);
}

}  // namespace win
