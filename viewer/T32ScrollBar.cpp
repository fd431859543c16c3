#include "viewer/T32ScrollBar.h"

#include <algorithm>

#include "engine/document/TSectionList.h"
#include "platform/gui/UserCalls.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

T32ScrollBar::T32ScrollBar(gui::TComponent* AOwner, THTMLViewer& Viewer) : gui::TScrollBar(AOwner), viewer_(Viewer) {}

void T32ScrollBar::SetScrollValues(int APosition, int APage, int AMin, int AMax) {
  if (APosition == position_ && APage == page_ && AMin == min_ && AMax == max_) return;
  position_ = APosition;
  page_ = APage;
  min_ = AMin;
  max_ = AMax;
  WriteValues();
}

void T32ScrollBar::WriteValues() {
  if (!HandleAllocated()) return;
  win::SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS | win::SIF_TRACKPOS;
  if (viewer_.htOptions() & htShowVScroll) info.fMask |= win::SIF_DISABLENOSCROLL;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = static_cast<win::UINT>(std::max(0, page_));
  info.nPos = position_;
  win::SetScrollInfo(Handle(), win::SB_CTL, &info, win::TRUE);
  Invalidate();
}

void T32ScrollBar::CreateWnd() {
  gui::TScrollBar::CreateWnd();
  WriteValues();
}

void T32ScrollBar::SetPosition32(int Value) {
  if (Value == position_) return;
  position_ = Value;
  WriteValues();
  if (OnChange) OnChange(this);
}

// Line, page and thumb requests: the new place is clamped to the document and
// the panel's pixels move by the difference unless the background is fixed.
void T32ScrollBar::DoScroll(gui::TMessage& Message) {
  const int code = static_cast<int>(win::LOWORD(Message.WParam)) & 0x7F;
  const int old = position_;
  const int bottom = viewer_.DocumentHeight() - viewer_.PanelHeight();
  long long target = old;
  switch (code) {
    case win::SB_THUMBTRACK: {
      win::SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = win::SIF_ALL;
      if (HandleAllocated() && win::GetScrollInfo(Handle(), win::SB_CTL, &info)) target = info.nTrackPos;
      break;
    }
    case win::SB_LINEUP: target -= SmallChange(); break;
    case win::SB_LINEDOWN: target += SmallChange(); break;
    case win::SB_PAGEUP: target -= LargeChange(); break;
    case win::SB_PAGEDOWN: target += LargeChange(); break;
    case win::SB_TOP: target = 0; break;
    case win::SB_BOTTOM: target = bottom; break;
    default: break;
  }
  const int now = static_cast<int>(std::max<long long>(0, std::min<long long>(target, bottom)));
  SetPosition32(now);
  viewer_.Document().SetYOffset(now);
  TPaintPanel& panel = viewer_.PaintPanel();
  if (viewer_.BackgroundFixed() || !panel.HandleAllocated()) {
    panel.Invalidate();
  } else if (now != old) {
    win::ScrollWindow(panel.Handle(), 0, old - now, nullptr, nullptr);
    win::UpdateWindow(panel.Handle());
  }
}

}  // namespace viewer
