#include "platform/gui/ScrollBarTracker.h"

namespace gui {

win::WORD ScrollBarTracker::RequestOf(ScrollBarPart Part) {
  switch (Part) {
    case ScrollBarPart::LineUp: return win::SB_LINEUP;
    case ScrollBarPart::LineDown: return win::SB_LINEDOWN;
    case ScrollBarPart::PageUp: return win::SB_PAGEUP;
    case ScrollBarPart::PageDown: return win::SB_PAGEDOWN;
    default: return win::SB_ENDSCROLL;
  }
}

bool ScrollBarTracker::Press(const win::RECT& Bar, bool Vertical, const win::SCROLLINFO& Info, win::POINT Point,
                             const ScrollRequest& Request) {
  const ScrollBarLayout layout = LayoutScrollBar(Bar, Vertical, Info);
  const ScrollBarPart part = ScrollBarPartAt(layout, Point);
  if (part == ScrollBarPart::None) return false;
  bar_ = Bar;
  vertical_ = Vertical;
  part_ = part;
  pointerOnPart_ = true;
  lastPoint_ = Point;
  if (part == ScrollBarPart::Thumb) {
    const int along = Vertical ? Point.y : Point.x;
    grabOffset_ = along - (Vertical ? layout.thumb.top : layout.thumb.left);
    trackPosition_ = Info.nPos;
    return true;
  }
  Request(RequestOf(part), 0);
  return true;
}

void ScrollBarTracker::Move(win::POINT Point, const win::SCROLLINFO& Info, const ScrollRequest& Request) {
  if (!Active()) return;
  lastPoint_ = Point;
  const ScrollBarLayout layout = LayoutScrollBar(bar_, vertical_, Info);
  if (part_ != ScrollBarPart::Thumb) {
    pointerOnPart_ = ScrollBarPartAt(layout, Point) == part_;
    return;
  }
  const int along = vertical_ ? Point.y : Point.x;
  const int position = ScrollPositionForThumb(layout, Info, along - grabOffset_);
  if (position == trackPosition_) return;
  trackPosition_ = position;
  Request(win::SB_THUMBTRACK, position);
}

void ScrollBarTracker::Release(const ScrollRequest& Request) {
  if (!Active()) return;
  const bool dragged = part_ == ScrollBarPart::Thumb;
  part_ = ScrollBarPart::None;
  pointerOnPart_ = false;
  if (dragged) Request(win::SB_THUMBPOSITION, trackPosition_);
  Request(win::SB_ENDSCROLL, 0);
}

void ScrollBarTracker::Repeat(const win::SCROLLINFO& Info, const ScrollRequest& Request) {
  if (!Active() || part_ == ScrollBarPart::Thumb) return;
  // Paging stops once the thumb has come to the pointer.
  const ScrollBarLayout layout = LayoutScrollBar(bar_, vertical_, Info);
  pointerOnPart_ = ScrollBarPartAt(layout, lastPoint_) == part_;
  if (pointerOnPart_) Request(RequestOf(part_), 0);
}

win::SCROLLINFO ScrollBarTracker::Shown(const win::SCROLLINFO& Info) const {
  win::SCROLLINFO shown = Info;
  if (Dragging()) shown.nPos = trackPosition_;
  return shown;
}

}  // namespace gui
