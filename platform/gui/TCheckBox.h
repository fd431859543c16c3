#pragma once
// A check box: a 13 x 13 box with a tick and its text to the right. A press
// toggles it; any change of state, by the user or by the program, runs
// OnClick unless clicks are disabled.
#include "platform/gui/TButtonControl.h"

namespace gui {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState Value);
  bool GetChecked() const override { return state_ == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  void WndProc(TMessage& Message) override;

 protected:
  virtual void Toggle() { SetChecked(!GetChecked()); }
  void Pressed() override { Toggle(); }
  void Paint() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
};

// Draws a check box or radio button face: the glyph at the left, vertically
// centred, and the text after it with the focus rectangle around it.
void PaintCheckControl(TButtonControl& Control, TCanvas& Canvas, bool Radio, bool Pushed);

}  // namespace gui
