#include "platform/win/user/MessageQueue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/win/kernel/Clock.h"
#include "platform/win/kernel/LastError.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/Timers.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

// How long a wait under a virtual clock gives other threads to post before
// the loop reports that nothing can come.
constexpr std::chrono::seconds kVirtualClockIdleWait{5};

struct MessageQueue {
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<MSG> messages;
  bool quitPending = false;
  int quitCode = 0;
  std::thread::id owner = std::this_thread::get_id();
  MSG lastTaken;
};

MessageQueue& queue() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* instance = new MessageQueue();
  return *instance;
}

bool onOwnerThread() { return std::this_thread::get_id() == queue().owner; }

bool inRange(UINT message, UINT filterMin, UINT filterMax) {
  if (filterMin == 0 && filterMax == 0) return true;
  return message >= filterMin && message <= filterMax;
}

bool matchesWindow(HWND messageWindow, HWND filter) {
  if (filter == 0) return true;
  if (filter == kThreadMessagesOnly) return messageWindow == 0;
  return messageWindow == filter;
}

std::optional<MSG> takeQueued(HWND window, UINT filterMin, UINT filterMax, bool remove) {
  MessageQueue& q = queue();
  std::lock_guard lock(q.mutex);
  for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
    if (!matchesWindow(it->hwnd, window) || !inRange(it->message, filterMin, filterMax)) continue;
    MSG message = *it;
    if (remove) q.messages.erase(it);
    return message;
  }
  if (q.quitPending && inRange(WM_QUIT, filterMin, filterMax)) {
    MSG message;
    message.message = WM_QUIT;
    message.wParam = static_cast<WPARAM>(q.quitCode);
    if (remove) q.quitPending = false;
    return message;
  }
  return std::nullopt;
}

MSG stamped(MSG message) {
  message.time = static_cast<DWORD>(currentClock().nowMs());
  message.pt = currentCursorPos();
  return message;
}

std::optional<MSG> takeNext(HWND window, UINT filterMin, UINT filterMax, bool remove) {
  if (auto message = takeQueued(window, filterMin, filterMax, remove)) return message;
  if (window == kThreadMessagesOnly) return std::nullopt;
  if (inRange(WM_PAINT, filterMin, filterMax)) {
    if (const HWND needing = windowNeedingPaint(window)) {
      MSG message;
      message.hwnd = needing;
      message.message = WM_PAINT;
      return stamped(message);
    }
  }
  if (inRange(WM_TIMER, filterMin, filterMax))
    if (auto timer = takeDueTimer(window, remove)) return stamped(*timer);
  return std::nullopt;
}


// Blocks until something may be available. False when nothing can come.
bool waitForMessage() {
  if (auto* clock = dynamic_cast<VirtualClock*>(&currentClock())) {
    if (const auto due = nextTimerDueMs()) {
      if (*due > clock->nowMs()) clock->advance(*due - clock->nowMs());
      return true;
    }
    std::unique_lock lock(queue().mutex);
    return queue().arrived.wait_for(lock, kVirtualClockIdleWait,
                                    [] { return !queue().messages.empty() || queue().quitPending; });
  }
  std::unique_lock lock(queue().mutex);
  auto ready = [] { return !queue().messages.empty() || queue().quitPending; };
  if (const auto due = nextTimerDueMs()) {
    const std::uint64_t now = currentClock().nowMs();
    if (*due > now) queue().arrived.wait_for(lock, std::chrono::milliseconds(*due - now), ready);
  } else {
    queue().arrived.wait(lock, ready);
  }
  return true;
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The window table belongs to the UI thread; other threads' messages are
  // checked when they are dispatched.
  if (window != 0 && onOwnerThread() && !findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  MSG queued;
  queued.hwnd = window;
  queued.message = message;
  queued.wParam = wParam;
  queued.lParam = lParam;
  queued.time = static_cast<DWORD>(currentClock().nowMs());
  if (onOwnerThread()) queued.pt = currentCursorPos();
  {
    std::lock_guard lock(queue().mutex);
    queue().messages.push_back(queued);
  }
  queue().arrived.notify_all();
  return TRUE;
}

BOOL PostThreadMessageW(DWORD /*threadId*/, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(0, message, wParam, lParam);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WindowRecord* record = findWindow(window);
  if (!record || !record->procedure) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  // The record may be gone when the procedure returns; only the copy is used.
  const WNDPROC procedure = record->procedure;
  return procedure(window, message, wParam, lParam);
}

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!message) return FALSE;
  auto next = takeNext(window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0);
  if (!next) return FALSE;
  *message = *next;
  queue().lastTaken = *next;
  if (removeFlags & PM_REMOVE) noteInputTaken(*next);
  return TRUE;
}

int GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
  if (!message) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  while (true) {
    if (PeekMessageW(message, window, filterMin, filterMax, PM_REMOVE)) return message->message == WM_QUIT ? 0 : 1;
    if (!waitForMessage()) return -1;
  }
}

BOOL WaitMessage() {
  MSG message;
  while (!PeekMessageW(&message, 0, 0, 0, PM_NOREMOVE))
    if (!waitForMessage()) return FALSE;
  return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
  if (!message || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN)) return FALSE;
  const std::optional<char16_t> character = characterForKey(static_cast<UINT>(message->wParam));
  if (!character) return FALSE;
  const UINT charMessage = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  return PostMessageW(message->hwnd, charMessage, *character, message->lParam);
}

LRESULT DispatchMessageW(const MSG* message) {
  if (!message) return 0;
  if (message->message == WM_TIMER && message->lParam != 0) {
    const auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
    if (!isTimerProcedure(message->hwnd, message->wParam, procedure)) return 0;
    procedure(message->hwnd, WM_TIMER, message->wParam, static_cast<DWORD>(currentClock().nowMs()));
    return 0;
  }
  if (message->hwnd == 0) return 0;
  if (!findWindow(message->hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (message->message == WM_PAINT) return dispatchPaint(message->hwnd);
  return SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode) {
  {
    std::lock_guard lock(queue().mutex);
    queue().quitPending = true;
    queue().quitCode = exitCode;
  }
  queue().arrived.notify_all();
}

LONG GetMessageTime() { return static_cast<LONG>(queue().lastTaken.time); }

DWORD GetMessagePos() {
  const POINT pt = queue().lastTaken.pt;
  return static_cast<DWORD>(MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

void forgetWindowMessages(HWND window) {
  std::lock_guard lock(queue().mutex);
  std::erase_if(queue().messages, [&](const MSG& message) { return message.hwnd == window; });
}

void resetMessageQueue() {
  std::lock_guard lock(queue().mutex);
  queue().messages.clear();
  queue().quitPending = false;
  queue().quitCode = 0;
  queue().owner = std::this_thread::get_id();
  queue().lastTaken = MSG{};
}

}  // namespace win
