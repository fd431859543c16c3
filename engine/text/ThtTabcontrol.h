#pragma once
// ThtTabcontrol: the invisible one-pixel window that gives a link a place in
// the tab order. It keeps arrow keys for itself so that they reach its
// KeyDown handler (and through it the viewer's scrolling).
#include "platform/gui/TWinControl.h"

namespace engine {

class ThtTabcontrol : public gui::TWinControl {
 public:
  // Parked at Left -4000 on parent. It has no owner component: the link run
  // that made it is its only owner, whichever of the two goes first.
  explicit ThtTabcontrol(gui::TWinControl* parent);
  void WndProc(gui::TMessage& Message) override;
};

}  // namespace engine
