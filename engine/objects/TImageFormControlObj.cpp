#include "engine/objects/TImageFormControlObj.h"

#include "engine/objects/TImageObj.h"
#include "engine/objects/ThtmlForm.h"
#include "platform/gui/TButton.h"

namespace engine {

TImageFormControlObj::TImageFormControlObj(TSectionList* document, ThtmlForm* form,
                                           const TAttributeList& attributes, TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  auto button = std::make_unique<gui::TButton>(nullptr);
  button->OnClick = [this](gui::TObject*) { HandleClick(); };
  AdoptWindow(std::move(button), properties);
  control_->SetBounds(kParkedControlLeft, 0, 1, 1);
}

TImageFormControlObj::~TImageFormControlObj() = default;

void TImageFormControlObj::AttachImage(TImageObj* image) {
  Image = image;
  if (Image) Image->FormControl = this;
}

void TImageFormControlObj::ApplyStyle(TProperties& properties) {
  TFormControlObj::ApplyStyle(properties);
  if (Image) Image->ApplyStyle(properties);
}

// The focus proxy keeps its 1 x 1 box off the panel whatever the font.
void TImageFormControlObj::SizeFromFont(gui::TCanvas*) {}

void TImageFormControlObj::MouseOverImage(int x, int y) {
  XTmp = x;
  YTmp = y;
}

void TImageFormControlObj::HandleClick() {
  FocusControlWindow(control_.get());
  if (!ClickHandler()) return;  // the host cleared the document
  XPos = XTmp;
  YPos = YTmp;
  if (!Disabled) Form->SubmitTheForm("");
}

bool TImageFormControlObj::GetSubmission(int index, std::string& text) {
  if (XPos < 0 || index > 1) return false;
  const std::string prefix = Name.empty() ? std::string() : Name + ".";
  if (index == 0) {
    text = prefix + "x=" + std::to_string(XPos);
  } else {
    text = prefix + "y=" + std::to_string(YPos);
    XPos = -1;
  }
  return true;
}

}  // namespace engine
