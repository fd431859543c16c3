#pragma once
// PenBrushScope: puts a canvas's pen and brush back as they were when the
// scope ends, also when drawing fails in between.
#include "platform/gui/TBrush.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TPen.h"

namespace engine {

class PenBrushScope {
 public:
  explicit PenBrushScope(gui::TCanvas& canvas) : canvas_(canvas) {
    pen_.Assign(&canvas.Pen());
    brush_.Assign(&canvas.Brush());
  }
  ~PenBrushScope() {
    canvas_.SetPen(pen_);
    canvas_.SetBrush(brush_);
  }
  PenBrushScope(const PenBrushScope&) = delete;
  PenBrushScope& operator=(const PenBrushScope&) = delete;

 private:
  gui::TCanvas& canvas_;
  gui::TPen pen_;
  gui::TBrush brush_;
};

}  // namespace engine
