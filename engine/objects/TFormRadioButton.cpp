#include "engine/objects/TFormRadioButton.h"

#include "platform/win/user/Input.h"
#include "platform/win/user/Messages.h"

namespace engine {

void TFormRadioButton::SetChecked(bool Value) {
  // Focus that arrives by Tab checks a classic radio button; a form's radio
  // only changes by click, arrow key or program.
  if (win::GetKeyState(win::VK_TAB) < 0) return;
  gui::TRadioButton::SetChecked(Value);
}

void TFormRadioButton::WndProc(gui::TMessage& Message) {
  gui::TRadioButton::WndProc(Message);
  if (Message.Msg == win::WM_GETDLGCODE) Message.Result |= win::DLGC_WANTARROWS;
}

}  // namespace engine
