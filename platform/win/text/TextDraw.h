#pragma once
// Drawing text with the font, colours, background mode and text alignment of
// a DC. Glyphs are grey-scale coverage blended in the text colour; the pen
// advances exactly as GetTextExtentExPointW measures.
#include "platform/win/text/FontTypes.h"

namespace win {

// lpDx, when given, holds the logical advance of each character and replaces
// the font's advances, character extra and justification.
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WCHAR* text, UINT count,
                 const int* lpDx);
BOOL TextOutW(HDC dc, int x, int y, const WCHAR* text, int count);
// The ANSI form; the bytes are read in the ANSI code page (1252).
BOOL TextOutA(HDC dc, int x, int y, const char* text, int count);

}  // namespace win
