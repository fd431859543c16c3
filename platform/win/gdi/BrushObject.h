#pragma once
// Brushes: solid colours and the null brush. A brush "handle" 1..31 stands for
// the system colour brush of colour (handle - 1), as in (HBRUSH)(COLOR_WINDOW + 1).
#include "platform/win/Types.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/PenObject.h"

namespace win {

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(GdiObjectKind::Brush) {}
  int describe(int bufferSize, void* buffer) const override;

  UINT style = BS_SOLID;
  COLORREF color = 0;
};

constexpr HBRUSH kLastSystemColorBrush = 31;

// What painting with `brush` means: a colour, or nothing for null brushes and
// bad handles. Resolves system colour brushes and system colours.
struct BrushPaint {
  bool paints = false;
  COLORREF color = 0;
};
BrushPaint brushPaint(HBRUSH brush);

HBRUSH CreateSolidBrush(COLORREF color);
// BS_SOLID and BS_NULL (BS_HOLLOW); other styles fail with 0.
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

}  // namespace win
