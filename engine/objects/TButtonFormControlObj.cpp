#include "engine/objects/TButtonFormControlObj.h"

#include <cstdint>
#include <exception>

#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/paint/Frames3D.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TEdit.h"

namespace engine {

TButtonFormControlObj::TButtonFormControlObj(TSectionList* document, ThtmlForm* form,
                                             const TAttributeList& attributes, const std::string& type,
                                             TProperties& properties)
    : TFormControlObj(document, form, attributes) {
  const std::string kind = LowerCase(type);
  const bool hasValue = FindAttribute(attributes, symValue) != nullptr;
  std::string caption = hasValue ? Value : "Button";
  if (kind == "submit") {
    Which = ButtonKind::Submit;
    if (!hasValue) caption = "Submit";
  } else if (kind == "reset") {
    Which = ButtonKind::Reset;
    if (!hasValue) caption = "Reset";
  } else if (kind == "file") {
    // The text input beside it carries the name, value and id.
    Which = ButtonKind::Browse;
    caption = "Browse...";
    Value.clear();
    Name.clear();
    Id.clear();
  }
  auto button = std::make_unique<gui::TButton>(nullptr);
  button->SetText(ToWide(caption));
  button->OnClick = [this](gui::TObject*) { ButtonClick(); };
  AdoptWindow(std::move(button), properties);
}

TButtonFormControlObj::~TButtonFormControlObj() = default;

gui::TButton* TButtonFormControlObj::Button() const { return static_cast<gui::TButton*>(control_.get()); }

void TButtonFormControlObj::SizeFromFont(gui::TCanvas* canvas) {
  if (!canvas) return;
  canvas->SetFont(control_->Font());
  const int textHeight = canvas->TextHeight("A");
  const int height = CssHeight < textHeight ? textHeight + 8 : CssHeight;
  const int width = CssWidth < 10 || PercentWidthValue > 0
                        ? ClampControlExtent(std::int64_t{canvas->TextExtent(std::u16string_view(Button()->Text())).cx} + 20)
                        : CssWidth;
  Place.ImageWidth = width;
  Place.ImageHeight = height;
  control_->SetBounds(control_->Left(), control_->Top(), width, height);
}

void TButtonFormControlObj::ButtonClick() {
  if (!ClickHandler()) return;  // the host cleared the document
  switch (Which) {
    case ButtonKind::Reset: Form->ResetControls(); break;
    case ButtonKind::Submit: Form->SubmitTheForm(Name.empty() ? std::string() : Name + "=" + Value); break;
    case ButtonKind::Browse: Browse(); break;
    case ButtonKind::Button: break;
  }
}

void TButtonFormControlObj::Browse() {
  if (!FileEdit || !Document || !Document->OnFileBrowse) return;
  std::string fileName = ToNarrow(FileEdit->Edit()->Text());
  TEditFormControlObj* edit = FileEdit;
  if (!CallHost([this, edit, &fileName] { Document->OnFileBrowse(edit, fileName); })) return;
  edit->Edit()->SetText(ToWide(fileName));
}

void TButtonFormControlObj::PaintForPrint(gui::TCanvas& canvas, int x, int y) {
  gui::TButton* button = Button();
  const int right = x + button->Width();
  const int bottom = y + button->Height();
  try {
    if (Document && Document->PrintMonochrome && IsMonochromeDevice(canvas)) {
      DrawControlFrame3D(canvas, x, y, right, bottom, gui::clWhite, /*useButtonFace=*/false,
                         /*checkMono=*/true, /*raised=*/true);
      canvas.SetFont(button->Font());
      canvas.Brush().SetStyle(gui::bsClear);
      const win::SIZE text = canvas.TextExtent(std::u16string_view(button->Text()));
      canvas.TextRect(win::RECT{x, y, right, bottom}, x + (button->Width() - text.cx) / 2,
                      y + (button->Height() - text.cy) / 2, std::u16string_view(button->Text()));
      return;
    }
    if (!printBitmap_) {
      auto picture = std::make_unique<gui::TBitmap>();
      picture->SetSize(button->Width(), button->Height());
      button->PaintTo(picture->Canvas().Handle(), 0, 0);
      printBitmap_ = std::move(picture);
    }
    canvas.Draw(x, y, printBitmap_.get());
  } catch (const std::exception&) {
    // A page goes on without the picture of a button it could not draw.
  }
}

}  // namespace engine
