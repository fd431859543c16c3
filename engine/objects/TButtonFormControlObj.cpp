#include "engine/objects/TButtonFormControlObj.h"

#include <cstdint>

#include "engine/common/TextHelpers.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/ThtmlForm.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TCanvas.h"

namespace engine {

TButtonFormControlObj::TButtonFormControlObj(TSectionList* document, ThtmlForm* form,
                                             const TAttributeList& attributes, const std::string& type,
                                             TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  const std::string kind = LowerCase(type);
  std::string caption = "Button";
  if (kind == "submit") {
    Which = ButtonKind::Submit;
    caption = FindAttribute(attributes, symValue) ? Value : "Submit";
  } else if (kind == "reset") {
    Which = ButtonKind::Reset;
    caption = FindAttribute(attributes, symValue) ? Value : "Reset";
  } else if (FindAttribute(attributes, symValue)) {
    caption = Value;
  }
  auto button = std::make_unique<gui::TButton>(nullptr);
  button->SetText(ToWide(caption));
  button->OnClick = [this](gui::TObject*) { ButtonClick(); };
  AdoptWindow(std::move(button), properties);
}

gui::TButton* TButtonFormControlObj::Button() const { return static_cast<gui::TButton*>(control_.get()); }

void TButtonFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  const int textHeight = canvas->TextHeight("A");
  const int height = CssHeight < textHeight ? textHeight + 8 : CssHeight;
  const int width = CssWidth < 10 || PercentWidthValue > 0
                        ? ClampControlExtent(std::int64_t{canvas->TextWidth(ToNarrow(Button()->Text()))} + 20)
                        : CssWidth;
  Place.ImageWidth = width;
  Place.ImageHeight = height;
  control_->SetBounds(control_->Left(), control_->Top(), width, height);
}

void TButtonFormControlObj::ButtonClick() {
  if (Which == ButtonKind::Reset) {
    Form->ResetControls();
  } else if (Which == ButtonKind::Submit) {
    Form->SubmitTheForm(Name.empty() ? std::string() : Name + "=" + Value);
  }
}

}  // namespace engine
