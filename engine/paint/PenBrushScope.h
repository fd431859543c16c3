#pragma once
// PenBrushScope: puts a canvas's pen and brush (and, when asked, its font)
// back as they were when the scope ends, also when drawing fails in between.
#include <memory>
#include <string_view>

#include "platform/gui/TBrush.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TFont.h"
#include "platform/gui/TPen.h"

namespace engine {

// Whether the scope also keeps the canvas's font.
enum class CanvasFont { Left, Kept };

class PenBrushScope {
 public:
  explicit PenBrushScope(gui::TCanvas& canvas, CanvasFont font = CanvasFont::Left) : canvas_(canvas) {
    pen_.Assign(&canvas.Pen());
    brush_.Assign(&canvas.Brush());
    if (font == CanvasFont::Kept) {
      font_ = std::make_unique<gui::TFont>();
      font_->Assign(&canvas.Font());
    }
  }
  ~PenBrushScope() {
    if (font_) {
      canvas_.SetFont(*font_);
      canvas_.TextExtent(std::u16string_view());  // text drawing uses the DC's font
    }
    canvas_.SetPen(pen_);
    canvas_.SetBrush(brush_);
  }
  PenBrushScope(const PenBrushScope&) = delete;
  PenBrushScope& operator=(const PenBrushScope&) = delete;

 private:
  gui::TCanvas& canvas_;
  gui::TPen pen_;
  gui::TBrush brush_;
  std::unique_ptr<gui::TFont> font_;
};

}  // namespace engine
