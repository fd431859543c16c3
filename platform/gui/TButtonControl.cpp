#include "platform/gui/TButtonControl.h"

#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/CodePages.h"

namespace gui {

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetTabStop(true);
}

void TButtonControl::SetText(const std::u16string& Value) {
  if (Value == text_) return;
  text_ = Value;
  Invalidate();
}

void TButtonControl::TextChanged() {
  text_ = win::multiByteToWide(win::CP_ACP, Caption());
  TCustomControl::TextChanged();
}

void TButtonControl::SetPushed(bool Value) {
  if (Value == pushed_) return;
  pushed_ = Value;
  Invalidate();
}

void TButtonControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case win::BM_SETCHECK:
      if (checkState_ != Message.WParam) {
        checkState_ = Message.WParam;
        Invalidate();
      }
      return;
    case win::BM_GETCHECK:
      Message.Result = static_cast<win::LRESULT>(checkState_);
      return;
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
    case win::WM_LBUTTONUP:
    case win::WM_MOUSEMOVE:
      HandleLeftButton(Message);
      return;
    case win::WM_CAPTURECHANGED:
      mouseHeld_ = false;
      SetPushed(spaceHeld_);
      break;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
      if (Message.Msg == win::WM_KILLFOCUS) {
        spaceHeld_ = false;
        SetPushed(mouseHeld_);
      }
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// The button acts when the left button goes up over it after going down on
// it; while held, it shows pushed only with the pointer over it.
void TButtonControl::HandleLeftButton(TMessage& Message) {
  const int x = win::GET_X_LPARAM(Message.LParam);
  const int y = win::GET_Y_LPARAM(Message.LParam);
  const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  const TShiftState shift = ShiftFromKeys(Message.WParam);
  switch (Message.Msg) {
    case win::WM_LBUTTONDBLCLK:
    case win::WM_LBUTTONDOWN:
      if (Message.Msg == win::WM_LBUTTONDBLCLK) DblClick();
      if (CanFocus() && HandleAllocated() && !Focused()) {
        mouseFocusing_ = true;
        SetFocus();
        mouseFocusing_ = false;
      }
      mouseHeld_ = true;
      if (HandleAllocated()) win::SetCapture(Handle());
      SetPushed(true);
      MouseDown(mbLeft, shift, x, y);
      break;
    case win::WM_MOUSEMOVE:
      if (mouseHeld_) SetPushed(inside);
      MouseMove(shift, x, y);
      break;
    case win::WM_LBUTTONUP: {
      const bool act = mouseHeld_ && inside;
      mouseHeld_ = false;
      if (HandleAllocated() && win::GetCapture() == Handle()) win::ReleaseCapture();
      SetPushed(spaceHeld_);
      MouseUp(mbLeft, shift, x, y);
      if (act) Pressed();
      break;
    }
    default:
      break;
  }
}

void TButtonControl::KeyDown(win::WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == win::VK_SPACE && !mouseHeld_) {
    spaceHeld_ = true;
    SetPushed(true);
  }
}

void TButtonControl::KeyUp(win::WORD& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key == win::VK_SPACE && spaceHeld_) {
    spaceHeld_ = false;
    SetPushed(mouseHeld_);
    Pressed();
  }
}

}  // namespace gui
