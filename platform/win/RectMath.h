#pragma once
// Rectangle helpers shared by the drawing, text and window code. Right and
// bottom edges are exclusive; a rectangle with no pixels is empty, and the
// helpers that make one return RECT{}.
#include <algorithm>

#include "platform/win/Types.h"

namespace win {

constexpr bool isEmptyRect(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

// The pixels both rectangles cover.
constexpr RECT intersectRects(const RECT& a, const RECT& b) {
  const RECT result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
  return isEmptyRect(result) ? RECT{} : result;
}

// The smallest rectangle covering both; an empty one adds nothing.
constexpr RECT unionRects(const RECT& a, const RECT& b) {
  if (isEmptyRect(a)) return isEmptyRect(b) ? RECT{} : b;
  if (isEmptyRect(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

constexpr RECT offsetRect(RECT rect, LONG dx, LONG dy) {
  rect.left += dx;
  rect.right += dx;
  rect.top += dy;
  rect.bottom += dy;
  return rect;
}

constexpr bool rectContains(const RECT& rect, POINT point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace win
