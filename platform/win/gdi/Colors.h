#pragma once
// Colour values. A COLORREF is 0x00BBGGRR; 0xFF0000nn names system colour nn
// and the palette flags 0x01000000 / 0x02000000 are accepted and ignored on
// our true-colour surfaces. Surface pixels are 0x00RRGGBB.
#include <cstdint>
#include <functional>

#include "platform/win/Types.h"

namespace win {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr COLORREF kSystemColorFlag = 0xFF000000;

// The system colour lookup used by resolveColor; GetSysColor by default.
// Tests may install their own.
std::function<COLORREF(int)>& systemColorResolver();

// Turns any COLORREF into a plain 0x00BBGGRR value: system colours are looked
// up, palette flags dropped. Every drawing call passes colours through this.
COLORREF resolveColor(COLORREF color);

constexpr std::uint32_t colorToPixel(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF pixelToColor(std::uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// The pixel value for a COLORREF after resolving system colours and flags.
inline std::uint32_t resolvedPixel(COLORREF c) { return colorToPixel(resolveColor(c)); }

}  // namespace win
