#pragma once
// Driving the whole window system from tests and headless hosts.
#include <cstdint>

namespace win {

// Dispatches every message that is available now (queued, paint, due
// timers), at most maxMessages of them. Stops at WM_QUIT and leaves it
// pending. Returns the number dispatched.
int pumpMessages(int maxMessages = 100000);

// Moves the virtual clock forward by ms in steps, pumping at every timer due
// time on the way and at the end, so each timer fires as it would in real
// time. Under the real clock it only pumps. Returns the messages dispatched.
int advanceClockAndPump(std::uint64_t ms, int maxMessages = 100000);

// Destroys all windows and clears queue, timers, input, focus, capture,
// cursors, caret, clipboard and message-box records.
void resetWindowSystem();

}  // namespace win
