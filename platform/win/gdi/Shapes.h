#pragma once
// Lines, outlines and filled shapes in logical coordinates, with GDI's pixel
// rules: a rectangle covers [left, right) x [top, bottom) including its
// outline, LineTo leaves out its end point, and shapes drawn with the null
// pen shrink by one pixel at the right and bottom.
#include "platform/win/Types.h"

namespace win {

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const int* counts, int polygonCount);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Counter-clockwise along the ellipse from the radial through (xStart, yStart)
// to the one through (xEnd, yEnd).
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

// Brush fills ignore the ROP2 mode. `brush` may be a system colour brush.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
// Inverts every other pixel of the rectangle's outline; drawing it twice
// restores the pixels.
BOOL DrawFocusRect(HDC dc, const RECT* rect);

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the clip or the surface.
COLORREF GetPixel(HDC dc, int x, int y);

}  // namespace win
