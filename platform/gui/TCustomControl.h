#pragma once
// Window controls and windowless controls that paint themselves on a canvas.
#include <memory>

#include "platform/gui/TControlCanvas.h"
#include "platform/gui/TWinControl.h"

namespace gui {

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas& Canvas() { return *canvas_; }

 protected:
  // Draws the control on Canvas; the default draws nothing.
  virtual void Paint() {}
  void PaintWindow(win::HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas& Canvas() { return *canvas_; }
  void WndProc(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace gui
