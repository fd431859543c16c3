#include "UserTestSupport.h"

#include <algorithm>

using namespace win;

namespace usertest {

std::vector<Received>& received() {
  static std::vector<Received> log;
  return log;
}

Reaction& reaction() {
  static Reaction current;
  return current;
}

LRESULT recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received().push_back(Received{window, message, wParam, lParam});
  if (reaction())
    if (auto answer = reaction()(window, message, wParam, lParam)) return *answer;
  return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<UINT> messagesOf(HWND window, const std::vector<UINT>& interesting) {
  std::vector<UINT> result;
  for (const Received& each : received())
    if (each.window == window && std::find(interesting.begin(), interesting.end(), each.message) != interesting.end())
      result.push_back(each.message);
  return result;
}

void UserTest::SetUp() {
  resetWindowSystem();
  clock = &useVirtualClock();
  received().clear();
  reaction() = nullptr;
}

void UserTest::TearDown() {
  reaction() = nullptr;
  resetWindowSystem();
  setClock(nullptr);
}

HWND UserTest::topLevel(const RECT& bounds, DWORD style) {
  return createWindowWithProcedure(recordingProcedure, 0, style, bounds, 0);
}

HWND UserTest::child(HWND parent, const RECT& bounds, DWORD style) {
  return createWindowWithProcedure(recordingProcedure, 0, style | WS_CHILD, bounds, parent);
}

}  // namespace usertest
