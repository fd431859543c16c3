#include "platform/win/user/WindowStore.h"

#include <algorithm>

namespace win {

WindowStore& windowStore() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* store = new WindowStore();
  return *store;
}

WindowRecord* findWindow(HWND window) { return windowStore().windows.get(window); }

RECT frameOf(const WindowRecord& window) {
  if (window.frame) return *window.frame;
  LONG edge = 0;
  if (window.style & WS_BORDER) edge += 1;
  if (window.exStyle & WS_EX_CLIENTEDGE) edge += 2;
  return RECT{edge, edge, edge, edge};
}

LONG clientWidth(const WindowRecord& window) {
  const RECT frame = frameOf(window);
  return std::max<LONG>(0, window.rect.right - window.rect.left - frame.left - frame.right);
}

LONG clientHeight(const WindowRecord& window) {
  const RECT frame = frameOf(window);
  return std::max<LONG>(0, window.rect.bottom - window.rect.top - frame.top - frame.bottom);
}

POINT clientOriginOnScreen(const WindowRecord& window) {
  const RECT screen = windowRectOnScreen(window);
  const RECT frame = frameOf(window);
  return POINT{screen.left + frame.left, screen.top + frame.top};
}

RECT windowRectOnScreen(const WindowRecord& window) {
  const WindowRecord* parent = findWindow(window.parent);
  if (!parent) return window.rect;
  const POINT origin = clientOriginOnScreen(*parent);
  return offsetRect(window.rect, origin.x, origin.y);
}

OffsetVector<HWND>& siblingsOf(const WindowRecord& window) {
  WindowRecord* parent = findWindow(window.parent);
  return parent ? parent->children : windowStore().topLevel;
}

bool isSelfOrAncestor(HWND ancestor, HWND window) {
  for (const WindowRecord* record = findWindow(window); record; record = findWindow(record->parent))
    if (record->handle == ancestor) return true;
  return false;
}

}  // namespace win
