#include "viewer/TFrameBase.h"

#include <algorithm>

#include "platform/gui/UserCalls.h"
#include "viewer/TFrameSet.h"

namespace viewer {
namespace {

// About 23 days: longer delays wait this long.
constexpr int kMaxRefreshDelay = 2000000;

}  // namespace

unsigned RefreshInterval(int Delay) {
  return static_cast<unsigned>(std::clamp(Delay, 1, kMaxRefreshDelay)) * 1000u;
}

TFrameBase::TFrameBase(gui::TComponent* AOwner, TFrameSet* MasterSet)
    : gui::TCustomPanel(AOwner), masterSet_(MasterSet) {
  if (auto* owner = dynamic_cast<TFrameBase*>(AOwner)) localCharSet_ = owner->LocalCharSet();
  SetBevelInner(gui::bvNone);
  // The panels show the frame viewer's background between and around the frames.
  SetParentColor(true);
  TakeFrameMouseEvents();
}

void TFrameBase::TakeFrameMouseEvents() {
  OnMouseDown = [this](gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    FrameMouseDown(static_cast<gui::TControl*>(Sender), Button, Shift, X, Y);
  };
  OnMouseMove = [this](gui::TObject* Sender, gui::TShiftState Shift, int X, int Y) {
    FrameMouseMove(static_cast<gui::TControl*>(Sender), Shift, X, Y);
  };
  OnMouseUp = [this](gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    FrameMouseUp(static_cast<gui::TControl*>(Sender), Button, Shift, X, Y);
  };
}

void TFrameBase::WndProc(gui::TMessage& Message) {
  const win::HWND window = HandleAllocated() ? Handle() : 0;
  if (Message.Msg == win::WM_LBUTTONDOWN && window) win::SetCapture(window);
  gui::TCustomPanel::WndProc(Message);
  // A handler may have freed the panel: only the window handle is used now.
  if (Message.Msg == win::WM_LBUTTONUP && window && win::GetCapture() == window) win::ReleaseCapture();
}

}  // namespace viewer
