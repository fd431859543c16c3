#include "engine/objects/TRadioButtonFormControlObj.h"

#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/TFormRadioButton.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TScreen.h"

namespace engine {

namespace {

// Classic radio buttons grow at high resolutions.
bool LargeRadio() { return gui::Screen->PixelsPerInch() >= 101; }

}  // namespace

TRadioButtonFormControlObj::TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form,
                                                       const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  DefaultChecked = FindAttribute(attributes, symChecked) != nullptr;
  enterChecked_ = DefaultChecked;
  Place.Align = kAlignBaseline;
  auto radio = std::make_unique<TFormRadioButton>(nullptr);
  radio->SetChecked(DefaultChecked);
  radio->SetTabStop(true);
  radio->OnKeyDown = [this](gui::TObject*, win::WORD& key, gui::TShiftState shift) {
    Form->ControlKeyDown(this, key, shift);
  };
  AdoptWindow(std::move(radio), properties);
  // The group's checked radio, else its first one, is the group's tab stop.
  // Only that one can be checked, so a new checked radio replaces it alone
  // (groups of many checked radios stay linear).
  TRadioButtonFormControlObj*& lead = Form->RadioLead(Name);
  if (DefaultChecked) {
    if (lead) {
      lead->DefaultChecked = false;
      lead->enterChecked_ = false;
      lead->SetChecked(false);
      lead->SetTabStop(false);
    }
    lead = this;
  } else if (lead) {
    SetTabStop(false);
  } else {
    lead = this;
  }
  control_->OnClick = [this](gui::TObject*) {
    if (!Quiet() && Checked()) RadioClick();
  };
}

bool TRadioButtonFormControlObj::Checked() const {
  return static_cast<TFormRadioButton*>(control_.get())->GetChecked();
}

void TRadioButtonFormControlObj::SetChecked(bool checked) {
  Quietly([this, checked] { static_cast<TFormRadioButton*>(control_.get())->gui::TRadioButton::SetChecked(checked); });
}

void TRadioButtonFormControlObj::SetTabStop(bool tabStop) { control_->SetTabStop(tabStop); }

void TRadioButtonFormControlObj::RadioClick() {
  if (!Form->UncheckGroup(this)) return;  // the host cleared the document
  SetTabStop(true);
  ClickHandler();
}

void TRadioButtonFormControlObj::SizeFromFont(gui::TCanvas*) {
  Place.ImageWidth = LargeRadio() ? 16 : 13;
  Place.ImageHeight = LargeRadio() ? 16 : 14;
  control_->SetBounds(control_->Left(), control_->Top(), Place.ImageWidth, Place.ImageHeight);
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

void TRadioButtonFormControlObj::SaveEnterValue() { enterChecked_ = Checked(); }

bool TRadioButtonFormControlObj::CheckChanged() { return Checked() == enterChecked_ || FireChange(); }

void TRadioButtonFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  const bool mono = Document && Document->PrintMonochrome;
  PenBrushScope kept(canvas);
  canvas.Brush().SetStyle(gui::bsSolid);
  canvas.Brush().SetColor(Disabled && !mono ? gui::clBtnFace : gui::clWhite);
  canvas.Pen().SetColor(gui::clWhite);
  canvas.Pen().SetWidth(1);
  canvas.Ellipse(x, y, x + 14, y + 14);
  // Upper-left half in shadow, lower-right half in silver, as a sunken circle.
  canvas.Pen().SetWidth(mono ? 1 : 2);
  canvas.Pen().SetColor(mono ? gui::clBlack : gui::clBtnShadow);
  canvas.Arc(x, y, x + 14, y + 14, x + 14, y, x, y + 14);
  canvas.Pen().SetColor(mono ? gui::clBlack : gui::clSilver);
  canvas.Arc(x, y, x + 14, y + 14, x, y + 14, x + 14, y);
  if (!Checked()) return;
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(gui::clBlack);
  canvas.Brush().SetColor(gui::clBlack);
  canvas.Ellipse(x + 5, y + 5, x + 9, y + 9);
}

}  // namespace engine
