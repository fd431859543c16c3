#pragma once
// TFormCheckBox: the check box of a form. It asks for the arrow keys, which
// its form hands on to the viewer's own key handling.
#include "platform/gui/TCheckBox.h"

namespace engine {

class TFormCheckBox : public gui::TCheckBox {
 public:
  using gui::TCheckBox::TCheckBox;
  void WndProc(gui::TMessage& Message) override;
};

}  // namespace engine
