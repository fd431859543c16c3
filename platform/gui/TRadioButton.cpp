#include "platform/gui/TRadioButton.h"

#include "platform/gui/TCheckBox.h"
#include "platform/gui/UserCalls.h"

namespace gui {

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(Left(), Top(), 113, 17); }

void TRadioButton::SetChecked(bool Value) {
  if (Value == checked_) return;
  checked_ = Value;
  SetTabStop(Value);
  Perform(win::BM_SETCHECK, Value ? win::BST_CHECKED : win::BST_UNCHECKED, 0);
  if (!Value) return;
  Changed();
  if (!ClicksDisabled()) Click();
}

void TRadioButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_GETDLGCODE:
      Message.Result = win::DLGC_BUTTON | win::DLGC_RADIOBUTTON;
      return;
    case win::WM_SETFOCUS:
      TButtonControl::WndProc(Message);
      if (!FocusCameFromMouse() && Perform(win::BM_GETCHECK, 0, 0) == win::BST_UNCHECKED) SetChecked(true);
      return;
    default:
      TButtonControl::WndProc(Message);
  }
}

void TRadioButton::Paint() { PaintCheckControl(*this, Canvas(), true, Pushed()); }

}  // namespace gui
