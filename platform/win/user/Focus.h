#pragma once
// Keyboard focus and mouse capture.
#include "platform/win/user/Messages.h"

namespace win {

// Moves the focus (0: to no window): WM_KILLFOCUS to the old window, then
// WM_SETFOCUS to the new one. Returns the previous focus window; 0 for a
// stale window (the focus stays).
HWND SetFocus(HWND window);
HWND GetFocus();
// The top-level window of the focus window.
HWND GetActiveWindow();

// Sends the mouse input to the window until released. Returns the previous
// capture window; WM_CAPTURECHANGED goes to it.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

}  // namespace win
