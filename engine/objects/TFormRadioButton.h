#pragma once
// TFormRadioButton: the radio button of a form. It asks for the arrow keys
// (the form moves the focus inside the radio group with them), and the Tab
// key that brings the focus to it does not check it.
#include "platform/gui/TRadioButton.h"

namespace engine {

class TFormRadioButton : public gui::TRadioButton {
 public:
  using gui::TRadioButton::TRadioButton;
  void SetChecked(bool Value) override;
  void WndProc(gui::TMessage& Message) override;
};

}  // namespace engine
