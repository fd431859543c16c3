#include "platform/gui/TPen.h"

#include "platform/win/gdi/PenObject.h"

namespace gui {

void TPen::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == width_) return;
  width_ = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == style_) return;
  style_ = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == mode_) return;
  mode_ = Value;
  // The mode is DC state, not part of the handle.
  if (OnChange) OnChange(this);
}

int TPen::Rop2() const {
  // R2_BLACK is 1, and the modes follow the R2_ numbering from there.
  static constexpr int kRop2[] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};
  return kRop2[mode_];
}

void TPen::Assign(const TPersistent* Source) {
  const auto* pen = dynamic_cast<const TPen*>(Source);
  if (!pen) {
    TPersistent::Assign(Source);
    return;
  }
  if (pen == this) return;
  color_ = pen->color_;
  width_ = pen->width_;
  style_ = pen->style_;
  mode_ = pen->mode_;
  Changed();
}

win::HGDIOBJ TPen::CreateHandle() const {
  static constexpr int kStyles[] = {
      static_cast<int>(win::PS_SOLID),      static_cast<int>(win::PS_DASH),
      static_cast<int>(win::PS_DOT),        static_cast<int>(win::PS_DASHDOT),
      static_cast<int>(win::PS_DASHDOTDOT), static_cast<int>(win::PS_NULL),
      static_cast<int>(win::PS_INSIDEFRAME)};
  return win::CreatePen(kStyles[style_], width_, ColorToRGB(color_));
}

}  // namespace gui
