#pragma once
// The pointer and keyboard that tests (and hosts) drive: a cursor position,
// key and button states, and helpers that turn input into the messages a
// window receives (capture first, else the window under the point; keys to
// the focus window).
#include <optional>

#include "platform/win/user/Messages.h"

namespace win {

using SHORT = std::int16_t;

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_CANCEL = 0x03;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;

BOOL SetCursorPos(int x, int y);
BOOL GetCursorPos(POINT* point);
POINT currentCursorPos();
// Keeps the pointer inside the screen rectangle (right and bottom exclusive):
// SetCursorPos and the posted mouse input are held to it. A null rectangle
// frees the pointer again. GetClipCursor answers the rectangle, or the
// screen when the pointer is free.
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(RECT* rect);

// High bit (negative result): the key is down; low bit: it is toggled (Caps
// Lock). GetKeyState gives the state as of the input message the loop took
// last, GetAsyncKeyState the state of the input posted so far.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
// The loop took an input message: GetKeyState follows it.
void noteInputTaken(const MSG& message);
// Sets a key's state directly, for both views (for tests).
void setKeyDown(int virtualKey, bool down);
void setKeyToggled(int virtualKey, bool toggled);

// The character a key press types with the current shift, Caps Lock and
// control state (US layout), if it types one.
std::optional<char16_t> characterForKey(UINT virtualKey);

// Moves the pointer to the screen point and posts the mouse message
// (WM_MOUSEMOVE, WM_xBUTTONDOWN/UP, WM_MOUSEWHEEL with wheelDelta) to the
// capture window or the enabled visible window under the point, after
// WM_SETCURSOR. A second button press within the double-click time and
// distance becomes WM_xBUTTONDBLCLK for classes with CS_DBLCLKS. Button
// states follow. Returns the receiving window, 0 when none.
HWND postMouseInput(UINT message, POINT screenPoint, short wheelDelta = 0);
// Posts WM_KEYDOWN / WM_KEYUP (key state follows) to the focus window;
// returns it, 0 when no window has the focus.
HWND postKeyInput(UINT message, int virtualKey);
// Posts WM_CHAR to the focus window.
HWND postCharInput(char16_t character);

// The modifier and button bits (MK_*) of the current state.
WPARAM currentMouseKeys();

void resetInput();

}  // namespace win
