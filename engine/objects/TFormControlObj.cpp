#include "engine/objects/TFormControlObj.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <variant>

#include "engine/common/CodePageText.h"
#include "engine/common/TextHelpers.h"
#include "engine/css/CssBoxValues.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/paint/Frames3D.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TFontObj.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TCustomForm.h"
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
  OnClickText = AttributeText(attributes, symOnclick);
  OnFocusText = AttributeText(attributes, symOnfocus);
  OnBlurText = AttributeText(attributes, symOnblur);
  OnChangeText = AttributeText(attributes, symOnchange);
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

TFormControlObj::~TFormControlObj() {
  if (!control_) return;
  // A window that dies with the focus reports its exit: no handler may reach
  // this half-destroyed object.
  control_->OnEnter = nullptr;
  control_->OnExit = nullptr;
  control_->OnClick = nullptr;
  control_->OnMouseMove = nullptr;
  control_->OnKeyDown = nullptr;
  control_->OnKeyPress = nullptr;
  control_.reset();
}

void TFormControlObj::AdoptWindow(std::unique_ptr<gui::TWinControl> control, TProperties& properties) {
  control_ = std::move(control);
  if (std::unique_ptr<TMyFont> font = properties.GetFont()) control_->Font().Assign(font.get());
  control_->SetLeft(kParkedControlLeft);
  control_->SetEnabled(!Disabled);
  if (Document && Document->PPanel) control_->SetParent(Document->PPanel);
  if (TabIndex >= 1 && Document) Document->AddTabStop(TabIndex, control_.get());
  control_->OnEnter = [this](gui::TObject*) { EnterHandler(); };
  control_->OnExit = [this](gui::TObject*) { ExitHandler(); };
  control_->OnMouseMove = [this](gui::TObject*, gui::TShiftState shift, int x, int y) {
    MouseMoveHandler(shift, x, y);
  };
}

bool CallHostEvent(TSectionList* document, const std::function<void()>& event) {
  if (!document) {
    event();
    return true;
  }
  const std::uint32_t generation = document->Generation;
  struct Dispatching {
    TSectionList* document;
    explicit Dispatching(TSectionList* d) : document(d) { ++document->ControlEventDepth; }
    ~Dispatching() { --document->ControlEventDepth; }
  } dispatching(document);
  event();
  return document->Generation == generation;
}

void FocusControlWindow(gui::TWinControl* window) {
  if (window && gui::GetParentForm(window) && window->CanFocus()) window->SetFocus();
}

bool TFormControlObj::CallHost(const std::function<void()>& event) { return CallHostEvent(Document, event); }

bool TFormControlObj::FireChange() {
  if (!Document || !Document->OnObjectChange) return true;
  return CallHost([this] { Document->OnObjectChange(this, OnChangeText); });
}

bool TFormControlObj::ClickHandler() {
  if (Quiet() || !Document || !Document->OnObjectClick) return true;
  return CallHost([this] { Document->OnObjectClick(this, OnClickText); });
}

void TFormControlObj::MouseMoveHandler(std::uint8_t shift, int x, int y) {
  if (!Document || Document->IsCopy || !Document->OnControlMouseMove) return;
  CallHost([this, shift, x, y] { Document->OnControlMouseMove(this, shift, x, y); });
}

void TFormControlObj::Quietly(const std::function<void()>& change) {
  ++quiet_;
  struct Leave {
    int& count;
    ~Leave() { --count; }
  } leave{quiet_};
  change();
}

void TFormControlObj::EnterHandler() {
  if (!Document || Document->IsCopy) return;
  Active = true;
  if (Document->PPanel) Document->PPanel->Invalidate();
  if (Document->OnObjectFocused && !CallHost([this] { Document->OnObjectFocused(this); })) return;
  if (Document->OnObjectFocus && !OnFocusText.empty() &&
      !CallHost([this] { Document->OnObjectFocus(this, OnFocusText); }))
    return;
  if (!OnChangeText.empty()) SaveEnterValue();
}

void TFormControlObj::ExitHandler() {
  if (!Document) return;
  Active = false;
  if (!OnChangeText.empty() && !CheckChanged()) return;
  if (Document->OnObjectBlur && !OnBlurText.empty() &&
      !CallHost([this] { Document->OnObjectBlur(this, OnBlurText); }))
    return;
  if (Document->PPanel) Document->PPanel->Invalidate();
}

void TFormControlObj::ApplyStyle(TProperties& properties) {
  TVMarginArray margins;
  GetMarginArray(properties, margins);
  const TBoxValues box =
      ComputeMarginsAndSizes(margins, 100, 100, properties.EmSize, properties.ExSize).Values;
  const auto given = [&margins](Prop prop) { return !std::holds_alternative<std::monostate>(margins[BoxIndex(prop)]); };
  Place.HSpaceL = std::max(0, box[BoxIndex(Prop::MarginLeft)]);
  Place.HSpaceR = std::max(0, box[BoxIndex(Prop::MarginRight)]);
  Place.VSpaceT = given(Prop::MarginTop) ? std::max(0, box[BoxIndex(Prop::MarginTop)]) : 1;
  Place.VSpaceB = given(Prop::MarginBottom) ? std::max(0, box[BoxIndex(Prop::MarginBottom)]) : 1;
  HasCssBorder = properties.GetBorderStyle() != 0;
  if (HasCssBorder) {
    BordT = std::max(0, box[BoxIndex(Prop::BorderTopWidth)]);
    BordB = std::max(0, box[BoxIndex(Prop::BorderBottomWidth)]);
    Place.HSpaceL = SatAdd(Place.HSpaceL, std::max(0, box[BoxIndex(Prop::BorderLeftWidth)]));
    Place.HSpaceR = SatAdd(Place.HSpaceR, std::max(0, box[BoxIndex(Prop::BorderRightWidth)]));
    Place.VSpaceT = SatAdd(Place.VSpaceT, BordT);
    Place.VSpaceB = SatAdd(Place.VSpaceB, BordB);
  }
  const int width = box[BoxIndex(Prop::Width)];
  if (width > 0) {
    const std::string* text = TextOf(margins[BoxIndex(Prop::Width)]);
    const bool percent = text && text->find('%') != std::string::npos;
    if (!percent) CssWidth = ClampControlExtent(width);
    else if (width <= 100) PercentWidthValue = width;
  }
  const int height = box[BoxIndex(Prop::Height)];
  if (height > 0) CssHeight = ClampControlExtent(std::int64_t{height} - BordT - BordB);
  int align = 0;
  if (properties.GetVertAlign(align)) Place.Align = static_cast<std::uint8_t>(align);
  BkColor = properties.GetBackgroundColor();
}

void TFormControlObj::SetWidth(int width) {
  Place.ImageWidth = width;
  if (control_) control_->SetWidth(width);
}

int TFormControlObj::BoxTop(TFontObj* run, int baselineY, int lineTopY) const {
  int descent = 0;
  const int textHeight = run ? run->LineHeight(descent) : 0;
  switch (Place.Align) {
    case kAlignTop: return lineTopY + Place.VSpaceT;
    // Centred on the text: its bottom less half the text's height and half the control's.
    case kAlignMiddle: return baselineY + descent - (textHeight + Place.ImageHeight) / 2;
    case kAlignBaseline: return baselineY - Place.VSpaceB - Place.ImageHeight;
    default: return baselineY + descent - Place.VSpaceB - Place.ImageHeight;
  }
}

void TFormControlObj::Draw(gui::TCanvas*, int x, TFontObj* run, int baselineY, int lineTopY) {
  LeftX = x;
  const int top = BoxTop(run, baselineY, lineTopY);
  if (!(Document && Document->IsCopy)) TopY = top;
  if (!control_ || !Document || Document->IsCopy || Document->Printing) return;
  ShownFlag = true;
  control_->SetBounds(x, top - Document->YOffset, Place.ImageWidth, Place.ImageHeight);
  if (!control_->Visible()) control_->Show();
}

// Print copies share their controls with the screen's document: printing
// leaves the windows and their places alone.
void TFormControlObj::DrawForPrint(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY, int) {
  if (canvas) PaintForPrint(*canvas, x, BoxTop(run, baselineY, lineTopY));
}

int TFormControlObj::PrintFrame(gui::TCanvas& canvas, int x, int y, bool border) const {
  const int right = x + control_->Width();
  const int bottom = y + control_->Height();
  if (border) {
    DrawControlFrame3D(canvas, x, y, right, bottom, control_->Color(), /*useButtonFace=*/false,
                       Document && Document->PrintMonochrome, /*raised=*/false);
    return 4;
  }
  FillRectWithColor(canvas, x, y, right, bottom, control_->Color());
  return 2;
}

std::u16string TFormControlObj::ToWide(const std::string& text) const {
  return StringToWideByCodePage(CodePage, text);
}

std::string TFormControlObj::ToNarrow(const std::u16string& text) const {
  return WideToStringByCodePage(CodePage, text);
}

}  // namespace engine
