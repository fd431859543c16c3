#pragma once
// The caret as readable state: one per thread, owned by a window.
#include "platform/win/Types.h"

namespace win {

struct CaretState {
  HWND window = 0;  // 0: no caret
  int width = 0;
  int height = 0;
  POINT position;
  bool visible = false;  // shown as often as hidden
};

// Replaces any caret; the new one starts hidden.
BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* point);
// Show and hide nest: the caret shows when every HideCaret was matched.
BOOL ShowCaret(HWND window);
BOOL HideCaret(HWND window);
UINT GetCaretBlinkTime();
CaretState caretState();

void resetCaret();

}  // namespace win
