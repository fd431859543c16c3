#pragma once
// Metrics and names of the font selected into a DC, in the DC's logical units.
#include "platform/win/text/FontTypes.h"

namespace win {

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
// Copies the face name (see FontObject::textFace) with its terminating zero
// into at most `count` units; returns the units copied including the zero, or
// with a null buffer the units needed. 0 on failure.
int GetTextFaceW(HDC dc, int count, WCHAR* faceName);
// The charset of the selected font as the device reports it; DEFAULT_CHARSET on failure.
int GetTextCharset(HDC dc);

}  // namespace win
