#include "platform/win/gdi/BlitEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/RectMath.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/Raster.h"

namespace win {
namespace {

// The ternary operation on whole pixels: bit (p << 2 | s << 1 | d) of `code`
// gives the result for each combination of pattern, source and destination bits.
std::uint32_t ternary(unsigned code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t out = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(code & (1u << i))) continue;
    out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return out & kPixelMask;
}

// Combines one row; `valid` marks destination pixels that have a source.
void combineRow(unsigned code, std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* valid,
                std::uint32_t p, int n) {
  for (int i = 0; i < n; ++i) {
    if (s && !valid[i]) continue;
    const std::uint32_t src = s ? s[i] : 0;
    switch (code) {
      case 0xCC: d[i] = src; break;
      case 0x33: d[i] = ~src & kPixelMask; break;
      case 0x88: d[i] &= src; break;
      case 0xEE: d[i] |= src; break;
      case 0x66: d[i] ^= src; break;
      case 0x44: d[i] = src & ~d[i] & kPixelMask; break;
      case 0x11: d[i] = ~(src | d[i]) & kPixelMask; break;
      case 0xBB: d[i] = (~src | d[i]) & kPixelMask; break;
      case 0xF0: d[i] = p; break;
      case 0x5A: d[i] ^= p; break;
      case 0x55: d[i] = ~d[i] & kPixelMask; break;
      case 0x00: d[i] = 0; break;
      case 0xFF: d[i] = kWhitePixel; break;
      default: d[i] = ternary(code, p, src, d[i]);
    }
  }
}

// Source cells [first, last) for each destination pixel along one axis.
struct AxisMap {
  std::vector<long long> first, last;
};

// Maps destination cells [from, to) (relative to the destination start) onto
// the source. Shrinking with `combine` covers every source cell; otherwise
// each destination cell takes the source cell under its centre.
AxisMap mapAxis(long long from, long long to, long long destLength, long long sourceStart, long long sourceLength,
                bool mirror, bool combine, long long sourceLimit) {
  AxisMap map;
  map.first.reserve(static_cast<std::size_t>(to - from));
  map.last.reserve(static_cast<std::size_t>(to - from));
  for (long long i = from; i < to; ++i) {
    const long long k = mirror ? destLength - 1 - i : i;
    long long a, b;
    if (sourceLength == destLength) {
      a = k;
      b = k + 1;
    } else if (combine && sourceLength > destLength) {
      a = k * sourceLength / destLength;
      b = std::max(a + 1, (k + 1) * sourceLength / destLength);
    } else {
      a = (2 * k + 1) * sourceLength / (2 * destLength);
      b = a + 1;
    }
    a = std::clamp(a + sourceStart, 0LL, sourceLimit);
    b = std::clamp(b + sourceStart, 0LL, sourceLimit);
    map.first.push_back(a);
    map.last.push_back(b);
  }
  return map;
}

struct Converter {
  bool monoToColor = false, colorToMono = false;
  std::uint32_t textPixel = 0, backPixel = 0, sourceBackground = 0;
  std::uint32_t operator()(std::uint32_t s) const {
    if (monoToColor) return (s & kPixelMask) ? backPixel : textPixel;
    if (colorToMono) return (s & kPixelMask) == sourceBackground ? kWhitePixel : 0;
    return s & kPixelMask;
  }
};

// Combines the source cells [x0, x1) x [y0, y1) by the stretch mode.
std::uint32_t sampleArea(const Surface& source, long long x0, long long x1, long long y0, long long y1, int mode) {
  if (x1 - x0 == 1 && y1 - y0 == 1) return source.rowPtr(static_cast<int>(y0))[x0];
  std::uint32_t andAll = 0xFFFFFFFF, orAll = 0;
  std::uint64_t r = 0, g = 0, b = 0, count = 0;
  for (long long y = y0; y < y1; ++y) {
    const std::uint32_t* row = source.rowPtr(static_cast<int>(y));
    for (long long x = x0; x < x1; ++x) {
      const std::uint32_t p = row[x];
      andAll &= p;
      orAll |= p;
      r += (p >> 16) & 0xFF;
      g += (p >> 8) & 0xFF;
      b += p & 0xFF;
      ++count;
    }
  }
  if (mode == BLACKONWHITE) return andAll;
  if (mode == WHITEONBLACK) return orAll;
  const std::uint64_t half = count / 2;
  return static_cast<std::uint32_t>(((r + half) / count) << 16 | ((g + half) / count) << 8 | ((b + half) / count));
}

// Plain copies between same-format surfaces, row by row.
bool copyFast(Surface& dst, const RECT& r, const Surface& src, long long dx, long long dy) {
  for (LONG y = r.top; y < r.bottom; ++y) {
    const std::uint32_t* from = src.rowPtr(static_cast<int>(y + dy)) + (r.left + dx);
    std::memmove(dst.rowPtr(y) + r.left, from, static_cast<std::size_t>(r.right - r.left) * 4);
  }
  return true;
}

}  // namespace

void blit(DeviceContext& dc, long long x, long long y, long long width, long long height, const BlitSource& source,
          unsigned code) {
  if (!dc.surface || width == 0 || height == 0) return;
  bool mirrorX = false, mirrorY = false;
  if (width < 0) { x += width; width = -width; mirrorX = true; }
  if (height < 0) { y += height; height = -height; mirrorY = true; }
  const bool usesSource = ropUsesSource(code);
  long long sx = source.x, sy = source.y, sw = source.width, sh = source.height;
  if (usesSource) {
    if (!source.surface || source.surface->empty() || sw == 0 || sh == 0) return;
    if (sw < 0) { sx += sw; sw = -sw; mirrorX = !mirrorX; }
    if (sh < 0) { sy += sh; sh = -sh; mirrorY = !mirrorY; }
  }
  std::uint32_t pattern = 0;
  if (ropUsesPattern(code)) {
    const BrushPaint brush = brushPaint(dc.state.brush);
    if (!brush.paints) return;
    pattern = surfacePixel(*dc.surface, brush.color);
  }
  const RECT device{clampCoord(x), clampCoord(y), clampCoord(x + width), clampCoord(y + height)};
  Surface& dst = *dc.surface;
  Converter convert;
  if (usesSource) {
    convert.monoToColor = source.surface->monochrome && !dst.monochrome;
    convert.colorToMono = !source.surface->monochrome && dst.monochrome;
    convert.textPixel = surfacePixel(dst, dc.state.textColor);
    convert.backPixel = surfacePixel(dst, dc.state.bkColor);
    convert.sourceBackground = source.backgroundPixel & kPixelMask;
  }
  const int mode = dc.state.stretchMode;
  const bool combine = mode != COLORONCOLOR;
  const bool plain = usesSource && sw == width && sh == height && !mirrorX && !mirrorY;
  // Surface position of destination cell (0, 0).
  const long long originX = x + dc.deviceOrigin.x, originY = y + dc.deviceOrigin.y;
  std::vector<std::uint32_t> row;
  std::vector<std::uint8_t> valid;
  clippedRects(dc, device, [&](const RECT& r) {
    const int n = r.right - r.left;
    if (plain && code == 0xCC && !convert.monoToColor && !convert.colorToMono) {
      // Keep to the source's bounds, then copy rows.
      const long long dx = sx - originX, dy = sy - originY;
      const RECT sourceBounds{clampCoord(-dx), clampCoord(-dy), clampCoord(source.surface->width - dx),
                              clampCoord(source.surface->height - dy)};
      const RECT inSource = intersectRects(r, sourceBounds);
      if (!isEmptyRect(inSource)) copyFast(dst, inSource, *source.surface, dx, dy);
      return;
    }
    if (!usesSource) {
      for (LONG yy = r.top; yy < r.bottom; ++yy) combineRow(code, dst.rowPtr(yy) + r.left, nullptr, nullptr, pattern, n);
      return;
    }
    const AxisMap columns = mapAxis(r.left - originX, r.right - originX, width, sx, sw, mirrorX, combine,
                                    source.surface->width);
    const AxisMap rows = mapAxis(r.top - originY, r.bottom - originY, height, sy, sh, mirrorY, combine,
                                 source.surface->height);
    row.resize(static_cast<std::size_t>(n));
    valid.resize(static_cast<std::size_t>(n));
    for (LONG yy = r.top; yy < r.bottom; ++yy) {
      const std::size_t k = static_cast<std::size_t>(yy - r.top);
      const long long y0 = rows.first[k], y1 = rows.last[k];
      if (y0 >= y1) continue;
      for (int i = 0; i < n; ++i) {
        const long long x0 = columns.first[static_cast<std::size_t>(i)], x1 = columns.last[static_cast<std::size_t>(i)];
        valid[static_cast<std::size_t>(i)] = x0 < x1;
        if (x0 < x1) row[static_cast<std::size_t>(i)] = convert(sampleArea(*source.surface, x0, x1, y0, y1, mode));
      }
      combineRow(code, dst.rowPtr(yy) + r.left, row.data(), valid.data(), pattern, n);
    }
  });
}

}  // namespace win
