#pragma once
// Plain device-context attributes and the SaveDC/RestoreDC state stack.
#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"

namespace win {

// Pushes the DC state; returns the new depth (>= 1), 0 on failure.
int SaveDC(HDC dc);
// Pops to `level` (a depth SaveDC returned, or negative: that many back).
BOOL RestoreDC(HDC dc, int level);

COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
// Stores the extra space for the break characters of the text outputs that
// follow; see breakExtraFor. A zero count clears it. The share of each break
// carries on from one output call to the next until this is called again, so
// a line drawn in several pieces ends where the line drawn whole ends.
BOOL SetTextJustification(HDC dc, int breakExtra, int breakCount);
int SetTextCharacterExtra(HDC dc, int charExtra);
int GetTextCharacterExtra(HDC dc);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);

// Extra pixels for the break character at `breakIndex` (0-based) of the next
// output, counted on from the breaks earlier outputs drew: breakExtra /
// breakCount each, the remainder going one pixel at a time to the first
// breaks of the line (with the sign of breakExtra). Measuring reads the same
// shares without using them up.
int breakExtraFor(const DcState& state, int breakIndex);

}  // namespace win
