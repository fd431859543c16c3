#include "engine/objects/TFormCheckBox.h"

#include "platform/win/user/Messages.h"

namespace engine {

void TFormCheckBox::WndProc(gui::TMessage& Message) {
  gui::TCheckBox::WndProc(Message);
  if (Message.Msg == win::WM_GETDLGCODE) Message.Result |= win::DLGC_WANTARROWS;
}

}  // namespace engine
