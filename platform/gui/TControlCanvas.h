#pragma once
// The canvas of a control: during painting it draws on the paint DC; at other
// times it takes a DC of the control's window (for a windowless control, of
// its parent's window, moved to the control and clipped to it).
#include "platform/gui/TCanvas.h"

namespace gui {

class TControl;

class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl& Control) : control_(Control) {}
  ~TControlCanvas() override;

  // Lets go of a DC taken from the window.
  void FreeHandle();
  // Draws on DC (the paint DC) until the next call; 0 ends it.
  void UsePaintDC(win::HDC DC);

 protected:
  void CreateHandle() override;

 private:
  TControl& control_;
  win::HWND window_ = 0;  // whose DC we took, 0 when none
};

}  // namespace gui
