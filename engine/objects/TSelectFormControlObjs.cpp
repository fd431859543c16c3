#include "engine/objects/TSelectFormControlObjs.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "engine/common/CodePageText.h"
#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TComboBox.h"
#include "platform/gui/TListBox.h"
#include "platform/gui/TMemo.h"
#include "platform/win/user/SystemMetrics.h"

namespace engine {

namespace {

const TAttribute* FindAttribute(const TAttributeList& attributes, THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return attributes.Find(symbol, attribute) ? attribute : nullptr;
}

int ClampSize(int value) { return std::clamp(value, 1, kMaxControlSize); }
int ClampWidth(std::int64_t width) { return static_cast<int>(std::clamp<std::int64_t>(width, 0, 32767)); }

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

std::vector<std::u16string> WideTexts(const std::vector<TOptionObj>& options, int codePage) {
  std::vector<std::u16string> texts;
  texts.reserve(options.size());
  for (const TOptionObj& option : options) texts.push_back(StringToWideByCodePage(codePage, option.Text));
  return texts;
}

}  // namespace

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                                               const TAttributeList& attributes)
    : TFormControlObj(document, form, attributes) {
  if (const TAttribute* size = FindAttribute(attributes, symSize)) LBSize = ClampSize(size->Value);
}

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                                               const TAttributeList& attributes, TProperties& properties)
    : TListBoxFormControlObj(document, form, attributes) {
  auto list = std::make_unique<gui::TListBox>(nullptr);
  const bool multiple = FindAttribute(attributes, symMultiple) != nullptr;
  list->SetMultiSelect(multiple);
  list->SetExtendedSelect(multiple);
  AdoptWindow(std::move(list), properties);
}

gui::TListBox* TListBoxFormControlObj::List() const { return static_cast<gui::TListBox*>(control_.get()); }

void TListBoxFormControlObj::AddOption(const std::u16string& text, bool selected, int codePage,
                                       const std::string& attributes) {
  TOptionObj option;
  option.Text = WideToStringByCodePage(codePage, text);
  if (option.Text.empty()) option.Text = " ";
  if (!OptionValue(attributes, option.Value) || option.Value.empty()) option.Value = option.Text;
  option.Selected = selected;
  CodePage = codePage;
  Options.push_back(std::move(option));
}

void TListBoxFormControlObj::ResetToDefault() {
  gui::TListBox* list = List();
  list->Items().Assign(WideTexts(Options, CodePage));
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
  else list->SetClientHeight(ClampWidth(std::int64_t{canvas->TextHeight("A")} * LBSize));
  if (PercentWidthValue > 0) list->SetBounds(kParkedControlLeft, list->Top(), 10, list->Height());
  else if (CssWidth >= 10) list->SetWidth(CssWidth);
  else list->SetClientWidth(ClampWidth(std::int64_t{win::GetSystemMetrics(win::SM_CXVSCROLL)} + Longest + 10));
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
    list->SetItemIndex(0);
    if (list->MultiSelect())
      for (int i = 0; i < list->Items().Count(); ++i) list->SetSelected(i, false);
  }
  const std::string wanted = LowerCase(value);
  for (std::size_t i = 0; i < Options.size() && static_cast<int>(i) < list->Items().Count(); ++i) {
    if (LowerCase(Options[i].Value) != wanted) continue;
    if (list->MultiSelect()) list->SetSelected(static_cast<int>(i), true);
    else list->SetItemIndex(static_cast<int>(i));
  }
  list->SetTopIndex(0);
}

TComboFormControlObj::TComboFormControlObj(TSectionList* document, ThtmlForm* form,
                                           const TAttributeList& attributes, TProperties& properties)
    : TListBoxFormControlObj(document, form, attributes) {
  AdoptWindow(std::make_unique<gui::TComboBox>(nullptr), properties);
}

gui::TComboBox* TComboFormControlObj::Combo() const { return static_cast<gui::TComboBox*>(control_.get()); }

void TComboFormControlObj::ResetToDefault() {
  gui::TComboBox* combo = Combo();
  combo->Items().Assign(WideTexts(Options, CodePage));
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
  else combo->SetClientWidth(ClampWidth(std::int64_t{win::GetSystemMetrics(win::SM_CXVSCROLL)} + Longest + 10));
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

TTextAreaFormControlObj::TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form,
                                                 const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  if (const TAttribute* cols = FindAttribute(attributes, symCols)) Cols = ClampSize(cols->Value);
  if (const TAttribute* rows = FindAttribute(attributes, symRows)) Rows = ClampSize(rows->Value);
  if (const TAttribute* wrap = FindAttribute(attributes, symWrap)) {
    const std::string mode = LowerCase(wrap->ValueText);
    if (mode == "off") Wrap = WrapMode::Off;
    else if (mode == "hard") Wrap = WrapMode::Hard;
  }
  auto memo = std::make_unique<gui::TMemo>(nullptr);
  memo->SetScrollBars(Wrap == WrapMode::Off ? gui::ssBoth : gui::ssVertical);
  memo->SetWordWrap(Wrap != WrapMode::Off);
  memo->SetReadOnly(ReadOnly);
  AdoptWindow(std::move(memo), properties);
}

gui::TMemo* TTextAreaFormControlObj::Memo() const { return static_cast<gui::TMemo*>(control_.get()); }

void TTextAreaFormControlObj::ResetToDefault() {
  Memo()->SetText(ToWide(InitialText));
  Memo()->SetSelStart(0);
  Memo()->SetSelLength(0);
}

void TTextAreaFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  gui::TMemo* memo = Memo();
  if (CssHeight >= 10) memo->SetHeight(CssHeight);
  else memo->SetClientHeight(ClampWidth(std::int64_t{canvas->TextHeight("A")} * Rows + 5));
  if (PercentWidthValue > 0) memo->SetBounds(kParkedControlLeft, memo->Top(), 50, memo->Height());
  else if (CssWidth >= 10) memo->SetWidth(CssWidth);
  else memo->SetClientWidth(ClampWidth(std::int64_t{canvas->TextWidth("s")} * Cols + 5));
  Place.ImageWidth = memo->Width();
  Place.ImageHeight = memo->Height();
}

bool TTextAreaFormControlObj::GetSubmission(int index, std::string& text) {
  if (index != 0) return false;
  std::u16string value;
  if (Wrap == WrapMode::Hard) {
    const std::vector<std::u16string> lines = Memo()->Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) value += u"\r\n";
      value += lines[i];
    }
  } else {
    value = Memo()->Text();
  }
  text = Name + "=" + ToNarrow(value);
  return true;
}

void TTextAreaFormControlObj::RestoreValue(int, const std::string& value) { Memo()->SetText(ToWide(value)); }

void TTextAreaFormControlObj::ClearValue() { Memo()->SetText(u""); }

}  // namespace engine
