#pragma once
// Window timers on the clock of Clock.h. A timer fires only from the message
// loop: when the queue holds nothing else, a due timer yields one WM_TIMER
// (periods missed meanwhile are not made up) and starts its next period.
#include <cstdint>
#include <optional>

#include "platform/win/user/Messages.h"

namespace win {

constexpr UINT USER_TIMER_MINIMUM = 10;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// Starts or restarts timer 'id' of the window; with window 0 a new id is
// chosen and returned. Intervals are clamped to the limits above. 0 for a
// stale window.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// For the message loop: the due timer with the earliest due time (of the
// window, when given), as a WM_TIMER message; 'restart' starts its next period.
std::optional<MSG> takeDueTimer(HWND windowFilter, bool restart);
// The earliest due time of any timer, if there is one.
std::optional<std::uint64_t> nextTimerDueMs();
// Whether the timer exists with this procedure (so DispatchMessage never
// calls an address that came from a posted message).
bool isTimerProcedure(HWND window, UINT_PTR id, TIMERPROC procedure);

void resetTimers();

}  // namespace win
