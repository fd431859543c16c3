#pragma once
// A radio button. Checking it (by a press, or by the program) runs OnClick;
// unchecking does not. It never unchecks the other radio buttons of its
// parent: whoever groups them does that. Taking the focus from the keyboard
// (or the program) checks an unchecked radio button, as classic radio
// buttons do; a press of the mouse checks it when released.
#include "platform/gui/TButtonControl.h"

namespace gui {

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  bool GetChecked() const override { return checked_; }
  // Also makes the button a tab stop exactly when checked.
  void SetChecked(bool Value) override;
  void WndProc(TMessage& Message) override;

 protected:
  void Pressed() override { SetChecked(true); }
  void Paint() override;

 private:
  bool checked_ = false;
};

}  // namespace gui
