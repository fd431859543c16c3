#pragma once
// The mouse on a scroll bar, for the scroll-bar control and for the bars
// that lists and memos draw inside themselves: a press on an arrow or the
// trough asks for a line or a page and repeats while held (the owner's timer
// calls Repeat), a press on the thumb drags it and reports the track
// position, and the release ends the scroll.
#include <functional>

#include "platform/gui/ClassicLook.h"

namespace gui {

class ScrollBarTracker {
 public:
  // Code is an SB_ request; Position the thumb's position for the thumb codes.
  using ScrollRequest = std::function<void(win::WORD Code, int Position)>;
  // Milliseconds before the first repeat and between repeats.
  static constexpr win::UINT kFirstRepeatDelay = 400;
  static constexpr win::UINT kRepeatInterval = 50;

  // A press at Point of the bar at Bar (owner coordinates) showing Info;
  // false when the point hits nothing there.
  bool Press(const win::RECT& Bar, bool Vertical, const win::SCROLLINFO& Info, win::POINT Point,
             const ScrollRequest& Request);
  void Move(win::POINT Point, const win::SCROLLINFO& Info, const ScrollRequest& Request);
  void Release(const ScrollRequest& Request);
  // Repeats the held line or page request while the pointer is over its part.
  void Repeat(const win::SCROLLINFO& Info, const ScrollRequest& Request);

  bool Active() const { return part_ != ScrollBarPart::None; }
  ScrollBarPart PressedPart() const { return pointerOnPart_ ? part_ : ScrollBarPart::None; }
  bool Dragging() const { return part_ == ScrollBarPart::Thumb; }
  int TrackPosition() const { return trackPosition_; }
  // The numbers to paint: the track position in place of the position while
  // the thumb is dragged.
  win::SCROLLINFO Shown(const win::SCROLLINFO& Info) const;

 private:
  static win::WORD RequestOf(ScrollBarPart Part);
  win::RECT bar_{};
  bool vertical_ = true;
  ScrollBarPart part_ = ScrollBarPart::None;
  bool pointerOnPart_ = false;
  win::POINT lastPoint_{};
  int grabOffset_ = 0;  // from the thumb's start to the pointer
  int trackPosition_ = 0;
};

}  // namespace gui
