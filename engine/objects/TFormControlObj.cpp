#include "engine/objects/TFormControlObj.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "engine/common/CodePageText.h"
#include "engine/common/TextHelpers.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/text/TFontObj.h"
#include "platform/gui/TWinControl.h"

namespace engine {

namespace {

std::string AttributeText(const TAttributeList& attributes, THtmlSymbol symbol) {
  const TAttribute* attribute = FindAttribute(attributes, symbol);
  return attribute ? attribute->ValueText : std::string();
}

// A whole text that is a decimal integer (blanks around allowed).
bool StrictInteger(std::string_view text, long long& number) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec == std::errc::result_out_of_range) {
    number = text.front() == '-' ? -1 : kMaxControlSize;
    return result.ptr == text.data() + text.size();
  }
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

const TAttribute* FindAttribute(const TAttributeList& attributes, THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return attributes.Find(symbol, attribute) ? attribute : nullptr;
}

int ClampControlSize(int value) { return std::clamp(value, 1, kMaxControlSize); }

int ClampControlExtent(std::int64_t extent) { return static_cast<int>(std::clamp<std::int64_t>(extent, 0, 32767)); }

int EditSizeFromAttribute(const std::string& text, bool present) {
  if (!present) return 15;
  long long number = 0;
  if (StrictInteger(text, number) && number >= 1) return static_cast<int>(std::min<long long>(number, kMaxControlSize));
  const std::size_t blank = text.find(' ');
  const std::size_t comma = text.find(',');
  if (blank == std::string::npos || comma == std::string::npos) return 15;
  const std::size_t first = std::min(blank, comma);
  if (first == 0) return 15;
  if (StrictInteger(std::string_view(text).substr(0, first), number) && number >= 1)
    return static_cast<int>(std::min<long long>(number, kMaxControlSize));
  return 20;
}

TFormControlObj::TFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : TInlineObject(Kind::Control), Form(form), Document(document) {
  if (Form == nullptr) Form = ThtmlForm::Create(document, nullptr);
  Title = AttributeText(attributes, symTitle);
  Name = AttributeText(attributes, symName);
  Value = AttributeText(attributes, symValue);
  Id = AttributeText(attributes, symId);
  if (const TAttribute* value = FindAttribute(attributes, symValue)) CodePage = value->CodePage;
  else if (attributes.Count() > 0) CodePage = attributes.Items(0)->CodePage;
  if (const TAttribute* disabled = FindAttribute(attributes, symDisabled)) {
    const std::string text = LowerCase(disabled->ValueText);
    Disabled = !(text == "no" || text == "0");
  }
  ReadOnly = FindAttribute(attributes, symReadonly) != nullptr;
  if (const TAttribute* tabIndex = FindAttribute(attributes, symTabindex)) TabIndex = tabIndex->Value;
  Place.Align = kAlignBottom;
  Place.VSpaceT = Place.VSpaceB = 1;
  if (!Id.empty() && document && document->IDNameList) document->IDNameList->AddObject(LowerCase(Id), this);
  if (document) document->FormControlList.push_back(this);
}

TFormControlObj::~TFormControlObj() = default;

void TFormControlObj::AdoptWindow(std::unique_ptr<gui::TWinControl> control, TProperties& properties) {
  control_ = std::move(control);
  if (std::unique_ptr<TMyFont> font = properties.GetFont()) control_->Font().Assign(font.get());
  control_->SetLeft(kParkedControlLeft);
  control_->SetEnabled(!Disabled);
  if (Document && Document->PPanel) control_->SetParent(Document->PPanel);
  if (TabIndex >= 1 && Document) Document->AddTabStop(TabIndex, control_.get());
  control_->OnEnter = [this](gui::TObject*) {
    if (Document && Document->PPanel) Document->PPanel->Invalidate();
  };
}

void TFormControlObj::ApplyStyle(TProperties& properties) {
  int align = 0;
  if (properties.GetVertAlign(align)) Place.Align = static_cast<std::uint8_t>(align);
}

void TFormControlObj::SetWidth(int width) {
  Place.ImageWidth = width;
  if (control_) control_->SetWidth(width);
}

void TFormControlObj::Draw(gui::TCanvas*, int x, TFontObj* run, int baselineY, int lineTopY) {
  LeftX = x;
  int descent = 0;
  if (run) run->LineHeight(descent);
  int top = 0;
  switch (Place.Align) {
    case kAlignTop: top = lineTopY + Place.VSpaceT; break;
    case kAlignMiddle: top = baselineY - descent - Place.ImageHeight / 2; break;
    case kAlignBaseline: top = baselineY - Place.VSpaceB - Place.ImageHeight; break;
    default: top = baselineY + descent - Place.VSpaceB - Place.ImageHeight; break;
  }
  if (!(Document && Document->IsCopy)) TopY = top;
  if (!control_ || !Document || Document->IsCopy || Document->Printing) return;
  ShownFlag = true;
  control_->SetBounds(x, top - Document->YOffset, Place.ImageWidth, Place.ImageHeight);
  if (!control_->Visible()) control_->Show();
}

std::u16string TFormControlObj::ToWide(const std::string& text) const {
  return StringToWideByCodePage(CodePage, text);
}

std::string TFormControlObj::ToNarrow(const std::u16string& text) const {
  return WideToStringByCodePage(CodePage, text);
}

}  // namespace engine
