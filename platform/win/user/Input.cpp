#include "platform/win/user/Input.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Coordinates.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/SystemMetrics.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

struct LastClick {
  HWND window = 0;
  UINT downMessage = 0;
  std::uint64_t timeMs = 0;
  POINT screenPoint;
};

// Key states come twice, as on Windows: 'asyncDown' follows the input as it
// is posted (GetAsyncKeyState); 'down' follows the input messages as the loop
// takes them (GetKeyState), so a handler sees the state of its own message.
struct InputState {
  POINT cursor;
  std::array<bool, 256> down{};
  std::array<bool, 256> asyncDown{};
  std::array<bool, 256> toggled{};
  LastClick lastClick;
  std::optional<RECT> clip;
};

InputState& input() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* state = new InputState();
  return *state;
}

bool keyIndexValid(int virtualKey) { return virtualKey >= 0 && virtualKey < 256; }

bool isDown(int virtualKey) { return keyIndexValid(virtualKey) && input().down[virtualKey]; }
bool isAsyncDown(int virtualKey) { return keyIndexValid(virtualKey) && input().asyncDown[virtualKey]; }

// A press of a toggle key flips its toggle, as the keyboard does.
void pressAsync(int virtualKey, bool down) {
  if (!keyIndexValid(virtualKey)) return;
  if (down && !input().asyncDown[virtualKey] && virtualKey == VK_CAPITAL) input().toggled[virtualKey] ^= true;
  input().asyncDown[virtualKey] = down;
}

// The button a mouse message concerns, or 0.
int buttonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return VK_MBUTTON;
    default: return 0;
  }
}

bool isButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// A press, single or double (the up messages are the others of buttonOf).
bool isButtonPress(UINT message) {
  return isButtonDown(message) || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
         message == WM_MBUTTONDBLCLK;
}

// Turns a press into a double click when it repeats the last one closely enough.
UINT applyDoubleClick(UINT message, HWND target, POINT screenPoint) {
  LastClick& last = input().lastClick;
  const std::uint64_t now = currentClock().nowMs();
  const WindowRecord* record = findWindow(target);
  const bool repeats = record && (record->classStyle & CS_DBLCLKS) && last.window == target &&
                       last.downMessage == message && now - last.timeMs <= GetDoubleClickTime() &&
                       std::abs(screenPoint.x - last.screenPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                       std::abs(screenPoint.y - last.screenPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (repeats) {
    last = LastClick{};  // a third press starts over
    return message + 2;  // WM_xBUTTONDBLCLK follows WM_xBUTTONUP
  }
  last = LastClick{target, message, now, screenPoint};
  return message;
}

HWND keyboardTarget() { return findWindow(windowStore().focus) ? windowStore().focus : 0; }

// The point held inside the clip rectangle, if one is set.
POINT clipped(POINT point) {
  if (const auto& clip = input().clip) {
    point.x = std::clamp(point.x, clip->left, std::max(clip->left, clip->right - 1));
    point.y = std::clamp(point.y, clip->top, std::max(clip->top, clip->bottom - 1));
  }
  return point;
}

}  // namespace

BOOL SetCursorPos(int x, int y) {
  input().cursor = clipped(POINT{x, y});
  return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
  if (!rect) {
    input().clip.reset();
    return TRUE;
  }
  // Held to the screen, as the pointer cannot leave it anyway.
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT clip{std::max(rect->left, screen.left), std::max(rect->top, screen.top), std::min(rect->right, screen.right),
            std::min(rect->bottom, screen.bottom)};
  clip.right = std::max(clip.right, clip.left);
  clip.bottom = std::max(clip.bottom, clip.top);
  input().clip = clip;
  input().cursor = clipped(input().cursor);
  return TRUE;
}

BOOL GetClipCursor(RECT* rect) {
  if (!rect) return FALSE;
  *rect = input().clip ? *input().clip : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = input().cursor;
  return TRUE;
}

POINT currentCursorPos() { return input().cursor; }

SHORT GetKeyState(int virtualKey) {
  if (!keyIndexValid(virtualKey)) return 0;
  int state = 0;
  if (input().down[virtualKey]) state |= 0x8000;
  if (input().toggled[virtualKey]) state |= 0x0001;
  return static_cast<SHORT>(state);
}

SHORT GetAsyncKeyState(int virtualKey) {
  return isAsyncDown(virtualKey) ? static_cast<SHORT>(0x8000) : static_cast<SHORT>(0);
}

void setKeyDown(int virtualKey, bool down) {
  if (!keyIndexValid(virtualKey)) return;
  pressAsync(virtualKey, down);
  input().down[virtualKey] = down;
}

void noteInputTaken(const MSG& message) {
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (keyIndexValid(static_cast<int>(message.wParam)))
        input().down[message.wParam] = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
      break;
    default:
      if (const int button = buttonOf(message.message))
        input().down[button] = isButtonPress(message.message);
      break;
  }
}

void setKeyToggled(int virtualKey, bool toggled) {
  if (keyIndexValid(virtualKey)) input().toggled[virtualKey] = toggled;
}

std::optional<char16_t> characterForKey(UINT virtualKey) {
  const bool shift = isDown(VK_SHIFT);
  const bool control = isDown(VK_CONTROL);
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    if (control) return static_cast<char16_t>(virtualKey - 'A' + 1);
    const bool upper = shift != input().toggled[VK_CAPITAL];
    return static_cast<char16_t>(upper ? virtualKey : virtualKey + ('a' - 'A'));
  }
  if (virtualKey >= '0' && virtualKey <= '9') {
    static constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";
    return shift ? kShiftedDigits[virtualKey - '0'] : static_cast<char16_t>(virtualKey);
  }
  switch (virtualKey) {
    case VK_SPACE: return u' ';
    case VK_RETURN: return u'\r';
    case VK_BACK: return u'\b';
    case VK_TAB: return u'\t';
    case VK_ESCAPE: return u'\x1B';
    default: return std::nullopt;
  }
}

WPARAM currentMouseKeys() {
  WPARAM keys = 0;
  if (isAsyncDown(VK_LBUTTON)) keys |= MK_LBUTTON;
  if (isAsyncDown(VK_RBUTTON)) keys |= MK_RBUTTON;
  if (isAsyncDown(VK_MBUTTON)) keys |= MK_MBUTTON;
  if (isAsyncDown(VK_SHIFT)) keys |= MK_SHIFT;
  if (isAsyncDown(VK_CONTROL)) keys |= MK_CONTROL;
  return keys;
}

HWND postMouseInput(UINT message, POINT screenPoint, short wheelDelta) {
  screenPoint = clipped(screenPoint);
  input().cursor = screenPoint;
  const HWND captured = findWindow(windowStore().capture) ? windowStore().capture : 0;
  const HWND target = captured ? captured : WindowFromPoint(screenPoint);
  if (const int button = buttonOf(message)) pressAsync(button, isButtonPress(message));
  if (!target) return 0;
  if (!captured)
    SendMessageW(target, WM_SETCURSOR, target, MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(message)));
  if (!findWindow(target)) return 0;  // the handler destroyed it
  if (message == WM_MOUSEWHEEL) {
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(currentMouseKeys()), static_cast<WORD>(wheelDelta));
    PostMessageW(target, message, wParam, pointToLParam(screenPoint));
    return target;
  }
  if (isButtonDown(message)) message = applyDoubleClick(message, target, screenPoint);
  POINT client = screenPoint;
  ScreenToClient(target, &client);
  PostMessageW(target, message, currentMouseKeys(), pointToLParam(client));
  return target;
}

HWND postKeyInput(UINT message, int virtualKey) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool wasDown = isAsyncDown(virtualKey);
  pressAsync(virtualKey, down);
  const HWND target = keyboardTarget();
  if (!target) return 0;
  // lParam: repeat count 1; bit 30 the previous state; bit 31 set on release.
  LPARAM lParam = 1;
  if (wasDown) lParam |= LPARAM{1} << 30;
  if (!down) lParam |= static_cast<LPARAM>(0xC0000000u);
  PostMessageW(target, message, static_cast<WPARAM>(virtualKey), lParam);
  return target;
}

HWND postCharInput(char16_t character) {
  const HWND target = keyboardTarget();
  if (target) PostMessageW(target, WM_CHAR, character, 1);
  return target;
}

void resetInput() { input() = InputState{}; }

}  // namespace win
