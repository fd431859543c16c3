#pragma once
// Sending and posting messages, and the message loop. Sent messages call the
// window procedure at once; posted messages queue in FIFO order. The loop
// hands out queued messages first, then WM_QUIT, then WM_PAINT for a window
// that needs painting, then WM_TIMER for a due timer, as Windows does.
#include "platform/win/user/Messages.h"

namespace win {

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
// hwnd filter for messages posted to no window.
constexpr HWND kThreadMessagesOnly = 0xFFFFFFFF;

// Queues a message (window 0: a message for the thread). FALSE for a stale
// window. Safe to call from other threads; their messages are checked when
// they are taken from the queue.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure now; 0 with ERROR_INVALID_WINDOW_HANDLE for a
// stale window.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(window, message, wParam, lParam);
}
inline LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(window, message, wParam, lParam);
}

// Takes the next message for the window (0: any, kThreadMessagesOnly: thread
// messages) within [filterMin, filterMax] (both 0: all). Returns FALSE when
// there is none. WM_PAINT is never removed: it stays until the window is valid.
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits for a message: 0 for WM_QUIT, -1 when none can ever come (a virtual
// clock, no timer, nothing posted by another thread within a few seconds).
// Under a virtual clock, waiting for a timer moves the clock to its due time.
int GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax);
// Waits like GetMessageW without taking the message; FALSE when none can come.
BOOL WaitMessage();
// Posts WM_CHAR for a WM_KEYDOWN of a character key (with the shift state).
BOOL TranslateMessage(const MSG* message);
// Calls the procedure of the message's window; a WM_TIMER of a timer with a
// TIMERPROC calls that instead.
LRESULT DispatchMessageW(const MSG* message);
void PostQuitMessage(int exitCode);
// The time and pointer position of the last message taken from the queue.
LONG GetMessageTime();
DWORD GetMessagePos();

// Drops queued messages and a pending quit (for tests).
void resetMessageQueue();

}  // namespace win
