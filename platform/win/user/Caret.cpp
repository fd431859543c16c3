#include "platform/win/user/Caret.h"

#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

constexpr UINT kCaretBlinkTimeMs = 530;

struct Caret {
  CaretState state;
  int hideCount = 1;
};

Caret& caret() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* instance = new Caret();
  return *instance;
}

bool ownsCaret(HWND window) {
  const HWND owner = caret().state.window;
  return owner != 0 && findWindow(owner) && (window == 0 || window == owner);
}

}  // namespace

BOOL CreateCaret(HWND window, HBITMAP /*bitmap*/, int width, int height) {
  if (!findWindow(window)) return FALSE;
  caret() = Caret{};
  caret().state.window = window;
  caret().state.width = width > 0 ? width : 1;
  caret().state.height = height > 0 ? height : 1;
  return TRUE;
}

BOOL DestroyCaret() {
  if (caret().state.window == 0) return FALSE;
  caret() = Caret{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  if (!ownsCaret(0)) return FALSE;
  caret().state.position = POINT{x, y};
  return TRUE;
}

BOOL GetCaretPos(POINT* point) {
  if (!point || !ownsCaret(0)) return FALSE;
  *point = caret().state.position;
  return TRUE;
}

BOOL ShowCaret(HWND window) {
  if (!ownsCaret(window) || caret().hideCount == 0) return FALSE;
  caret().state.visible = --caret().hideCount == 0;
  return TRUE;
}

BOOL HideCaret(HWND window) {
  if (!ownsCaret(window)) return FALSE;
  ++caret().hideCount;
  caret().state.visible = false;
  return TRUE;
}

UINT GetCaretBlinkTime() { return kCaretBlinkTimeMs; }

CaretState caretState() { return ownsCaret(0) ? caret().state : CaretState{}; }

void forgetWindowCaret(HWND window) {
  if (caret().state.window == window) caret() = Caret{};
}

void resetCaret() { caret() = Caret{}; }

}  // namespace win
