#include "platform/gui/TScrollBar.h"

#include <algorithm>
#include <cstdint>

#include "platform/gui/UserCalls.h"
#include "platform/win/user/SystemMetrics.h"

namespace gui {

namespace {

constexpr win::UINT_PTR kRepeatTimer = 1;

}  // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(Left(), Top(), 121, win::GetSystemMetrics(win::SM_CYHSCROLL));
}

TScrollBar::~TScrollBar() {
  if (HandleAllocated()) win::KillTimer(Handle(), kRepeatTimer);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (Value == kind_) return;
  kind_ = Value;
  SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  AMax = std::max(AMax, AMin);
  APosition = std::clamp(APosition, AMin, AMax);
  const bool rangeChanged = AMin != min_ || AMax != max_;
  const bool moved = APosition != position_;
  min_ = AMin;
  max_ = AMax;
  position_ = APosition;
  if (rangeChanged || moved) WriteScrollInfo();
  if (moved) Change();
}

void TScrollBar::SetPageSize(int Value) {
  const long long rangeSize = static_cast<long long>(max_) - min_ + 1;
  Value = static_cast<int>(std::clamp<long long>(Value, 0, std::min<long long>(rangeSize, INT32_MAX)));
  if (Value == pageSize_) return;
  pageSize_ = Value;
  WriteScrollInfo();
}

void TScrollBar::CreateWnd() {
  TCustomControl::CreateWnd();
  WriteScrollInfo();
}

void TScrollBar::WriteScrollInfo() {
  if (!HandleAllocated()) return;
  win::SCROLLINFO info;
  info.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = static_cast<win::UINT>(pageSize_);
  info.nPos = position_;
  win::SetScrollInfo(Handle(), win::SB_CTL, &info, win::TRUE);
}

win::SCROLLINFO TScrollBar::CurrentInfo() {
  win::SCROLLINFO info;
  info.fMask = win::SIF_ALL;
  if (HandleAllocated() && win::GetScrollInfo(Handle(), win::SB_CTL, &info)) return info;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = static_cast<win::UINT>(pageSize_);
  info.nPos = info.nTrackPos = position_;
  return info;
}

win::RECT TScrollBar::PartRect(ScrollBarPart Part) {
  const ScrollBarLayout layout =
      LayoutScrollBar(ClientRect(), kind_ == sbVertical, tracker_.Shown(CurrentInfo()));
  switch (Part) {
    case ScrollBarPart::LineUp: return layout.lineUp;
    case ScrollBarPart::PageUp: return layout.pageUp;
    case ScrollBarPart::Thumb: return layout.thumb;
    case ScrollBarPart::PageDown: return layout.pageDown;
    case ScrollBarPart::LineDown: return layout.lineDown;
    default: return {};
  }
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

// The request's new position, from Position; the thumb codes take the
// 32-bit track position from the window rather than the message's 16 bits.
void TScrollBar::DoScroll(TMessage& Message) {
  const auto code = static_cast<win::WORD>(win::LOWORD(Message.WParam));
  long long position = position_;
  switch (code) {
    case win::SB_LINEUP: position -= smallChange_; break;
    case win::SB_LINEDOWN: position += smallChange_; break;
    case win::SB_PAGEUP: position -= largeChange_; break;
    case win::SB_PAGEDOWN: position += largeChange_; break;
    case win::SB_THUMBPOSITION:
    case win::SB_THUMBTRACK: position = CurrentInfo().nTrackPos; break;
    case win::SB_TOP: position = min_; break;
    case win::SB_BOTTOM: position = max_; break;
    default: break;
  }
  // The user scrolls no further than the last full page.
  const long long highest =
      pageSize_ > 0 ? std::max<long long>(min_, static_cast<long long>(max_) - pageSize_ + 1) : max_;
  int scrollPos = static_cast<int>(std::clamp<long long>(position, min_, highest));
  Scroll(static_cast<TScrollCode>(std::min<win::WORD>(code, win::SB_ENDSCROLL)), scrollPos);
  SetPosition(scrollPos);
}

void TScrollBar::RequestScroll(win::WORD Code, int Position) {
  if (!HandleAllocated()) return;
  const win::HWND parent = win::GetParent(Handle());
  if (Code == win::SB_THUMBTRACK) win::setScrollTrackPos(Handle(), win::SB_CTL, Position);
  const win::UINT message = kind_ == sbVertical ? win::WM_VSCROLL : win::WM_HSCROLL;
  const win::WPARAM request = win::MAKEWPARAM(Code, static_cast<win::WORD>(Position));
  if (parent) win::SendMessageW(parent, message, request, static_cast<win::LPARAM>(Handle()));
  if (Code == win::SB_THUMBPOSITION && HandleAllocated()) win::endScrollTracking(Handle(), win::SB_CTL);
  Invalidate();
}

void TScrollBar::HandleMouse(TMessage& Message) {
  const win::POINT point{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)};
  const auto request = [this](win::WORD code, int position) { RequestScroll(code, position); };
  switch (Message.Msg) {
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
      if (!Enabled() || !HandleAllocated()) return;
      if (!tracker_.Press(ClientRect(), kind_ == sbVertical, CurrentInfo(), point, request)) return;
      win::SetCapture(Handle());
      win::SetTimer(Handle(), kRepeatTimer, ScrollBarTracker::kFirstRepeatDelay, nullptr);
      Invalidate();
      return;
    case win::WM_MOUSEMOVE:
      tracker_.Move(point, CurrentInfo(), request);
      return;
    case win::WM_LBUTTONUP:
      if (!tracker_.Active()) return;
      win::KillTimer(Handle(), kRepeatTimer);
      if (win::GetCapture() == Handle()) win::ReleaseCapture();
      tracker_.Release(request);
      Invalidate();
      return;
    default:
      return;
  }
}

void TScrollBar::KeyDown(win::WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key != 0) HandleKey(Key);
}

void TScrollBar::HandleKey(win::WORD Key) {
  const bool vertical = kind_ == sbVertical;
  switch (Key) {
    case win::VK_UP: if (vertical) RequestScroll(win::SB_LINEUP, 0); break;
    case win::VK_LEFT: if (!vertical) RequestScroll(win::SB_LINEUP, 0); break;
    case win::VK_DOWN: if (vertical) RequestScroll(win::SB_LINEDOWN, 0); break;
    case win::VK_RIGHT: if (!vertical) RequestScroll(win::SB_LINEDOWN, 0); break;
    case win::VK_PRIOR: RequestScroll(win::SB_PAGEUP, 0); break;
    case win::VK_NEXT: RequestScroll(win::SB_PAGEDOWN, 0); break;
    case win::VK_HOME: RequestScroll(win::SB_TOP, 0); break;
    case win::VK_END: RequestScroll(win::SB_BOTTOM, 0); break;
    default: return;
  }
  RequestScroll(win::SB_ENDSCROLL, 0);
}

void TScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(Message);
      return;
    case win::WM_GETDLGCODE:
      Message.Result = win::DLGC_WANTARROWS;
      return;
    case win::WM_TIMER:
      if (Message.WParam != kRepeatTimer) break;
      win::SetTimer(Handle(), kRepeatTimer, ScrollBarTracker::kRepeatInterval, nullptr);
      tracker_.Repeat(CurrentInfo(), [this](win::WORD code, int position) { RequestScroll(code, position); });
      return;
    case win::WM_CAPTURECHANGED:
      if (tracker_.Active() && static_cast<win::HWND>(Message.LParam) != Handle()) {
        win::KillTimer(Handle(), kRepeatTimer);
        tracker_.Release([this](win::WORD code, int position) { RequestScroll(code, position); });
      }
      break;
    default:
      if (Message.Msg == win::WM_LBUTTONDOWN || Message.Msg == win::WM_LBUTTONDBLCLK ||
          Message.Msg == win::WM_MOUSEMOVE || Message.Msg == win::WM_LBUTTONUP)
        HandleMouse(Message);
      break;
  }
  TCustomControl::WndProc(Message);
}

void TScrollBar::Paint() {
  PaintScrollBar(Canvas(), ClientRect(), kind_ == sbVertical, tracker_.Shown(CurrentInfo()), Enabled(),
                 tracker_.PressedPart());
}

}  // namespace gui
