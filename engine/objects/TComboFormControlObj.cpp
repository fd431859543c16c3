#include "engine/objects/TComboFormControlObj.h"

#include <algorithm>
#include <cstdint>

#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/paint/Frames3D.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TComboBox.h"
#include "platform/win/user/SystemMetrics.h"

namespace engine {

TComboFormControlObj::TComboFormControlObj(TSectionList* document, ThtmlForm* form,
                                           const TAttributeList& attributes, TProperties& properties)
    : TListBoxFormControlObj(document, form, attributes) {
  auto combo = std::make_unique<gui::TComboBox>(nullptr);
  combo->OnClick = [this](gui::TObject*) { ClickHandler(); };
  // Opening the list counts as a click.
  combo->OnDropDown = [this](gui::TObject*) { ClickHandler(); };
  AdoptWindow(std::move(combo), properties);
}

TComboFormControlObj::~TComboFormControlObj() {
  if (gui::TComboBox* combo = Combo()) {
    combo->OnDropDown = nullptr;
    combo->OnCloseUp = nullptr;
  }
}

gui::TComboBox* TComboFormControlObj::Combo() const { return static_cast<gui::TComboBox*>(control_.get()); }

void TComboFormControlObj::ResetToDefault() {
  gui::TComboBox* combo = Combo();
  combo->Items().Assign(OptionTexts());
  int chosen = 0;
  for (std::size_t i = 0; i < Options.size(); ++i)
    if (Options[i].Selected) chosen = static_cast<int>(i);
  combo->SetItemIndex(Options.empty() ? -1 : chosen);
}

void TComboFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  Longest = 3;
  for (const TOptionObj& option : Options) Longest = std::max(Longest, canvas->TextWidth(option.Text));
  gui::TComboBox* combo = Combo();
  if (CssHeight > 9) combo->SetHeight(CssHeight);
  if (PercentWidthValue > 0) combo->SetBounds(kParkedControlLeft, combo->Top(), 10, combo->Height());
  else if (CssWidth >= 10) combo->SetWidth(CssWidth);
  else combo->SetClientWidth(ClampControlExtent(std::int64_t{win::GetSystemMetrics(win::SM_CXVSCROLL)} + Longest + 10));
  Place.ImageWidth = combo->Width();
  Place.ImageHeight = combo->Height();
}

bool TComboFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0) return false;
  const int chosen = Combo()->ItemIndex();
  if (chosen >= 0 && chosen < static_cast<int>(Options.size()))
    text = Name + "=" + Options[static_cast<std::size_t>(chosen)].Value;
  else text.clear();
  return true;
}

void TComboFormControlObj::RestoreValue(int, const std::string& value) {
  const std::string wanted = LowerCase(value);
  for (std::size_t i = 0; i < Options.size(); ++i)
    if (LowerCase(Options[i].Value) == wanted) Combo()->SetItemIndex(static_cast<int>(i));
}

void TComboFormControlObj::ApplyStyle(TProperties& properties) {
  TFormControlObj::ApplyStyle(properties);
  if (BkColor != gui::clNone) Combo()->SetColor(BkColor);
}

void TComboFormControlObj::SaveEnterValue() { enterIndex_ = Combo()->ItemIndex(); }

bool TComboFormControlObj::CheckChanged() { return Combo()->ItemIndex() == enterIndex_ || FireChange(); }

void TComboFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  gui::TComboBox* combo = Combo();
  DrawControlFrame3D(canvas, x, y, x + combo->Width(), y + combo->Height(), combo->Color(), /*useButtonFace=*/false,
                     Document && Document->PrintMonochrome, /*raised=*/false);
  PenBrushScope kept(canvas);
  canvas.Brush().SetStyle(gui::bsClear);
  canvas.SetFont(combo->Font());
  const win::RECT clip{x + 4, y + 4, x + combo->Width() - 8, y + combo->Height() - 3};
  canvas.TextRect(clip, x + 4, y + 4, std::u16string_view(combo->Text()));
}

}  // namespace engine
