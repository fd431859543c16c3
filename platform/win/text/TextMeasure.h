#pragma once
// Measuring text with the font selected into a DC, in logical units. A
// string's width is the sum of its advances plus the character extra per
// character plus the justification of its break characters; drawing uses the
// same sums. No kerning, no shaping: each UTF-16 unit is one character.
#include "platform/win/text/FontTypes.h"

namespace win {

BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size);
// The ANSI form; the bytes are read in the ANSI code page (1252).
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);
// With `fit`, the number of leading characters whose extent stays within
// maxExtent (a negative maxExtent fits none). With `partialExtents`, the
// extent of the first 1, 2, ... count characters (the array holds count entries).
BOOL GetTextExtentExPointW(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit, int* partialExtents,
                           SIZE* size);
// Advance widths of the characters first..last, without character extra.
BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* widths);

}  // namespace win
