#pragma once
// Formatted text in a rectangle: lines at CR, LF or CR LF (unless
// DT_SINGLELINE), word wrapping at blanks (DT_WORDBREAK), horizontal and, for
// single lines, vertical alignment, "&" mnemonics (unless DT_NOPREFIX: "&x"
// draws an underlined x, "&&" a plain "&"), tab stops every eight average
// character widths (DT_EXPANDTABS), clipping to the rectangle (unless
// DT_NOCLIP), and DT_CALCRECT, which only sizes the rectangle. A final line
// break adds no empty line. Lines are placed from the rectangle's top-left,
// whatever the DC's text alignment, and without its justification.
#include "platform/win/text/FontTypes.h"

namespace win {

// count -1: the text is zero-terminated. Returns the height of the text in
// logical units (for a single line with DT_VCENTER or DT_BOTTOM, the offset
// from the rectangle's top to the bottom of the text); 0 on failure.
int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format);

}  // namespace win
