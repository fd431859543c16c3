#include "platform/win/user/WindowStore.h"

#include <algorithm>

namespace win {

WindowStore& windowStore() {
  static WindowStore store;
  return store;
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

std::vector<HWND>& siblingsOf(const WindowRecord& window) {
  WindowRecord* parent = findWindow(window.parent);
  return parent ? parent->children : windowStore().topLevel;
}

bool isSelfOrAncestor(HWND ancestor, HWND window) {
  for (const WindowRecord* record = findWindow(window); record; record = findWindow(record->parent))
    if (record->handle == ancestor) return true;
  return false;
}

bool isEmptyRect(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

RECT intersectRects(const RECT& a, const RECT& b) {
  const RECT result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
  return isEmptyRect(result) ? RECT{} : result;
}

RECT unionRects(const RECT& a, const RECT& b) {
  if (isEmptyRect(a)) return isEmptyRect(b) ? RECT{} : b;
  if (isEmptyRect(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

RECT offsetRect(RECT rect, LONG dx, LONG dy) {
  rect.left += dx;
  rect.right += dx;
  rect.top += dy;
  rect.bottom += dy;
  return rect;
}

bool rectContains(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace win
