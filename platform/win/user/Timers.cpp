#include "platform/win/user/Timers.h"

#include <algorithm>
#include <vector>

#include "platform/win/kernel/Clock.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

struct Timer {
  HWND window = 0;
  UINT_PTR id = 0;
  UINT intervalMs = 0;
  TIMERPROC procedure = nullptr;
  std::uint64_t dueMs = 0;
};

struct TimerList {
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimerId = 1;
};

TimerList& timerList() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* list = new TimerList();
  return *list;
}

std::vector<Timer>::iterator findTimer(HWND window, UINT_PTR id) {
  auto& timers = timerList().timers;
  return std::find_if(timers.begin(), timers.end(),
                      [&](const Timer& timer) { return timer.window == window && timer.id == id; });
}

UINT_PTR newThreadTimerId() {
  TimerList& list = timerList();
  while (true) {
    const UINT_PTR id = list.nextThreadTimerId++;
    if (list.nextThreadTimerId == 0x7FFF) list.nextThreadTimerId = 1;
    if (findTimer(0, id) == list.timers.end()) return id;
  }
}

}  // namespace

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC procedure) {
  if (window != 0 && !findWindow(window)) return 0;
  const UINT interval = std::clamp(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  if (window == 0) {
    auto existing = findTimer(0, id);
    if (id == 0 || existing == timerList().timers.end()) id = newThreadTimerId();
  }
  const std::uint64_t due = currentClock().nowMs() + interval;
  auto existing = findTimer(window, id);
  if (existing != timerList().timers.end()) {
    existing->intervalMs = interval;
    existing->procedure = procedure;
    existing->dueMs = due;
  } else {
    timerList().timers.push_back(Timer{window, id, interval, procedure, due});
  }
  return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto timer = findTimer(window, id);
  if (timer == timerList().timers.end()) return FALSE;
  timerList().timers.erase(timer);
  return TRUE;
}

std::optional<MSG> takeDueTimer(HWND windowFilter, bool restart) {
  const std::uint64_t now = currentClock().nowMs();
  Timer* earliest = nullptr;
  for (Timer& timer : timerList().timers) {
    if (timer.dueMs > now) continue;
    if (windowFilter != 0 && timer.window != windowFilter) continue;
    if (!earliest || timer.dueMs < earliest->dueMs) earliest = &timer;
  }
  if (!earliest) return std::nullopt;
  MSG message;
  message.hwnd = earliest->window;
  message.message = WM_TIMER;
  message.wParam = earliest->id;
  message.lParam = reinterpret_cast<LPARAM>(earliest->procedure);
  message.time = static_cast<DWORD>(now);
  if (restart) earliest->dueMs = now + earliest->intervalMs;
  return message;
}

std::optional<std::uint64_t> nextTimerDueMs() {
  std::optional<std::uint64_t> earliest;
  for (const Timer& timer : timerList().timers)
    if (!earliest || timer.dueMs < *earliest) earliest = timer.dueMs;
  return earliest;
}

bool isTimerProcedure(HWND window, UINT_PTR id, TIMERPROC procedure) {
  auto timer = findTimer(window, id);
  return timer != timerList().timers.end() && timer->procedure == procedure;
}

void forgetWindowTimers(HWND window) {
  auto& timers = timerList().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& timer) { return timer.window == window; }),
               timers.end());
}

void resetTimers() { timerList() = TimerList{}; }

}  // namespace win
