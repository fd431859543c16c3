#pragma once
// The stock objects: created once, never deleted.
#include <functional>

#include "platform/win/Types.h"

namespace win {

constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;

// The font code answers GetStockObject for the stock font numbers; it must
// return a font marked stock. Unset (or returning 0): no stock fonts.
std::function<HGDIOBJ(int)>& stockFontProvider();

HGDIOBJ GetStockObject(int index);
// The 1x1 monochrome bitmap every new memory DC holds.
HBITMAP stockBitmap();

}  // namespace win
