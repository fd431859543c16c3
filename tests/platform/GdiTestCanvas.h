#pragma once
// A memory DC over its own bitmap, for drawing tests: colour (32 bpp) or
// monochrome, filled with one colour to start with.
#include <algorithm>
#include <string>

#include "platform/win/Gdi.h"

namespace win::gditest {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct Canvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;

  Canvas(int width, int height, bool monochrome = false, COLORREF fill = kWhite) {
    dc = CreateCompatibleDC(0);
    bitmap = CreateBitmap(width, height, 1, monochrome ? 1 : 32, nullptr);
    previous = SelectObject(dc, bitmap);
    fillDeviceRect(*dcFromHandle(dc), RECT{0, 0, width, height}, fill);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  const Surface& surface() const { return bitmapFromHandle(bitmap)->surface; }
  COLORREF at(int x, int y) const { return pixelToColor(surface().rowPtr(y)[x]); }
  void set(int x, int y, COLORREF color) { bitmapFromHandle(bitmap)->surface.rowPtr(y)[x] = colorToPixel(color); }

  // One line per row: '#' for black, '.' for white, 'o' for anything else.
  std::string dump() const {
    std::string out;
    for (int y = 0; y < surface().height; ++y) {
      for (int x = 0; x < surface().width; ++x) {
        const COLORREF c = at(x, y);
        out += c == kBlack ? '#' : c == kWhite ? '.' : 'o';
      }
      out += '\n';
    }
    return out;
  }

  // The smallest rectangle holding every black pixel.
  RECT blackBounds() const {
    RECT box{surface().width, surface().height, 0, 0};
    for (int y = 0; y < surface().height; ++y)
      for (int x = 0; x < surface().width; ++x)
        if (at(x, y) == kBlack)
          box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                     std::max<LONG>(box.bottom, y + 1)};
    return box;
  }
};

}  // namespace win::gditest
