#include "platform/win/gdi/BrushObject.h"

#include <cstring>
#include <memory>

#include "platform/win/gdi/Colors.h"

namespace win {

int BrushObject::describe(int bufferSize, void* buffer) const {
  return copyDescription(LOGBRUSH{style, color, 0}, bufferSize, buffer);
}

BrushPaint brushPaint(HBRUSH handle) {
  if (handle >= 1 && handle <= kLastSystemColorBrush)
    return {true, resolveColor(kSystemColorFlag | (handle - 1))};
  const BrushObject* brush = gdiObjectAs<BrushObject>(handle, GdiObjectKind::Brush);
  if (!brush || brush->style == BS_NULL) return {};
  return {true, resolveColor(brush->color)};
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto brush = std::make_unique<BrushObject>();
  brush->color = color;
  return addGdiObject(std::move(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
  if (!logBrush || (logBrush->lbStyle != BS_SOLID && logBrush->lbStyle != BS_NULL)) return 0;
  auto brush = std::make_unique<BrushObject>();
  brush->style = logBrush->lbStyle;
  brush->color = logBrush->lbColor;
  return addGdiObject(std::move(brush));
}

}  // namespace win
