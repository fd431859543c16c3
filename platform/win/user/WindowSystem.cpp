#include "platform/win/user/WindowSystem.h"

#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Cursors.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageBoxes.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Timers.h"
#include "platform/win/user/Windows.h"

namespace win {

int pumpMessages(int maxMessages) {
  int dispatched = 0;
  MSG message;
  while (dispatched < maxMessages && PeekMessageW(&message, 0, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    ++dispatched;
  }
  return dispatched;
}

int advanceClockAndPump(std::uint64_t ms, int maxMessages) {
  auto* clock = dynamic_cast<VirtualClock*>(&currentClock());
  int dispatched = pumpMessages(maxMessages);
  if (!clock) return dispatched;
  const std::uint64_t target = clock->nowMs() + ms;
  while (dispatched < maxMessages) {
    const auto due = nextTimerDueMs();
    if (!due || *due > target) break;
    if (*due > clock->nowMs()) clock->advance(*due - clock->nowMs());
    const int step = pumpMessages(maxMessages - dispatched);
    dispatched += step;
    if (step == 0 && *due <= clock->nowMs()) break;  // a due timer that could not be delivered
  }
  if (clock->nowMs() < target) clock->advance(target - clock->nowMs());
  return dispatched + pumpMessages(maxMessages - dispatched);
}

void resetWindowSystem() {
  resetWindows();
  resetMessageQueue();
  resetTimers();
  resetInput();
  resetCursors();
  resetCaret();
  resetClipboard();
  resetMessageBoxes();
}

}  // namespace win
