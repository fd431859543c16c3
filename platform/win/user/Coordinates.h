#pragma once
// Mapping points between client areas and the screen, and finding windows
// by position.
#include "platform/win/user/Messages.h"

namespace win {

BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
// Maps points from one window's client coordinates to another's (0: the
// screen). Returns the horizontal offset in the low word and the vertical in
// the high word; 0 (with an error set) for a stale window.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);

// The deepest visible, enabled window at the screen point; 0 when none.
HWND WindowFromPoint(POINT screenPoint);

constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
// The direct child of parent under the client point (topmost first), the
// parent itself when no child is there, 0 when the point is outside.
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);

}  // namespace win
