#pragma once
// Mapping modes: MM_TEXT (one logical unit is one pixel, y down),
// MM_ANISOTROPIC (window and viewport extents scale each axis freely) and
// MM_ISOTROPIC (the same scale on both axes: the viewport extent shrinks to fit).
// Device = (logical - window origin) * viewport extent / window extent + viewport origin.
#include "platform/win/Types.h"

namespace win {

int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* previous);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* previous);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL GetWindowOrgEx(HDC dc, POINT* origin);
BOOL GetWindowExtEx(HDC dc, SIZE* extent);
BOOL GetViewportOrgEx(HDC dc, POINT* origin);
BOOL GetViewportExtEx(HDC dc, SIZE* extent);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetBrushOrgEx(HDC dc, POINT* origin);

}  // namespace win
