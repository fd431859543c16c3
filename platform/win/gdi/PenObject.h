#pragma once
// Pens: cosmetic (one pixel, optionally dashed) and geometric (wide, with
// end caps and joins).
#include <cstdint>

#include "platform/win/Types.h"
#include "platform/win/gdi/GdiObject.h"

namespace win {

constexpr DWORD PS_SOLID = 0;
constexpr DWORD PS_DASH = 1;
constexpr DWORD PS_DOT = 2;
constexpr DWORD PS_DASHDOT = 3;
constexpr DWORD PS_DASHDOTDOT = 4;
constexpr DWORD PS_NULL = 5;
constexpr DWORD PS_INSIDEFRAME = 6;
constexpr DWORD PS_STYLE_MASK = 0x0000000F;
constexpr DWORD PS_ENDCAP_ROUND = 0x00000000;
constexpr DWORD PS_ENDCAP_SQUARE = 0x00000100;
constexpr DWORD PS_ENDCAP_FLAT = 0x00000200;
constexpr DWORD PS_ENDCAP_MASK = 0x00000F00;
constexpr DWORD PS_JOIN_ROUND = 0x00000000;
constexpr DWORD PS_JOIN_BEVEL = 0x00001000;
constexpr DWORD PS_JOIN_MITER = 0x00002000;
constexpr DWORD PS_JOIN_MASK = 0x0000F000;
constexpr DWORD PS_COSMETIC = 0x00000000;
constexpr DWORD PS_GEOMETRIC = 0x00010000;
constexpr DWORD PS_TYPE_MASK = 0x000F0000;

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // only x is used
  COLORREF lopnColor;
};

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  std::uintptr_t lbHatch;
};

struct EXTLOGPEN {
  DWORD elpPenStyle;
  DWORD elpWidth;
  UINT elpBrushStyle;
  COLORREF elpColor;
  std::uintptr_t elpHatch;
  DWORD elpNumEntries;
  DWORD elpStyleEntry[1];
};

struct PenObject : GdiObject {
  explicit PenObject(bool extended) : GdiObject(extended ? GdiObjectKind::ExtPen : GdiObjectKind::Pen) {}
  int describe(int bufferSize, void* buffer) const override;
  DWORD objectType() const override;

  DWORD style = PS_SOLID;  // full style word: type, cap, join and dash style
  int width = 1;           // logical units; 0 and 1 draw one device pixel wide
  COLORREF color = 0;
  UINT brushStyle = 0;     // for pens made by ExtCreatePen

  DWORD dashStyle() const { return style & PS_STYLE_MASK; }
  bool geometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

// The pen object behind a handle of either pen kind, else nullptr.
PenObject* penFromHandle(HPEN pen);

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
// Supports solid-colour brushes; cosmetic pens are one pixel wide.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);

}  // namespace win
