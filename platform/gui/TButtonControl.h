#pragma once
// The base of push buttons, check boxes and radio buttons: a window control
// that is pressed with the left button or the space bar and acts when
// released over it, keeps a check state for BM_SETCHECK / BM_GETCHECK, and
// paints itself in the classic look. Its text is UTF-16 (Caption sets it
// from the ANSI code page).
#include <string>

#include "platform/gui/TCustomControl.h"
#include "platform/win/user/ControlMessages.h"

namespace gui {

class TButtonControl : public TCustomControl {
 public:
  explicit TButtonControl(TComponent* AOwner);

  const std::u16string& Text() const { return text_; }
  void SetText(const std::u16string& Value);
  // Checked is virtual in both directions so that subclasses can keep the
  // state elsewhere; the base has none.
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool) {}
  bool Checked() const { return GetChecked(); }

  void WndProc(TMessage& Message) override;

 protected:
  // What a completed press does: a button clicks, a check box toggles, a
  // radio button checks itself.
  virtual void Pressed() = 0;
  // A change of the checked state, before any click.
  virtual void Changed() {}
  bool ClicksDisabled() const { return clicksDisabled_; }
  void SetClicksDisabled(bool Value) { clicksDisabled_ = Value; }
  // The state that BM_SETCHECK set (what is painted).
  win::WPARAM CheckState() const { return checkState_; }
  // Held down by the mouse over the control, or by the space bar.
  bool Pushed() const { return pushed_; }
  bool FocusCameFromMouse() const { return mouseFocusing_; }

  void KeyDown(win::WORD& Key, TShiftState Shift) override;
  void KeyUp(win::WORD& Key, TShiftState Shift) override;
  void TextChanged() override;
  bool EraseBackground(win::HDC) override { return true; }

 private:
  void HandleLeftButton(TMessage& Message);
  void SetPushed(bool Value);

  std::u16string text_;
  win::WPARAM checkState_ = win::BST_UNCHECKED;
  bool clicksDisabled_ = false;
  bool pushed_ = false;
  bool mouseHeld_ = false;
  bool spaceHeld_ = false;
  bool mouseFocusing_ = false;
};

}  // namespace gui
