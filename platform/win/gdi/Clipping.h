#pragma once
// The clip region of a device context. Clip regions are in device units;
// rectangles given to IntersectClipRect and ExcludeClipRect are logical.
#include "platform/win/Types.h"

namespace win {

int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
// 1 and a copy in `region` when the DC has a clip region, 0 when it has none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
// The logical bounding box of what the DC can paint.
int GetClipBox(HDC dc, RECT* box);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);

}  // namespace win
