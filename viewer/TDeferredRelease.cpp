#include "viewer/TDeferredRelease.h"

#include <unordered_map>

#include "platform/gui/TControl.h"
#include "platform/gui/UserCalls.h"

namespace viewer {
namespace {

constexpr win::UINT kReleaseMessage = win::WM_USER + 0x70;

// Never freed, so that holders outliving static destruction still find it.
std::unordered_map<win::HWND, TDeferredRelease*>& holdersByWindow() {
  static auto* holders = new std::unordered_map<win::HWND, TDeferredRelease*>();
  return *holders;
}

}  // namespace

TDeferredRelease::~TDeferredRelease() {
  if (window_) {
    holdersByWindow().erase(window_);
    win::DestroyWindow(window_);
  }
  FreePending();
}

void TDeferredRelease::Add(gui::TObject* Object) {
  if (!Object) return;
  // Out of sight now; its owner no longer frees it, its parent still may
  // lose it first (which only unlinks it).
  if (auto* control = dynamic_cast<gui::TControl*>(Object)) control->Hide();
  if (auto* component = dynamic_cast<gui::TComponent*>(Object); component && component->Owner()) {
    component->Owner()->RemoveComponent(component);
  }
  pending_.emplace_back(Object);
  if (posted_) return;
  if (!window_ || !win::IsWindow(window_)) {
    window_ = win::createWindowWithProcedure(WndProc, 0, win::WS_POPUP, win::RECT{0, 0, 0, 0}, 0);
    if (window_) holdersByWindow()[window_] = this;
  }
  posted_ = window_ && win::PostMessageW(window_, kReleaseMessage, 0, 0);
}

void TDeferredRelease::FreePending() {
  while (!pending_.empty()) {
    std::vector<std::unique_ptr<gui::TObject>> batch;
    batch.swap(pending_);
    batch.clear();
  }
}

win::LRESULT TDeferredRelease::WndProc(win::HWND Window, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) {
  if (Msg != kReleaseMessage) return win::DefWindowProcW(Window, Msg, WParam, LParam);
  const auto found = holdersByWindow().find(Window);
  if (found != holdersByWindow().end()) {
    TDeferredRelease* holder = found->second;
    holder->posted_ = false;
    holder->FreePending();
  }
  return 0;
}

}  // namespace viewer
