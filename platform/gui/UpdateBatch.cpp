#include "platform/gui/UpdateBatch.h"

#include <algorithm>

#include "platform/win/user/Painting.h"
#include "platform/win/user/Windows.h"

namespace gui {
namespace {

struct BatchState {
  int depth = 0;
  bool painting = false;
  std::vector<win::HWND> windows;  // in the order first noted
};

BatchState& batchState() {
  static BatchState state;
  return state;
}

// True when an ancestor of the window is noted too: updating that one
// paints this window as well, after the ancestor, which may cover it.
bool AncestorNoted(win::HWND Window, const std::vector<win::HWND>& Windows) {
  for (win::HWND parent = win::GetParent(Window); parent; parent = win::GetParent(parent)) {
    if (std::find(Windows.begin(), Windows.end(), parent) != Windows.end()) return true;
  }
  return false;
}

}  // namespace

UpdateBatch::UpdateBatch() { ++batchState().depth; }

UpdateBatch::~UpdateBatch() {
  BatchState& state = batchState();
  if (--state.depth == 0) state.windows.clear();
}

void UpdateBatch::Flush() {
  BatchState& state = batchState();
  if (state.depth != 1 || state.painting) return;
  std::vector<win::HWND> windows;
  windows.swap(state.windows);
  // Windows destroyed since they were noted are left out.
  std::erase_if(windows, [](win::HWND window) { return !win::IsWindow(window); });
  state.painting = true;
  try {
    for (const win::HWND window : windows) {
      if (win::IsWindow(window) && !AncestorNoted(window, windows)) win::UpdateWindow(window);
    }
  } catch (...) {
    state.painting = false;
    throw;
  }
  state.painting = false;
}

bool UpdateBatch::Defer(win::HWND Window) {
  BatchState& state = batchState();
  if (state.depth == 0 || state.painting) return false;
  if (std::find(state.windows.begin(), state.windows.end(), Window) == state.windows.end())
    state.windows.push_back(Window);
  return true;
}

}  // namespace gui
