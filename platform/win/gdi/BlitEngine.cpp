#include "platform/win/gdi/BlitEngine.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/RectMath.h"
#include "platform/win/gdi/Blit.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/Raster.h"

namespace win {
namespace {

// Any ternary operation on whole pixels, bit by bit (see ternaryCode).
std::uint32_t applyTernary(unsigned ternary, std::uint32_t pattern, std::uint32_t source, std::uint32_t destination) {
  std::uint32_t out = 0;
  for (unsigned combination = 0; combination < 8; ++combination) {
    if (!(ternary & (1u << combination))) continue;
    out |= ((combination & 4) ? pattern : ~pattern) & ((combination & 2) ? source : ~source) &
           ((combination & 1) ? destination : ~destination);
  }
  return out & kPixelMask;
}

// Combines one row of count pixels; `valid` marks destination pixels that have
// a source. The named operations take a direct path.
void combineRow(unsigned ternary, std::uint32_t* destination, const std::uint32_t* source, const std::uint8_t* valid,
                std::uint32_t pattern, int count) {
  for (int i = 0; i < count; ++i) {
    if (source && !valid[i]) continue;
    const std::uint32_t from = source ? source[i] : 0;
    std::uint32_t& to = destination[i];
    switch (ternary) {
      case ternaryCode(SRCCOPY): to = from; break;
      case ternaryCode(NOTSRCCOPY): to = ~from & kPixelMask; break;
      case ternaryCode(SRCAND): to &= from; break;
      case ternaryCode(SRCPAINT): to |= from; break;
      case ternaryCode(SRCINVERT): to ^= from; break;
      case ternaryCode(SRCERASE): to = from & ~to & kPixelMask; break;
      case ternaryCode(NOTSRCERASE): to = ~(from | to) & kPixelMask; break;
      case ternaryCode(MERGEPAINT): to = (~from | to) & kPixelMask; break;
      case ternaryCode(PATCOPY): to = pattern; break;
      case ternaryCode(PATINVERT): to ^= pattern; break;
      case ternaryCode(DSTINVERT): to = ~to & kPixelMask; break;
      case ternaryCode(BLACKNESS): to = 0; break;
      case ternaryCode(WHITENESS): to = kWhitePixel; break;
      default: to = applyTernary(ternary, pattern, from, to);
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
          unsigned ternary) {
  if (!dc.surface || width == 0 || height == 0) return;
  bool mirrorX = false, mirrorY = false;
  if (width < 0) { x += width; width = -width; mirrorX = true; }
  if (height < 0) { y += height; height = -height; mirrorY = true; }
  const bool usesSource = ropUsesSource(ternary);
  long long sourceX = source.x, sourceY = source.y, sourceWidth = source.width, sourceHeight = source.height;
  if (usesSource) {
    if (!source.surface || source.surface->empty() || sourceWidth == 0 || sourceHeight == 0) return;
    if (sourceWidth < 0) { sourceX += sourceWidth; sourceWidth = -sourceWidth; mirrorX = !mirrorX; }
    if (sourceHeight < 0) { sourceY += sourceHeight; sourceHeight = -sourceHeight; mirrorY = !mirrorY; }
  }
  std::uint32_t pattern = 0;
  if (ropUsesPattern(ternary)) {
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
  const bool plain = usesSource && sourceWidth == width && sourceHeight == height && !mirrorX && !mirrorY;
  // Surface position of destination cell (0, 0).
  const long long originX = x + dc.deviceOrigin.x, originY = y + dc.deviceOrigin.y;
  std::vector<std::uint32_t> row;
  std::vector<std::uint8_t> valid;
  clippedRects(dc, device, [&](const RECT& r) {
    const int count = r.right - r.left;
    if (plain && ternary == ternaryCode(SRCCOPY) && !convert.monoToColor && !convert.colorToMono) {
      // Keep to the source's bounds, then copy rows.
      const long long dx = sourceX - originX, dy = sourceY - originY;
      const RECT sourceBounds{clampCoord(-dx), clampCoord(-dy), clampCoord(source.surface->width - dx),
                              clampCoord(source.surface->height - dy)};
      const RECT inSource = intersectRects(r, sourceBounds);
      if (!isEmptyRect(inSource)) copyFast(dst, inSource, *source.surface, dx, dy);
      return;
    }
    if (!usesSource) {
      for (LONG yy = r.top; yy < r.bottom; ++yy)
        combineRow(ternary, dst.rowPtr(yy) + r.left, nullptr, nullptr, pattern, count);
      return;
    }
    const AxisMap columns = mapAxis(r.left - originX, r.right - originX, width, sourceX, sourceWidth, mirrorX,
                                    combine, source.surface->width);
    const AxisMap rows = mapAxis(r.top - originY, r.bottom - originY, height, sourceY, sourceHeight, mirrorY,
                                 combine, source.surface->height);
    row.resize(static_cast<std::size_t>(count));
    valid.resize(static_cast<std::size_t>(count));
    for (LONG yy = r.top; yy < r.bottom; ++yy) {
      const std::size_t k = static_cast<std::size_t>(yy - r.top);
      const long long y0 = rows.first[k], y1 = rows.last[k];
      if (y0 >= y1) continue;
      for (int i = 0; i < count; ++i) {
        const long long x0 = columns.first[static_cast<std::size_t>(i)], x1 = columns.last[static_cast<std::size_t>(i)];
        valid[static_cast<std::size_t>(i)] = x0 < x1;
        if (x0 < x1) row[static_cast<std::size_t>(i)] = convert(sampleArea(*source.surface, x0, x1, y0, y1, mode));
      }
      combineRow(ternary, dst.rowPtr(yy) + r.left, row.data(), valid.data(), pattern, count);
    }
  });
}

}  // namespace win
