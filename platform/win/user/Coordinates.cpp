#include "platform/win/user/Coordinates.h"

#include "platform/win/kernel/LastError.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

bool isShown(const WindowRecord& window) { return (window.style & WS_VISIBLE) != 0; }
bool isEnabled(const WindowRecord& window) { return (window.style & WS_DISABLED) == 0; }

// The deepest visible, enabled descendant of 'window' holding the screen point.
HWND deepestAt(const WindowRecord& window, POINT screenPoint) {
  for (const HWND child : window.children) {
    const WindowRecord* record = findWindow(child);
    if (!record || !isShown(*record) || !isEnabled(*record)) continue;
    if (!rectContains(windowRectOnScreen(*record), screenPoint)) continue;
    return deepestAt(*record, screenPoint);
  }
  return window.handle;
}

// The screen position of a window's client origin; (0, 0) for the screen.
bool originOf(HWND window, POINT& origin) {
  if (window == 0) {
    origin = POINT{};
    return true;
  }
  const WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  origin = clientOriginOnScreen(*record);
  return true;
}

}  // namespace

BOOL ClientToScreen(HWND window, POINT* point) {
  POINT origin;
  if (!point || window == 0 || !originOf(window, origin)) return FALSE;
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  POINT origin;
  if (!point || window == 0 || !originOf(window, origin)) return FALSE;
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT fromOrigin;
  POINT toOrigin;
  if (!originOf(from, fromOrigin) || !originOf(to, toOrigin)) return 0;
  const LONG dx = fromOrigin.x - toOrigin.x;
  const LONG dy = fromOrigin.y - toOrigin.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<int>(MAKELPARAM(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND WindowFromPoint(POINT screenPoint) {
  for (const HWND topLevel : windowStore().topLevel) {
    const WindowRecord* record = findWindow(topLevel);
    if (!record || !isShown(*record) || !isEnabled(*record)) continue;
    if (rectContains(record->rect, screenPoint)) return deepestAt(*record, screenPoint);
  }
  return 0;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
  const WindowRecord* record = findWindow(parent);
  if (!record) return 0;
  if (!rectContains(RECT{0, 0, clientWidth(*record), clientHeight(*record)}, clientPoint)) return 0;
  for (const HWND child : record->children) {
    const WindowRecord* childRecord = findWindow(child);
    if (!childRecord) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !isShown(*childRecord)) continue;
    if ((flags & CWP_SKIPDISABLED) && !isEnabled(*childRecord)) continue;
    if (rectContains(childRecord->rect, clientPoint)) return child;
  }
  return parent;
}

}  // namespace win
