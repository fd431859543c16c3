#include "engine/objects/TTextAreaFormControlObj.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/common/TextHelpers.h"
#include "engine/css/TProperties.h"
#include "engine/html/TAttributeList.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TMemo.h"

namespace engine {

TTextAreaFormControlObj::TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form,
                                                 const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  // The content is raw document text: the element's code page reads it, also
  // when there is no attribute to take one from.
  CodePage = properties.CodePage;
  if (const TAttribute* cols = FindAttribute(attributes, symCols)) Cols = ClampControlSize(cols->Value);
  if (const TAttribute* rows = FindAttribute(attributes, symRows)) Rows = ClampControlSize(rows->Value);
  if (const TAttribute* wrap = FindAttribute(attributes, symWrap)) {
    const std::string mode = LowerCase(wrap->ValueText);
    if (mode == "off") Wrap = WrapMode::Off;
    else if (mode == "hard") Wrap = WrapMode::Hard;
  }
  auto memo = std::make_unique<gui::TMemo>(nullptr);
  memo->SetScrollBars(Wrap == WrapMode::Off ? gui::ssBoth : gui::ssVertical);
  memo->SetWordWrap(Wrap != WrapMode::Off);
  memo->SetReadOnly(ReadOnly);
  memo->OnClick = [this](gui::TObject*) { ClickHandler(); };
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
  else memo->SetClientHeight(ClampControlExtent(std::int64_t{canvas->TextHeight("A")} * Rows + 5));
  if (PercentWidthValue > 0) memo->SetBounds(kParkedControlLeft, memo->Top(), 50, memo->Height());
  else if (CssWidth >= 10) memo->SetWidth(CssWidth);
  else memo->SetClientWidth(ClampControlExtent(std::int64_t{canvas->TextWidth("s")} * Cols + 5));
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

void TTextAreaFormControlObj::ApplyStyle(TProperties& properties) {
  TFormControlObj::ApplyStyle(properties);
  if (HasCssBorder) Memo()->SetBorderStyle(gui::bsNone);
  if (BkColor != gui::clNone) Memo()->SetColor(BkColor);
}

void TTextAreaFormControlObj::SaveEnterValue() { enterText_ = Memo()->Text(); }

bool TTextAreaFormControlObj::CheckChanged() { return Memo()->Text() == enterText_ || FireChange(); }

void TTextAreaFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  gui::TMemo* memo = Memo();
  const int inset = PrintFrame(canvas, x, y, memo->BorderStyle() != gui::bsNone);
  PenBrushScope kept(canvas);
  canvas.Brush().SetStyle(gui::bsClear);
  canvas.SetFont(memo->Font());
  const int lineHeight = canvas.TextHeight("A");
  const win::RECT clip{x + inset, y + inset, x + memo->Width() - 2 * inset, y + memo->Height() - 2 * inset};
  const std::vector<std::u16string> lines = memo->Lines();
  const int shown = std::min(static_cast<int>(lines.size()), Rows);
  for (int i = 0; i < shown; ++i)
    canvas.TextRect(clip, x + inset, y + inset + i * lineHeight, std::u16string_view(lines[static_cast<std::size_t>(i)]));
}

}  // namespace engine
