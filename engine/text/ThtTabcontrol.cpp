#include "engine/text/ThtTabcontrol.h"

#include "platform/win/user/Messages.h"

namespace engine {

ThtTabcontrol::ThtTabcontrol(gui::TWinControl* parent) : gui::TWinControl(nullptr) {
  SetParent(parent);
  SetBounds(-4000, 0, 1, 1);
  SetTabStop(true);
}

void ThtTabcontrol::WndProc(gui::TMessage& Message) {
  if (Message.Msg == win::WM_GETDLGCODE) {
    Message.Result = win::DLGC_WANTARROWS;
    return;
  }
  gui::TWinControl::WndProc(Message);
}

}  // namespace engine
