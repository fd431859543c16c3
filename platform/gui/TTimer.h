#pragma once
// A timer component: while Enabled with a non-zero Interval (ms) it raises
// OnTimer from the message loop, once per period.
#include "platform/gui/TControl.h"

namespace gui {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);

  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  static win::LRESULT TimerWndProc(win::HWND Window, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);

  bool enabled_ = true;
  unsigned interval_ = 1000;
  win::HWND window_ = 0;
};

}  // namespace gui
