#include "platform/win/gdi/PenObject.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace win {
int PenObject::describe(int bufferSize, void* buffer) const {
  if (kind == GdiObjectKind::Pen) {
    LOGPEN pen{style, POINT{width, 0}, color};
    return copyDescription(pen, bufferSize, buffer);
  }
  EXTLOGPEN pen{style, static_cast<DWORD>(width), brushStyle, color, 0, 0, {0}};
  return copyDescription(pen, bufferSize, buffer);
}

DWORD PenObject::objectType() const { return kind == GdiObjectKind::Pen ? OBJ_PEN : OBJ_EXTPEN; }

PenObject* penFromHandle(HPEN handle) {
  if (PenObject* pen = gdiObjectAs<PenObject>(handle, GdiObjectKind::Pen)) return pen;
  return gdiObjectAs<PenObject>(handle, GdiObjectKind::ExtPen);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  const DWORD dash = static_cast<DWORD>(style) & PS_STYLE_MASK;
  if (style < 0 || static_cast<DWORD>(style) != dash || dash > PS_INSIDEFRAME) return 0;
  auto pen = std::make_unique<PenObject>(false);
  pen->style = dash;
  pen->width = std::max(width, 0);
  // Dashed and dotted pens are always one pixel wide.
  if (dash >= PS_DASH && dash <= PS_DASHDOTDOT && pen->width > 1) pen->width = 1;
  pen->color = color;
  return addGdiObject(std::move(pen));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return 0;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  (void)styles;
  if (!brush || styleCount != 0) return 0;
  const DWORD type = style & PS_TYPE_MASK;
  if (type != PS_COSMETIC && type != PS_GEOMETRIC) return 0;
  if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) return 0;
  if (type == PS_COSMETIC && width != 1) return 0;
  if (brush->lbStyle != 0 && brush->lbStyle != 1) return 0;  // solid or null brushes only
  auto pen = std::make_unique<PenObject>(true);
  pen->style = brush->lbStyle == 1 ? (style & ~PS_STYLE_MASK) | PS_NULL : style;
  pen->width = static_cast<int>(std::min<DWORD>(width, 1u << 20));
  pen->color = brush->lbColor;
  pen->brushStyle = brush->lbStyle;
  return addGdiObject(std::move(pen));
}

}  // namespace win
