#include "engine/objects/TCheckBoxFormControlObj.h"

#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/TFormCheckBox.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/paint/Frames3D.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/TCanvas.h"

namespace engine {

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                                                 const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  if (!FindAttribute(attributes, symValue)) Value = "on";
  DefaultChecked = FindAttribute(attributes, symChecked) != nullptr;
  enterChecked_ = DefaultChecked;
  Place.Align = kAlignBaseline;
  auto box = std::make_unique<TFormCheckBox>(nullptr);
  box->SetChecked(DefaultChecked);
  box->OnKeyDown = [this](gui::TObject*, win::WORD& key, gui::TShiftState shift) {
    Form->ControlKeyDown(this, key, shift);
  };
  box->OnClick = [this](gui::TObject*) { ClickHandler(); };
  AdoptWindow(std::move(box), properties);
}

bool TCheckBoxFormControlObj::Checked() const { return static_cast<TFormCheckBox*>(control_.get())->GetChecked(); }

void TCheckBoxFormControlObj::SetChecked(bool checked) {
  Quietly([this, checked] { static_cast<TFormCheckBox*>(control_.get())->SetChecked(checked); });
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

void TCheckBoxFormControlObj::SaveEnterValue() { enterChecked_ = Checked(); }

bool TCheckBoxFormControlObj::CheckChanged() { return Checked() == enterChecked_ || FireChange(); }

void TCheckBoxFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  const int height = control_->Height();
  DrawControlFrame3D(canvas, x, y, x + control_->Width(), y + height, gui::clWhite, /*useButtonFace=*/Disabled,
                     Document && Document->PrintMonochrome, /*raised=*/false);
  if (!Checked()) return;
  const int middle = y + height / 2;
  PenBrushScope kept(canvas);
  canvas.Pen().SetColor(gui::clBlack);
  canvas.Pen().SetWidth(1);
  canvas.Polyline({{x + 3, middle}, {x + 5, middle + 2}, {x + 9, middle - 2}});
}

}  // namespace engine
