#include "platform/gui/TControlCanvas.h"

#include "platform/gui/GdiCalls.h"
#include "platform/gui/TWinControl.h"
#include "platform/gui/UserCalls.h"

namespace gui {

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::FreeHandle() {
  if (!window_) return;
  const win::HDC dc = Handle();
  SetHandle(0);
  win::ReleaseDC(window_, dc);
  window_ = 0;
}

void TControlCanvas::UsePaintDC(win::HDC DC) {
  FreeHandle();
  SetHandle(DC);
}

void TControlCanvas::CreateHandle() {
  if (auto* windowed = dynamic_cast<TWinControl*>(&control_)) {
    window_ = windowed->Handle();
    SetHandle(win::GetDC(window_));
    return;
  }
  TWinControl* parent = control_.Parent();
  if (!parent) return;
  window_ = parent->Handle();
  const win::HDC dc = win::GetDC(window_);
  win::IntersectClipRect(dc, control_.Left(), control_.Top(), control_.Left() + control_.Width(),
                         control_.Top() + control_.Height());
  win::SetViewportOrgEx(dc, control_.Left(), control_.Top(), nullptr);
  SetHandle(dc);
}

}  // namespace gui
