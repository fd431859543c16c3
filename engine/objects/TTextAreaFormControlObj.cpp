#include "engine/objects/TTextAreaFormControlObj.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TMemo.h"

namespace engine {

TTextAreaFormControlObj::TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form,
                                                 const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
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

}  // namespace engine
