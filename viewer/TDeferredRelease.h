#pragma once
// TDeferredRelease: objects unlinked while one of their own handlers may
// still be running (a click on a frame's viewer, a frame's refresh timer)
// wait here and are freed once the current message is over. Whatever is
// still waiting when the holder goes is freed then.
#include <memory>
#include <vector>

#include "platform/gui/TObject.h"
#include "platform/win/Types.h"

namespace viewer {

class TDeferredRelease {
 public:
  TDeferredRelease() = default;
  ~TDeferredRelease();
  TDeferredRelease(const TDeferredRelease&) = delete;
  TDeferredRelease& operator=(const TDeferredRelease&) = delete;

  // Takes Object over; it is freed after the current message.
  void Add(gui::TObject* Object);
  // Frees everything waiting now (also what the freed objects hand in).
  void FreePending();
  bool Pending() const { return !pending_.empty(); }

 private:
  static win::LRESULT WndProc(win::HWND Window, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);

  std::vector<std::unique_ptr<gui::TObject>> pending_;
  win::HWND window_ = 0;
  bool posted_ = false;
};

}  // namespace viewer
