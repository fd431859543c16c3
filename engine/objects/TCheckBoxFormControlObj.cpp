#include "engine/objects/TCheckBoxFormControlObj.h"

#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "platform/gui/TCheckBox.h"

namespace engine {

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                                                 const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  if (!FindAttribute(attributes, symValue)) Value = "on";
  DefaultChecked = FindAttribute(attributes, symChecked) != nullptr;
  Place.Align = kAlignBaseline;
  auto box = std::make_unique<gui::TCheckBox>(nullptr);
  box->SetChecked(DefaultChecked);
  AdoptWindow(std::move(box), properties);
}

bool TCheckBoxFormControlObj::Checked() const {
  return static_cast<gui::TCheckBox*>(control_.get())->GetChecked();
}

void TCheckBoxFormControlObj::SetChecked(bool checked) {
  static_cast<gui::TCheckBox*>(control_.get())->SetChecked(checked);
}

void TCheckBoxFormControlObj::SizeFromFont(gui::TCanvas*) {
  Place.ImageWidth = Place.ImageHeight = 13;
  control_->SetBounds(control_->Left(), control_->Top(), 13, 13);
}

void TCheckBoxFormControlObj::ResetToDefault() { SetChecked(DefaultChecked); }

bool TCheckBoxFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0 || !Checked()) return false;
  text = Name + "=" + Value;
  return true;
}

void TCheckBoxFormControlObj::RestoreValue(int, const std::string& value) {
  if (LowerCase(value) == LowerCase(Value)) SetChecked(true);
}

void TCheckBoxFormControlObj::ClearValue() { SetChecked(false); }

}  // namespace engine
