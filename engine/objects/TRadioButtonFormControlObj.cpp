#include "engine/objects/TRadioButtonFormControlObj.h"

#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/ThtmlForm.h"
#include "platform/gui/TRadioButton.h"

namespace engine {

TRadioButtonFormControlObj::TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form,
                                                       const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  DefaultChecked = FindAttribute(attributes, symChecked) != nullptr;
  Place.Align = kAlignBaseline;
  auto radio = std::make_unique<gui::TRadioButton>(nullptr);
  radio->SetChecked(DefaultChecked);
  radio->SetTabStop(true);
  AdoptWindow(std::move(radio), properties);
  // The group's checked radio, else its first one, is the group's tab stop.
  // Only that one can be checked, so a new checked radio replaces it alone
  // (groups of many checked radios stay linear).
  TRadioButtonFormControlObj*& lead = Form->RadioLead(Name);
  if (DefaultChecked) {
    if (lead) {
      lead->DefaultChecked = false;
      lead->SetChecked(false);
      lead->control_->SetTabStop(false);
    }
    lead = this;
  } else if (lead) {
    control_->SetTabStop(false);
  } else {
    lead = this;
  }
  control_->OnClick = [this](gui::TObject*) {
    if (Checked()) RadioClick();
  };
}

bool TRadioButtonFormControlObj::Checked() const {
  return static_cast<gui::TRadioButton*>(control_.get())->GetChecked();
}

void TRadioButtonFormControlObj::SetChecked(bool checked) {
  auto* radio = static_cast<gui::TRadioButton*>(control_.get());
  if (radio->GetChecked() == checked) return;
  // Checking by program must not run the click handler, which would uncheck the group again.
  auto onClick = std::move(radio->OnClick);
  radio->OnClick = nullptr;
  radio->SetChecked(checked);
  radio->OnClick = std::move(onClick);
}

void TRadioButtonFormControlObj::RadioClick() {
  Form->UncheckGroup(this);
  control_->SetTabStop(true);
  for (TRadioButtonFormControlObj* other : Form->RadioGroup(Name))
    if (other != this) other->control_->SetTabStop(false);
}

void TRadioButtonFormControlObj::SizeFromFont(gui::TCanvas*) {
  Place.ImageWidth = 13;
  Place.ImageHeight = 14;
  control_->SetBounds(control_->Left(), control_->Top(), 13, 14);
}

void TRadioButtonFormControlObj::ResetToDefault() { SetChecked(DefaultChecked); }

bool TRadioButtonFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0 || !Checked()) return false;
  text = Name + "=" + Value;
  return true;
}

void TRadioButtonFormControlObj::RestoreValue(int, const std::string& value) {
  if (LowerCase(value) == LowerCase(Value)) SetChecked(true);
}

}  // namespace engine
