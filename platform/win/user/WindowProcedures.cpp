#include <algorithm>

#include "platform/win/kernel/LastError.h"
#include "platform/win/user/Cursors.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

constexpr DWORD ERROR_INVALID_INDEX = 1413;

std::size_t textLength(const WCHAR* text) {
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

LRESULT copyTextOut(const WindowRecord& record, WPARAM maxCount, LPARAM buffer) {
  auto* out = reinterpret_cast<WCHAR*>(buffer);
  if (!out || maxCount == 0) return 0;
  const std::size_t count = std::min<std::size_t>(record.text.size(), maxCount - 1);
  std::copy_n(record.text.begin(), count, out);
  out[count] = 0;
  return static_cast<LRESULT>(count);
}

LRESULT setCursorByDefault(const WindowRecord& record, WPARAM wParam, LPARAM lParam) {
  // A parent may choose the cursor for its children first.
  if (record.parent && SendMessageW(record.parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  const WindowRecord* current = findWindow(record.handle);
  if (!current || LOWORD(static_cast<std::uintptr_t>(lParam)) != HTCLIENT) return FALSE;
  if (current->classCursor) SetCursor(current->classCursor);
  return current->classCursor ? TRUE : FALSE;
}

}  // namespace

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = findWindow(window);
  if (!record) return 0;
  switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint)) EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND: return eraseWithClassBackground(window, static_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const WCHAR*>(lParam);
      record->text = text ? std::u16string(text, textLength(text)) : std::u16string();
      return TRUE;
    }
    case WM_GETTEXT: return copyTextOut(*record, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(record->text.size());
    case WM_SETCURSOR: return setCursorByDefault(*record, wParam, lParam);
    case WM_MOUSEWHEEL: return record->parent ? SendMessageW(record->parent, message, wParam, lParam) : 0;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR previous = GetWindowLongPtrW(window, index);
  switch (index) {
    case GWL_WNDPROC: record->procedure = reinterpret_cast<WNDPROC>(value); break;
    case GWL_HINSTANCE: record->instance = static_cast<HINSTANCE>(value); break;
    case GWL_HWNDPARENT:
      if (record->parent == 0) record->owner = GetAncestor(static_cast<HWND>(value), GA_ROOT);
      break;
    case GWL_ID: record->id = value; break;
    case GWL_STYLE: record->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: record->exStyle = static_cast<DWORD>(value); break;
    case GWL_USERDATA: record->userData = value; break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return previous;
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
  const WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(record->procedure);
    case GWL_HINSTANCE: return static_cast<LONG_PTR>(record->instance);
    case GWL_HWNDPARENT: return static_cast<LONG_PTR>(record->parent ? record->parent : record->owner);
    case GWL_ID: return record->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(record->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(record->exStyle);
    case GWL_USERDATA: return record->userData;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
  }
}

BOOL SetWindowTextW(HWND window, const WCHAR* text) {
  if (!findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, WCHAR* buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  if (!findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer));
  return static_cast<int>(std::clamp<LRESULT>(copied, 0, maxCount - 1));
}

int GetWindowTextLengthW(HWND window) {
  if (!findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(std::max<LRESULT>(0, SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)));
}

std::u16string windowText(HWND window) {
  constexpr int kMaxTextLength = 1 << 24;  // a handler's claim is not trusted beyond this
  const int length = std::min(GetWindowTextLengthW(window), kMaxTextLength);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

}  // namespace win
