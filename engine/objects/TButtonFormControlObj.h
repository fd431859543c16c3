#pragma once
// TButtonFormControlObj: INPUT TYPE=submit, reset and button, shown as a push
// button that submits or resets its form, and the browse button of a file
// input, which lets the host choose the file name of its text input.
#include <memory>
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace gui {
class TBitmap;
class TButton;
}  // namespace gui

namespace engine {

class TEditFormControlObj;

class TButtonFormControlObj : public TFormControlObj {
 public:
  enum class ButtonKind { Submit, Reset, Button, Browse };
  TButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                        const std::string& type, TProperties& properties);
  ~TButtonFormControlObj() override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  void PaintForPrint(gui::TCanvas& canvas, int x, int y) override;
  // A click: the host hears of it first, then the button does its kind's work.
  void ButtonClick();
  gui::TButton* Button() const;

  ButtonKind Which = ButtonKind::Button;
  // The text input a browse button fills (not owned).
  TEditFormControlObj* FileEdit = nullptr;

 private:
  void Browse();
  // The picture of the window printed for it, taken once.
  std::unique_ptr<gui::TBitmap> printBitmap_;
};

}  // namespace engine
