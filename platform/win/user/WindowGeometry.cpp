#include <algorithm>

#include "platform/win/kernel/LastError.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

constexpr int kCoordinateLimit = 1 << 26;
constexpr HWND kTopMost = 0xFFFFFFFF;
constexpr HWND kNoTopMost = 0xFFFFFFFE;

void restack(WindowRecord& record, HWND insertAfter) {
  OffsetVector<HWND>& siblings = siblingsOf(record);
  if (insertAfter != HWND_TOP && insertAfter != HWND_BOTTOM && insertAfter != kTopMost && insertAfter != kNoTopMost) {
    const WindowRecord* after = findWindow(insertAfter);
    if (!after || after->parent != record.parent || insertAfter == record.handle) return;
  }
  siblings.erase(std::remove(siblings.begin(), siblings.end(), record.handle), siblings.end());
  if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(record.handle);
  } else if (insertAfter == HWND_TOP || insertAfter == kTopMost || insertAfter == kNoTopMost) {
    siblings.insert(siblings.begin(), record.handle);
  } else {
    siblings.insert(std::find(siblings.begin(), siblings.end(), insertAfter) + 1, record.handle);
  }
}

LPARAM clientOriginParam(const WindowRecord& record) {
  const RECT frame = frameOf(record);
  return MAKELPARAM(static_cast<WORD>(record.rect.left + frame.left), static_cast<WORD>(record.rect.top + frame.top));
}

LPARAM clientSizeParam(const WindowRecord& record) {
  return MAKELPARAM(static_cast<WORD>(clientWidth(record)), static_cast<WORD>(clientHeight(record)));
}

// Applies a new rectangle and tells the window what changed.
void applyRect(HWND window, const RECT& newRect, bool redraw) {
  WindowRecord* record = findWindow(window);
  const bool moved = newRect.left != record->rect.left || newRect.top != record->rect.top;
  const bool sized = newRect.right - newRect.left != record->rect.right - record->rect.left ||
                     newRect.bottom - newRect.top != record->rect.bottom - record->rect.top;
  if (!moved && !sized) return;
  const bool visible = (record->style & WS_VISIBLE) != 0;
  if (visible && redraw) invalidateAreaInParent(*record);
  record->rect = newRect;
  if (sized) syncSurface(*record);
  if (visible && redraw) invalidateWindow(window, nullptr, true, true);
  if (moved) SendMessageW(window, WM_MOVE, 0, clientOriginParam(*record));
  record = findWindow(window);
  if (sized && record) SendMessageW(window, WM_SIZE, SIZE_RESTORED, clientSizeParam(*record));
}

bool focusWithin(HWND window) { return GetFocus() != 0 && isSelfOrAncestor(window, GetFocus()); }

}  // namespace

BOOL ShowWindow(HWND window, int command) {
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const bool wasVisible = (record->style & WS_VISIBLE) != 0;
  const bool show = command != SW_HIDE;
  if (show == wasVisible) return wasVisible ? TRUE : FALSE;
  SendMessageW(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  record = findWindow(window);
  if (!record) return wasVisible ? TRUE : FALSE;
  if (show) {
    record->style |= WS_VISIBLE;
    invalidateWindow(window, nullptr, true, true);
  } else {
    invalidateAreaInParent(*record);
    record->style &= ~WS_VISIBLE;
    // A hidden window takes no keyboard input: the focus moves to its parent
    // (nowhere for a top-level window).
    if (focusWithin(window)) SetFocus(record->parent);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  const WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  for (; record; record = findWindow(record->parent))
    if (!(record->style & WS_VISIBLE)) return FALSE;
  return TRUE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const bool wasDisabled = (record->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
  if (enable) {
    record->style &= ~WS_DISABLED;
  } else {
    record->style |= WS_DISABLED;
    // A disabled window takes no keyboard input, so it gives up the focus.
    if (focusWithin(window)) SetFocus(0);
  }
  SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
  const WindowRecord* record = findWindow(window);
  return record && !(record->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(flags & SWP_NOZORDER)) {
    restack(*record, insertAfter);
    if ((record->style & WS_VISIBLE) && !(flags & SWP_NOREDRAW)) invalidateWindow(window, nullptr, true, true);
  }
  RECT rect = record->rect;
  if (!(flags & SWP_NOMOVE)) {
    const LONG left = std::clamp(x, -kCoordinateLimit, kCoordinateLimit);
    const LONG top = std::clamp(y, -kCoordinateLimit, kCoordinateLimit);
    rect = offsetRect(rect, left - rect.left, top - rect.top);
  }
  if (!(flags & SWP_NOSIZE)) {
    rect.right = rect.left + std::clamp(width, 0, kCoordinateLimit);
    rect.bottom = rect.top + std::clamp(height, 0, kCoordinateLimit);
  }
  applyRect(window, rect, !(flags & SWP_NOREDRAW));
  record = findWindow(window);
  if (record && (flags & SWP_FRAMECHANGED)) {
    syncSurface(*record);
    SendMessageW(window, WM_SIZE, SIZE_RESTORED, clientSizeParam(*record));
  }
  if (findWindow(window) && (flags & SWP_SHOWWINDOW)) ShowWindow(window, SW_SHOWNA);
  if (findWindow(window) && (flags & SWP_HIDEWINDOW)) ShowWindow(window, SW_HIDE);
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(window, 0, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetClientRect(HWND window, RECT* rect) {
  const WindowRecord* record = findWindow(window);
  if (!record || !rect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = RECT{0, 0, clientWidth(*record), clientHeight(*record)};
  return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  const WindowRecord* record = findWindow(window);
  if (!record || !rect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = windowRectOnScreen(*record);
  return TRUE;
}

BOOL setWindowFrame(HWND window, const RECT& frame) {
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  record->frame = RECT{std::max<LONG>(0, frame.left), std::max<LONG>(0, frame.top), std::max<LONG>(0, frame.right),
                       std::max<LONG>(0, frame.bottom)};
  syncSurface(*record);
  if (record->style & WS_VISIBLE) invalidateWindow(window, nullptr, true, true);
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, clientSizeParam(*record));
  return TRUE;
}

}  // namespace win
