#include "platform/gui/TControl.h"

#include <algorithm>

#include "platform/gui/TWinControl.h"
#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

constexpr int kVkMenu = 0x12;  // the Alt key

}  // namespace

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  font_.OnChange = nullptr;
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
  if (parentColor_ && parent_) FollowColor(parent_->Color());
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  const bool resized = AWidth != width_ || AHeight != height_;
  Invalidate();
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  BoundsChanged();
  Invalidate();
  if (parent_ && (align_ != alNone || parent_->alignedCount_ > 0)) parent_->Realign();
  if (resized) Resize();
}

win::POINT TControl::ClientOrigin() const {
  if (auto* self = dynamic_cast<const TWinControl*>(this); self && self->HandleAllocated()) {
    win::POINT origin{0, 0};
    win::ClientToScreen(const_cast<TWinControl*>(self)->Handle(), &origin);
    return origin;
  }
  if (!parent_) return {left_, top_};
  const win::POINT parentOrigin = parent_->ClientOrigin();
  return {parentOrigin.x + left_, parentOrigin.y + top_};
}

win::POINT TControl::ClientToScreen(win::POINT Point) const {
  const win::POINT origin = ClientOrigin();
  return {Point.x + origin.x, Point.y + origin.y};
}

win::POINT TControl::ScreenToClient(win::POINT Point) const {
  const win::POINT origin = ClientOrigin();
  return {Point.x - origin.x, Point.y - origin.y};
}

void TControl::SetVisible(bool Value) {
  if (Value == visible_) return;
  if (!Value) Invalidate();
  visible_ = Value;
  VisibleChanged();
  if (Value) Invalidate();
  if (parent_ && (align_ != alNone || parent_->alignedCount_ > 0)) parent_->Realign();
}

void TControl::SetEnabled(bool Value) {
  if (Value == enabled_) return;
  enabled_ = Value;
  EnabledChanged();
  Invalidate();
}

void TControl::SetAlign(TAlign Value) {
  if (Value == align_) return;
  if (parent_) parent_->alignedCount_ += (Value != alNone) - (align_ != alNone);
  align_ = Value;
  if (parent_) parent_->Realign();
}

void TControl::SetColor(TColor Value) {
  parentColor_ = false;
  FollowColor(Value);
}

void TControl::SetZOrder(bool TopMost) {
  if (!parent_) return;
  auto& siblings = parent_->controls_;
  const auto at = std::find(siblings.begin(), siblings.end(), this);
  if (at == siblings.end()) return;
  siblings.erase(at);
  siblings.insert(TopMost ? siblings.end() : siblings.begin(), this);
  if (auto* self = dynamic_cast<TWinControl*>(this); self && self->HandleAllocated()) {
    win::SetWindowPos(self->Handle(), TopMost ? win::HWND_TOP : win::HWND_BOTTOM, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  } else {
    Invalidate();
  }
  if (align_ != alNone) parent_->Realign();
}

void TControl::SetParentColor(bool Value) {
  parentColor_ = Value;
  if (Value && parent_) FollowColor(parent_->Color());
}

void TControl::FollowColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  ColorChanged();
  // Children that follow this control's colour take the new one.
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    for (int index = 0; index < self->ControlCount(); ++index) {
      TControl* child = self->Controls(index);
      if (child->parentColor_) child->FollowColor(Value);
    }
  }
}

void TControl::SetCaption(const std::string& Value) {
  if (Value == caption_) return;
  caption_ = Value;
  TextChanged();
}

void TControl::Invalidate() {
  if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
  const win::RECT bounds = BoundsRect();
  win::InvalidateRect(parent_->Handle(), &bounds, win::TRUE);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

win::LRESULT TControl::Perform(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= win::WM_MOUSEFIRST && Message.Msg <= win::WM_MOUSELAST) HandleMouseMessage(Message);
}

TShiftState TControl::ShiftFromKeys(win::WPARAM Keys) {
  TShiftState shift = 0;
  if (Keys & win::MK_SHIFT) shift |= ssShift;
  if (Keys & win::MK_CONTROL) shift |= ssCtrl;
  if (Keys & win::MK_LBUTTON) shift |= ssLeft;
  if (Keys & win::MK_RBUTTON) shift |= ssRight;
  if (Keys & win::MK_MBUTTON) shift |= ssMiddle;
  if (win::GetKeyState(kVkMenu) < 0) shift |= ssAlt;
  return shift;
}

void TControl::HandleMouseMessage(TMessage& Message) {
  const int x = win::GET_X_LPARAM(Message.LParam);
  const int y = win::GET_Y_LPARAM(Message.LParam);
  TShiftState shift = ShiftFromKeys(Message.WParam);
  switch (Message.Msg) {
    case win::WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
    case win::WM_LBUTTONDBLCLK:
    case win::WM_RBUTTONDBLCLK:
    case win::WM_MBUTTONDBLCLK:
      if (Message.Msg == win::WM_LBUTTONDBLCLK) DblClick();
      shift |= ssDouble;
      [[fallthrough]];
    case win::WM_LBUTTONDOWN:
    case win::WM_RBUTTONDOWN:
    case win::WM_MBUTTONDOWN: {
      const bool left = Message.Msg == win::WM_LBUTTONDOWN || Message.Msg == win::WM_LBUTTONDBLCLK;
      const bool right = Message.Msg == win::WM_RBUTTONDOWN || Message.Msg == win::WM_RBUTTONDBLCLK;
      if (left) clickPending_ = true;
      MouseDown(left ? mbLeft : (right ? mbRight : mbMiddle), shift, x, y);
      break;
    }
    case win::WM_LBUTTONUP:
    case win::WM_RBUTTONUP:
    case win::WM_MBUTTONUP: {
      const bool left = Message.Msg == win::WM_LBUTTONUP;
      MouseUp(left ? mbLeft : (Message.Msg == win::WM_RBUTTONUP ? mbRight : mbMiddle), shift, x, y);
      // A click is a press and a release of the left button inside the control.
      if (left && clickPending_) {
        clickPending_ = false;
        const win::RECT client = ClientRect();
        if (x >= client.left && x < client.right && y >= client.top && y < client.bottom) Click();
      }
      break;
    }
    case win::WM_MOUSEWHEEL: {
      const win::POINT screen{x, y};
      const int delta = win::GET_WHEEL_DELTA_WPARAM(Message.WParam);
      Message.Result = DoMouseWheel(ShiftFromKeys(Message.WParam & 0xFFFF), delta, screen) ? 1 : 0;
      break;
    }
    default:
      break;
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, win::POINT MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

}  // namespace gui
