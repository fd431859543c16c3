#include "engine/objects/TInputFormControlObjs.h"

#include <algorithm>
#include <cstdint>

#include "engine/common/TextHelpers.h"
#include "engine/css/TProperties.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/ThtmlForm.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TCheckBox.h"
#include "platform/gui/TEdit.h"
#include "platform/gui/TRadioButton.h"
#include "platform/win/text/TextMetrics.h"

namespace engine {

namespace {

const TAttribute* FindAttribute(const TAttributeList& attributes, THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return attributes.Find(symbol, attribute) ? attribute : nullptr;
}

int ClampedWidth(std::int64_t width) { return static_cast<int>(std::clamp<std::int64_t>(width, 0, 32767)); }

}  // namespace

bool THiddenFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0) return false;
  text = Name + "=" + Value;
  return true;
}

TEditFormControlObj::TEditFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                                         const std::string& type, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  const TAttribute* size = FindAttribute(attributes, symSize);
  EditSize = EditSizeFromAttribute(size ? size->ValueText : std::string(), size != nullptr);
  if (const TAttribute* maxLength = FindAttribute(attributes, symMaxlength)) MaxLength = std::max(0, maxLength->Value);
  auto edit = std::make_unique<gui::TEdit>(nullptr);
  edit->SetWidth(120);
  edit->SetText(ToWide(Value));
  edit->SetMaxLength(MaxLength);
  if (LowerCase(type) == "password") edit->SetPasswordChar(u'*');
  edit->SetReadOnly(ReadOnly);
  keptHeight_ = edit->Height();
  edit->OnKeyPress = [this](gui::TObject*, char& key) {
    if (key == '\r') {
      key = 0;
      Form->SubmitTheForm("");
    }
  };
  AdoptWindow(std::move(edit), properties);
  keptHeight_ = control_->Height();
}

gui::TEdit* TEditFormControlObj::Edit() const { return static_cast<gui::TEdit*>(control_.get()); }

void TEditFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  win::TEXTMETRICW metrics{};
  win::GetTextMetricsW(canvas->Handle(), &metrics);
  const int width = CssWidth >= 10 ? CssWidth
                                   : ClampedWidth(std::int64_t{metrics.tmAveCharWidth} * EditSize + 23);
  const int height = std::max(keptHeight_, std::max(canvas->TextHeight("A"), 10));
  Place.ImageWidth = width;
  Place.ImageHeight = height;
  if (PercentWidthValue > 0) control_->SetBounds(kParkedControlLeft, control_->Top(), 10, height);
  else control_->SetBounds(control_->Left(), control_->Top(), width, height);
}

void TEditFormControlObj::ResetToDefault() { Edit()->SetText(ToWide(Value)); }

bool TEditFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0) return false;
  text = Name + "=" + ToNarrow(Edit()->Text());
  return true;
}

void TEditFormControlObj::RestoreValue(int, const std::string& value) { Edit()->SetText(ToWide(value)); }

void TEditFormControlObj::ClearValue() { Edit()->SetText(u""); }

TButtonFormControlObj::TButtonFormControlObj(TSectionList* document, ThtmlForm* form,
                                             const TAttributeList& attributes, const std::string& type,
                                             TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  const std::string kind = LowerCase(type);
  std::string caption = "Button";
  if (kind == "submit") {
    Which = ButtonKind::Submit;
    caption = FindAttribute(attributes, symValue) ? Value : "Submit";
  } else if (kind == "reset") {
    Which = ButtonKind::Reset;
    caption = FindAttribute(attributes, symValue) ? Value : "Reset";
  } else if (FindAttribute(attributes, symValue)) {
    caption = Value;
  }
  auto button = std::make_unique<gui::TButton>(nullptr);
  button->SetText(ToWide(caption));
  button->OnClick = [this](gui::TObject*) { ButtonClick(); };
  AdoptWindow(std::move(button), properties);
}

gui::TButton* TButtonFormControlObj::Button() const { return static_cast<gui::TButton*>(control_.get()); }

void TButtonFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  const int textHeight = canvas->TextHeight("A");
  const int height = CssHeight < textHeight ? textHeight + 8 : CssHeight;
  const int width = CssWidth < 10 || PercentWidthValue > 0
                        ? ClampedWidth(std::int64_t{canvas->TextWidth(ToNarrow(Button()->Text()))} + 20)
                        : CssWidth;
  Place.ImageWidth = width;
  Place.ImageHeight = height;
  control_->SetBounds(control_->Left(), control_->Top(), width, height);
}

void TButtonFormControlObj::ButtonClick() {
  if (Which == ButtonKind::Reset) {
    Form->ResetControls();
  } else if (Which == ButtonKind::Submit) {
    Form->SubmitTheForm(Name.empty() ? std::string() : Name + "=" + Value);
  }
}

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
