#pragma once
// A push button: clicks when released over it, on Space and on Enter.
#include "platform/gui/TButtonControl.h"

namespace gui {

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  // Runs OnClick as a user's click would.
  void Click() override { TButtonControl::Click(); }

 protected:
  void Pressed() override { Click(); }
  void KeyDown(win::WORD& Key, TShiftState Shift) override;
  void Paint() override;
};

}  // namespace gui
