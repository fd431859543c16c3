#pragma once
// TButtonFormControlObj: INPUT TYPE=submit, reset and button, shown as a push
// button that submits or resets its form.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace gui {
class TButton;
}  // namespace gui

namespace engine {

class TButtonFormControlObj : public TFormControlObj {
 public:
  enum class ButtonKind { Submit, Reset, Button };
  TButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                        const std::string& type, TProperties& properties);
  void SizeFromFont(gui::TCanvas* canvas) override;
  // What a click does after the host heard of it.
  void ButtonClick();
  gui::TButton* Button() const;

  ButtonKind Which = ButtonKind::Button;
};

}  // namespace engine
