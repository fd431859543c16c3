#include "platform/gui/TBrush.h"

#include "platform/win/gdi/BrushObject.h"

namespace gui {

void TBrush::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  // A clear brush that gets a colour becomes solid again.
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == style_) return;
  style_ = Value;
  Changed();
}

void TBrush::Assign(const TPersistent* Source) {
  const auto* brush = dynamic_cast<const TBrush*>(Source);
  if (!brush) {
    TPersistent::Assign(Source);
    return;
  }
  if (brush == this) return;
  color_ = brush->color_;
  style_ = brush->style_;
  Changed();
}

win::HGDIOBJ TBrush::CreateHandle() const {
  win::LOGBRUSH logBrush{};
  logBrush.lbColor = ColorToRGB(color_);
  // Hatched styles paint solid: our drawing core has no hatch patterns.
  logBrush.lbStyle = style_ == bsClear ? win::BS_NULL : win::BS_SOLID;
  return win::CreateBrushIndirect(&logBrush);
}

}  // namespace gui
