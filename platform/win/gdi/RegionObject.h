#pragma once
// Region objects and the region calls. Regions are exact pixel sets (see
// Region.h); elliptic and polygonal regions hold exactly the pixels that
// Ellipse and Polygon fill.
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/Region.h"

namespace win {

constexpr DWORD RDH_RECTANGLES = 1;

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(GdiObjectKind::Region) {}
  Region region;
};

RegionObject* regionFromHandle(HRGN region);
// Registers a region object; 0 when the table is full.
HRGN makeRegionHandle(Region region);

struct RGNDATAHEADER {
  DWORD dwSize;    // 32
  DWORD iType;     // RDH_RECTANGLES
  DWORD nCount;    // rectangles that follow
  DWORD nRgnSize;  // bytes of rectangle data
  RECT rcBound;
};

struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];  // nCount RECTs follow
};

struct XFORM {
  float eM11;
  float eM12;
  float eM21;
  float eM22;
  float eDx;
  float eDy;
};

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
// Rectangles from `data` (at most `count` bytes), transformed by `xform` when
// given; only scaling and translation are supported (shear fails with 0).
HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
// The region as RGNDATA; with null `data` (or too small a buffer) returns the size needed.
DWORD GetRegionData(HRGN region, DWORD count, RGNDATA* data);
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL EqualRgn(HRGN region1, HRGN region2);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, RECT* box);
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);

}  // namespace win
