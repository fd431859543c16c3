#pragma once
// An exact region of pixels, stored as horizontal bands of x-spans.
//
// Invariant: bands are sorted by `top` and never overlap
// (bands[i].bottom <= bands[i+1].top); every band has top < bottom and at
// least one span; spans within a band are sorted, have left < right and never
// touch (spans[k].right < spans[k+1].left); two bands that touch vertically
// never hold identical spans (they are merged). So equal pixel sets have equal
// representations, and the empty region has no bands. All coordinates are
// clamped to +-kRegionCoordLimit so arithmetic on them never overflows.
#include <algorithm>
#include <concepts>
#include <cstddef>
#include <vector>

#include "platform/win/Types.h"

namespace win {

constexpr LONG kRegionCoordLimit = 1 << 27;

// A coordinate clamped to +-kRegionCoordLimit: the one clamp every drawing
// and region call applies before it does arithmetic on coordinates.
template <std::integral Number>
constexpr LONG clampCoord(Number value) {
  return static_cast<LONG>(std::clamp<long long>(value, -kRegionCoordLimit, kRegionCoordLimit));
}
// A computed coordinate clamped the same way (truncated toward zero); NaN is 0.
inline LONG clampCoord(double value) {
  if (value != value) return 0;
  return static_cast<LONG>(
      std::clamp(value, -static_cast<double>(kRegionCoordLimit), static_cast<double>(kRegionCoordLimit)));
}

// CombineRgn modes.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Region complexity results.
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

class Region {
 public:
  struct Span {
    LONG left;
    LONG right;
    friend bool operator==(const Span&, const Span&) = default;
  };
  struct Band {
    LONG top;
    LONG bottom;
    std::vector<Span> spans;
    friend bool operator==(const Band&, const Band&) = default;
  };

  Region() = default;
  // The rectangle's pixels; an empty or inverted rectangle gives an empty region.
  explicit Region(const RECT& rect);

  bool empty() const { return bands_.empty(); }
  // The invariant at the top of this file holds. Debug builds check it after
  // every change; the tests check it too.
  bool isCanonical() const;
  // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
  int complexity() const;
  // Bounding box; all zero when empty.
  RECT bounds() const;
  const std::vector<Band>& bands() const { return bands_; }
  std::vector<RECT> rects() const;
  std::size_t rectCount() const;

  bool contains(LONG x, LONG y) const;
  bool intersects(const RECT& rect) const;
  void offset(LONG dx, LONG dy);

  // The result of combining two regions with RGN_AND, RGN_OR, RGN_XOR or RGN_DIFF
  // (RGN_COPY gives `a`).
  static Region combine(const Region& a, const Region& b, int mode);
  void intersect(const RECT& rect) { *this = combine(*this, Region(rect), RGN_AND); }

  friend bool operator==(const Region&, const Region&) = default;

  // Calls visit(RECT) for each piece of the region inside `clip`, top to bottom,
  // left to right; the pieces are clipped to `clip`.
  template <class Visit>
  void forEachRectIn(const RECT& clip, Visit&& visit) const {
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;
    auto band = std::upper_bound(bands_.begin(), bands_.end(), clip.top,
                                 [](LONG y, const Band& b) { return y < b.bottom; });
    for (; band != bands_.end() && band->top < clip.bottom; ++band) {
      const LONG top = std::max(band->top, clip.top);
      const LONG bottom = std::min(band->bottom, clip.bottom);
      for (const Span& span : band->spans) {
        if (span.right <= clip.left) continue;
        if (span.left >= clip.right) break;
        visit(RECT{std::max(span.left, clip.left), top, std::min(span.right, clip.right), bottom});
      }
    }
  }

  // Builds a region row by row (or band by band) in increasing y. Each call
  // gives the sorted, possibly touching or overlapping spans of rows
  // [top, bottom); identical neighbouring rows are merged.
  class Builder {
   public:
    void addBand(LONG top, LONG bottom, std::vector<Span> spans);
    Region finish();

   private:
    std::vector<Band> bands_;
  };

 private:
  void appendBand(LONG top, LONG bottom, std::vector<Span>&& spans);
  std::vector<Band> bands_;
};

}  // namespace win
