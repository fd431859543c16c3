#include "platform/win/user/Focus.h"

#include "platform/win/kernel/LastError.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowStore.h"

namespace win {

HWND SetFocus(HWND window) {
  WindowStore& store = windowStore();
  if (window != 0 && !findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const HWND previous = findWindow(store.focus) ? store.focus : 0;
  if (previous == window) return previous;
  store.focus = window;
  if (previous) SendMessageW(previous, WM_KILLFOCUS, window, 0);
  // The old window's handler may have moved the focus elsewhere already.
  if (window && store.focus == window) SendMessageW(window, WM_SETFOCUS, previous, 0);
  return previous;
}

HWND GetFocus() { return findWindow(windowStore().focus) ? windowStore().focus : 0; }

HWND GetActiveWindow() { return GetAncestor(GetFocus(), GA_ROOT); }

HWND SetCapture(HWND window) {
  WindowStore& store = windowStore();
  if (!findWindow(window)) return 0;
  const HWND previous = findWindow(store.capture) ? store.capture : 0;
  store.capture = window;
  if (previous && previous != window) SendMessageW(previous, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(window));
  return previous;
}

BOOL ReleaseCapture() {
  WindowStore& store = windowStore();
  const HWND previous = findWindow(store.capture) ? store.capture : 0;
  store.capture = 0;
  if (previous) SendMessageW(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return findWindow(windowStore().capture) ? windowStore().capture : 0; }

void forgetWindowInput(HWND window) {
  WindowStore& store = windowStore();
  if (store.focus == window) {
    store.focus = 0;
    SendMessageW(window, WM_KILLFOCUS, 0, 0);
  }
  if (store.capture == window) {
    store.capture = 0;
    SendMessageW(window, WM_CAPTURECHANGED, 0, 0);
  }
}

}  // namespace win
