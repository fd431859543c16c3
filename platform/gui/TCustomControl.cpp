#include "platform/gui/TCustomControl.h"

#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

// Paints through the canvas on the paint DC, handing the DC back afterwards
// even when painting fails.
template <typename Paint>
void paintOn(TControlCanvas& canvas, win::HDC dc, Paint&& paint) {
  canvas.Lock();
  canvas.UsePaintDC(dc);
  try {
    paint();
  } catch (...) {
    canvas.UsePaintDC(0);
    canvas.Unlock();
    throw;
  }
  canvas.UsePaintDC(0);
  canvas.Unlock();
}

}  // namespace

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>(*this)) {}

TCustomControl::~TCustomControl() { canvas_->FreeHandle(); }

void TCustomControl::PaintWindow(win::HDC DC) {
  paintOn(*canvas_, DC, [this] { Paint(); });
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>(*this)) {}

TGraphicControl::~TGraphicControl() { canvas_->FreeHandle(); }

void TGraphicControl::WndProc(TMessage& Message) {
  if (Message.Msg == win::WM_PAINT && Message.WParam) {
    paintOn(*canvas_, static_cast<win::HDC>(Message.WParam), [this] { Paint(); });
    return;
  }
  TControl::WndProc(Message);
}

}  // namespace gui
