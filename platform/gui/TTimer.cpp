#include "platform/gui/TTimer.h"

#include <unordered_map>

#include "platform/gui/TApplication.h"
#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

constexpr win::UINT_PTR kTimerId = 1;

// Never freed, so that timers outliving static destruction still find it.
std::unordered_map<win::HWND, TTimer*>& timersByWindow() {
  static auto* timers = new std::unordered_map<win::HWND, TTimer*>();
  return *timers;
}

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
  if (window_) {
    win::KillTimer(window_, kTimerId);
    timersByWindow().erase(window_);
    win::DestroyWindow(window_);
  }
}

void TTimer::SetEnabled(bool Value) {
  if (Value == enabled_) return;
  enabled_ = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (Value == interval_) return;
  interval_ = Value;
  UpdateTimer();
}

// Restarts the period from now, as any change of the timer does.
void TTimer::UpdateTimer() {
  if (window_) win::KillTimer(window_, kTimerId);
  if (!enabled_ || interval_ == 0) return;
  if (!window_ || !win::IsWindow(window_)) {
    window_ = win::createWindowWithProcedure(TimerWndProc, 0, win::WS_POPUP, win::RECT{0, 0, 0, 0}, 0);
    if (!window_) throw EOutOfResources("Not enough timers available");
    timersByWindow()[window_] = this;
  }
  if (!win::SetTimer(window_, kTimerId, interval_, nullptr)) throw EOutOfResources("Not enough timers available");
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

win::LRESULT TTimer::TimerWndProc(win::HWND Window, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) {
  if (Msg == win::WM_TIMER) {
    // The handler may free the timer: nothing of it is touched afterwards
    // unless the window still maps to it.
    const auto found = timersByWindow().find(Window);
    if (found != timersByWindow().end()) {
      try {
        found->second->Timer();
      } catch (...) {
        const auto still = timersByWindow().find(Window);
        Application->HandleException(still != timersByWindow().end() ? still->second : nullptr);
      }
    }
    return 0;
  }
  return win::DefWindowProcW(Window, Msg, WParam, LParam);
}

}  // namespace gui
