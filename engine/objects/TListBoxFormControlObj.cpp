#include "engine/objects/TListBoxFormControlObj.h"

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <sstream>

#include "engine/common/CodePageText.h"
#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TListBox.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/user/SystemMetrics.h"

namespace engine {

namespace {

// The "value" line of an option's "name=value" attribute lines (name without case).
bool OptionValue(const std::string& attributes, std::string& value) {
  std::istringstream lines(attributes);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && LowerCase(line.substr(0, equals)) == "value") {
      value = line.substr(equals + 1);
      return true;
    }
  }
  return false;
}

}  // namespace

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                                               const TAttributeList& attributes)
    : TFormControlObj(document, form, attributes) {
  if (const TAttribute* size = FindAttribute(attributes, symSize)) LBSize = ClampControlSize(size->Value);
}

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                                               const TAttributeList& attributes, TProperties& properties)
    : TListBoxFormControlObj(document, form, attributes) {
  auto list = std::make_unique<gui::TListBox>(nullptr);
  const bool multiple = FindAttribute(attributes, symMultiple) != nullptr;
  list->SetMultiSelect(multiple);
  list->SetExtendedSelect(multiple);
  list->OnClick = [this](gui::TObject*) { ClickHandler(); };
  AdoptWindow(std::move(list), properties);
}

std::vector<std::u16string> TListBoxFormControlObj::OptionTexts() const {
  std::vector<std::u16string> texts;
  texts.reserve(Options.size());
  for (const TOptionObj& option : Options) texts.push_back(StringToWideByCodePage(CodePage, option.Text));
  return texts;
}

gui::TListBox* TListBoxFormControlObj::List() const { return static_cast<gui::TListBox*>(control_.get()); }

void TListBoxFormControlObj::AddOption(const std::u16string& text, bool selected, int codePage,
                                       const std::string& attributes) {
  TOptionObj option;
  option.Text = WideToStringByCodePage(codePage, text);
  if (option.Text.empty()) option.Text.push_back(' ');
  if (!OptionValue(attributes, option.Value) || option.Value.empty()) option.Value = option.Text;
  option.Selected = selected;
  CodePage = codePage;
  Options.push_back(std::move(option));
}

void TListBoxFormControlObj::ResetToDefault() {
  gui::TListBox* list = List();
  list->Items().Assign(OptionTexts());
  for (std::size_t i = 0; i < Options.size(); ++i) {
    if (list->MultiSelect()) list->SetSelected(static_cast<int>(i), Options[i].Selected);
    else if (Options[i].Selected) list->SetItemIndex(static_cast<int>(i));
  }
  if (!list->MultiSelect() && list->ItemIndex() < 0 && !Options.empty()) list->SetItemIndex(0);
  list->SetTopIndex(0);
}

void TListBoxFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  Longest = 3;
  for (const TOptionObj& option : Options) Longest = std::max(Longest, canvas->TextWidth(option.Text));
  if (LBSize < 0) LBSize = std::max(1, std::min<int>(8, static_cast<int>(Options.size())));
  gui::TListBox* list = List();
  if (CssHeight >= 10) list->SetHeight(CssHeight);
  else list->SetClientHeight(ClampControlExtent(std::int64_t{canvas->TextHeight("A")} * LBSize));
  if (PercentWidthValue > 0) list->SetBounds(kParkedControlLeft, list->Top(), 10, list->Height());
  else if (CssWidth >= 10) list->SetWidth(CssWidth);
  else list->SetClientWidth(ClampControlExtent(std::int64_t{win::GetSystemMetrics(win::SM_CXVSCROLL)} + Longest + 10));
  Place.ImageWidth = list->Width();
  Place.ImageHeight = list->Height();
}

bool TListBoxFormControlObj::GetSubmission(int index, std::string& text) {
  gui::TListBox* list = List();
  if (index < 0 || index >= list->Items().Count()) return false;
  text.clear();
  const bool selected = list->MultiSelect() ? list->Selected(index) : index == list->ItemIndex();
  if (selected && index < static_cast<int>(Options.size()))
    text = Name + "=" + Options[static_cast<std::size_t>(index)].Value;
  return true;
}

void TListBoxFormControlObj::RestoreValue(int index, const std::string& value) {
  gui::TListBox* list = List();
  if (index == 0) {
    optionsByValue_.clear();
    list->SetItemIndex(0);
    if (list->MultiSelect())
      for (int i = 0; i < list->Items().Count(); ++i) list->SetSelected(i, false);
  }
  for (const int i : OptionsValued(value)) {
    if (i >= list->Items().Count()) break;
    if (list->MultiSelect()) list->SetSelected(i, true);
    else list->SetItemIndex(i);
  }
  list->SetTopIndex(0);
}

const std::vector<int>& TListBoxFormControlObj::OptionsValued(const std::string& value) {
  if (optionsByValue_.empty()) {
    // One map per restore: restoring many saved values stays linear.
    for (std::size_t i = 0; i < Options.size(); ++i)
      optionsByValue_[LowerCase(Options[i].Value)].push_back(static_cast<int>(i));
  }
  static const std::vector<int> none;
  const auto found = optionsByValue_.find(LowerCase(value));
  return found == optionsByValue_.end() ? none : found->second;
}

void TListBoxFormControlObj::ApplyStyle(TProperties& properties) {
  TFormControlObj::ApplyStyle(properties);
  if (HasCssBorder) List()->SetBorderStyle(gui::bsNone);
  if (BkColor != gui::clNone) List()->SetColor(BkColor);
}

void TListBoxFormControlObj::SaveEnterValue() {
  gui::TListBox* list = List();
  enterCount_ = list->Items().Count();
  for (int i = 0; i < std::min(enterCount_, kComparedItems); ++i)
    enterSelected_[static_cast<std::size_t>(i)] = list->Selected(i);
}

bool TListBoxFormControlObj::CheckChanged() {
  gui::TListBox* list = List();
  const int count = list->Items().Count();
  bool changed = count != enterCount_;
  for (int i = 0; i < std::min(count, kComparedItems) && !changed; ++i)
    changed = list->Selected(i) != enterSelected_[static_cast<std::size_t>(i)];
  return !changed || FireChange();
}

void TListBoxFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  gui::TListBox* list = List();
  const int inset = PrintFrame(canvas, x, y, list->BorderStyle() != gui::bsNone);
  PenBrushScope kept(canvas);
  canvas.Brush().SetStyle(gui::bsClear);
  canvas.SetFont(list->Font());
  win::SetTextAlign(canvas.Handle(), 0);
  const win::RECT clip{x + inset, y + inset, x + list->Width() - 2 * inset, y + list->Height() - 2 * inset};
  const int rowHeight = std::max(1, std::abs(list->Font().Height()));
  int rowY = y + inset;
  // Rows below the clip are not drawn: a long list prints in the time of its box.
  for (int i = list->TopIndex(); i < list->Items().Count() && rowY < clip.bottom; ++i, rowY += rowHeight)
    canvas.TextRect(clip, x + inset, rowY, std::u16string_view(list->Items().Strings(i)));
}

}  // namespace engine
