#include "platform/win/gdi/Raster.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/win/gdi/Colors.h"

namespace win {

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define PAGEWELL_RASTER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PAGEWELL_RASTER_ASAN 1
#endif
#endif

// Sets count pixels to value, sixteen bytes a store: the fills of a window's
// background are the bulk of painting a short page. AddressSanitizer does not
// check each store here: fillPixels checks the span whole first.
[[gnu::no_sanitize_address]] void fillSpan(std::uint32_t* pixels, int count, std::uint32_t value) {
  int i = 0;
#if defined(__SSE2__)
  for (; i < count && (reinterpret_cast<std::uintptr_t>(pixels + i) & 15u) != 0; ++i) pixels[i] = value;
  const __m128i four = _mm_set1_epi32(static_cast<int>(value));
  for (; i + 8 <= count; i += 8) {
    _mm_store_si128(reinterpret_cast<__m128i*>(pixels + i), four);
    _mm_store_si128(reinterpret_cast<__m128i*>(pixels + i + 4), four);
  }
#endif
  for (; i < count; ++i) pixels[i] = value;
}

// Under AddressSanitizer the span is checked once, as the memset interceptor
// checks its range; one that is not all addressable is filled a checked store
// at a time, so that the first bad store is reported where it happens.
void fillPixels(std::uint32_t* pixels, int count, std::uint32_t value) {
#if defined(PAGEWELL_RASTER_ASAN)
  if (count > 0 && __asan_region_is_poisoned(pixels, static_cast<std::size_t>(count) * sizeof(std::uint32_t))) {
    for (int i = 0; i < count; ++i) pixels[i] = value;
    return;
  }
#endif
  fillSpan(pixels, count, value);
}

#if defined(__SSE2__)
// Four pixels of a coverage blend at once, bit for bit as blendCoverage's
// one-pixel blend: no coverage keeps the pixel, full coverage takes the
// source, else (s * a + d * (255 - a) + 127) / 255 per channel with the top
// byte cleared. The channels are 16-bit lanes; t / 255 is (t + 1 + (t >> 8))
// >> 8, exact for every t the blend meets (t <= 255 * 255 + 127).
void blendFour(std::uint32_t* pixels, const std::uint8_t* cov, std::uint32_t source) {
  std::uint32_t four = 0;
  std::memcpy(&four, cov, sizeof four);
  if (four == 0) return;
  const __m128i zero = _mm_setzero_si128();
  const __m128i dest = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
  const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);  // a0..a3
  const __m128i pairs = _mm_unpacklo_epi16(a16, a16);                                     // a0 a0 a1 a1 ..
  const __m128i aLow = _mm_unpacklo_epi32(pairs, pairs);   // a0 four times, a1 four times
  const __m128i aHigh = _mm_unpackhi_epi32(pairs, pairs);  // a2, a3
  const __m128i s16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(source)), zero);
  const auto mix = [&](__m128i d16, __m128i a) {
    const __m128i inv = _mm_sub_epi16(_mm_set1_epi16(255), a);
    const __m128i t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(s16, a), _mm_mullo_epi16(d16, inv)),
                                    _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_set1_epi16(1)), _mm_srli_epi16(t, 8)), 8);
  };
  const __m128i mixed = _mm_and_si128(
      _mm_packus_epi16(mix(_mm_unpacklo_epi8(dest, zero), aLow), mix(_mm_unpackhi_epi8(dest, zero), aHigh)),
      _mm_set1_epi32(0x00FFFFFF));
  const __m128i a32 = _mm_unpacklo_epi16(a16, zero);
  const __m128i none = _mm_cmpeq_epi32(a32, zero);
  const __m128i all = _mm_cmpeq_epi32(a32, _mm_set1_epi32(255));
  __m128i out = _mm_or_si128(_mm_and_si128(all, _mm_set1_epi32(static_cast<int>(source))), _mm_andnot_si128(all, mixed));
  out = _mm_or_si128(_mm_and_si128(none, dest), _mm_andnot_si128(none, out));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), out);
}
#endif

}  // namespace

std::uint32_t surfacePixel(const Surface& surface, COLORREF color) {
  const COLORREF resolved = resolveColor(color);
  if (!surface.monochrome) return colorToPixel(resolved);
  const unsigned luminance = GetRValue(resolved) * 30u + GetGValue(resolved) * 59u + GetBValue(resolved) * 11u;
  return luminance >= 128u * 100u ? kWhitePixel : 0u;
}

void applyRop2(std::uint32_t* pixels, int count, std::uint32_t pen, int rop2) {
  switch (rop2) {
    case R2_COPYPEN: fillPixels(pixels, count, pen); return;
    case R2_NOP: return;
    case R2_BLACK: fillPixels(pixels, count, 0u); return;
    case R2_WHITE: fillPixels(pixels, count, kWhitePixel); return;
    case R2_XORPEN:
      for (int i = 0; i < count; ++i) pixels[i] = (pixels[i] ^ pen) & kPixelMask;
      return;
    case R2_NOT:
      for (int i = 0; i < count; ++i) pixels[i] = ~pixels[i] & kPixelMask;
      return;
    default:
      for (int i = 0; i < count; ++i) pixels[i] = rop2Pixel(pen, pixels[i], rop2);
  }
}

void paintDeviceRect(DeviceContext& dc, const RECT& device, COLORREF color, int rop2) {
  if (!dc.surface) return;
  Surface& surface = *dc.surface;
  const std::uint32_t pen = surfacePixel(surface, color);
  clippedRects(dc, device, [&](const RECT& r) {
    for (LONG y = r.top; y < r.bottom; ++y) applyRop2(surface.rowPtr(y) + r.left, r.right - r.left, pen, rop2);
  });
}

void paintDevicePixel(DeviceContext& dc, LONG x, LONG y, COLORREF color, int rop2) {
  if (x >= kRegionCoordLimit || y >= kRegionCoordLimit) return;
  paintDeviceRect(dc, RECT{x, y, x + 1, y + 1}, color, rop2);
}

void fillDeviceRect(DeviceContext& dc, const RECT& device, COLORREF color) {
  SurfaceAccess access(dc, true);
  paintDeviceRect(dc, device, color, R2_COPYPEN);
}

void blendCoverage(DeviceContext& dc, int deviceX, int deviceY, const std::uint8_t* coverage, int width,
                   int height, int pitchBytes, COLORREF color) {
  if (!dc.surface || !coverage || width <= 0 || height <= 0) return;
  SurfaceAccess access(dc, true);
  Surface& surface = *dc.surface;
  const std::uint32_t source = surfacePixel(surface, color);
  const long long right = static_cast<long long>(deviceX) + width;
  const long long bottom = static_cast<long long>(deviceY) + height;
  if (right > kRegionCoordLimit || bottom > kRegionCoordLimit || deviceX < -kRegionCoordLimit ||
      deviceY < -kRegionCoordLimit)
    return;
  const RECT device{deviceX, deviceY, static_cast<LONG>(right), static_cast<LONG>(bottom)};
  // Surface position of coverage (0,0).
  const long long originX = static_cast<long long>(deviceX) + dc.deviceOrigin.x;
  const long long originY = static_cast<long long>(deviceY) + dc.deviceOrigin.y;
  const std::uint32_t sr = (source >> 16) & 0xFF, sg = (source >> 8) & 0xFF, sb = source & 0xFF;
  clippedRects(dc, device, [&](const RECT& r) {
    for (LONG y = r.top; y < r.bottom; ++y) {
      const std::uint8_t* cov = coverage + (y - originY) * static_cast<long long>(pitchBytes) + (r.left - originX);
      std::uint32_t* row = surface.rowPtr(y) + r.left;
      const auto blend = [&](LONG x) {
        const std::uint32_t a = cov[x];
        if (a == 0) return;
        if (a == 255 || surface.monochrome) {
          if (a >= 128) row[x] = source;
          return;
        }
        const std::uint32_t d = row[x], inv = 255 - a;
        const std::uint32_t r8 = (sr * a + ((d >> 16) & 0xFF) * inv + 127) / 255;
        const std::uint32_t g8 = (sg * a + ((d >> 8) & 0xFF) * inv + 127) / 255;
        const std::uint32_t b8 = (sb * a + (d & 0xFF) * inv + 127) / 255;
        row[x] = (r8 << 16) | (g8 << 8) | b8;
      };
      const LONG span = r.right - r.left;
      LONG x = 0;
#if defined(__SSE2__)
      if (!surface.monochrome)
        for (; x + 4 <= span; x += 4) blendFour(row + x, cov + x, source);
#endif
      for (; x < span; ++x) blend(x);
    }
  });
}

}  // namespace win
