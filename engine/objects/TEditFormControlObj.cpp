#include "engine/objects/TEditFormControlObj.h"

#include <algorithm>
#include <cstdint>

#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/ThtmlForm.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TEdit.h"
#include "platform/win/text/TextMetrics.h"

namespace engine {

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
  edit->OnKeyPress = [this](gui::TObject*, char& key) {
    if (key == '\r') {
      key = 0;
      Form->SubmitTheForm("");
    }
  };
  edit->OnClick = [this](gui::TObject*) { ClickHandler(); };
  AdoptWindow(std::move(edit), properties);
  keptHeight_ = control_->Height();
}

gui::TEdit* TEditFormControlObj::Edit() const { return static_cast<gui::TEdit*>(control_.get()); }

void TEditFormControlObj::ApplyStyle(TProperties& properties) {
  TFormControlObj::ApplyStyle(properties);
  // A CSS border replaces the edit's own.
  if (HasCssBorder) Edit()->SetBorderStyle(gui::bsNone);
  if (BkColor != gui::clNone) Edit()->SetColor(BkColor);
}

void TEditFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  win::TEXTMETRICW metrics{};
  win::GetTextMetricsW(canvas->FontHandle(), &metrics);  // the control's font, selected
  const int width = CssWidth >= 10 ? CssWidth
                                   : ClampControlExtent(std::int64_t{metrics.tmAveCharWidth} * EditSize + 23);
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

void TEditFormControlObj::SaveEnterValue() { enterText_ = Edit()->Text(); }

bool TEditFormControlObj::CheckChanged() { return Edit()->Text() == enterText_ || FireChange(); }

void TEditFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  gui::TEdit* edit = Edit();
  const int inset = PrintFrame(canvas, x, y, edit->BorderStyle() != gui::bsNone);
  std::u16string shown = edit->Text();
  if (edit->PasswordChar() != 0) shown.assign(shown.size(), edit->PasswordChar());
  canvas.SetFont(edit->Font());
  canvas.Brush().SetStyle(gui::bsClear);
  const win::RECT clip{x + inset, y + inset, x + edit->Width() - inset, y + edit->Height() - inset};
  const int textHeight = canvas.TextExtent(std::u16string_view(shown.empty() ? u"A" : shown)).cy;
  canvas.TextRect(clip, x + inset, y + (edit->Height() - textHeight) / 2, std::u16string_view(shown));
}

}  // namespace engine
