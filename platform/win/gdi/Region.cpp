#include "platform/win/gdi/Region.h"

#include <cassert>
#include <limits>

namespace win {
namespace {

bool inResult(int mode, bool inA, bool inB) {
  switch (mode) {
    case RGN_AND: return inA && inB;
    case RGN_OR: return inA || inB;
    case RGN_XOR: return inA != inB;
    case RGN_DIFF: return inA && !inB;
    default: return inA;
  }
}

// Sweeps the span end points of both rows left to right, emitting the runs
// where the combination holds. Endpoints within one row strictly increase.
void combineSpans(const std::vector<Region::Span>& a, const std::vector<Region::Span>& b, int mode,
                  std::vector<Region::Span>& out) {
  const std::size_t endA = a.size() * 2, endB = b.size() * 2;
  auto endpoint = [](const std::vector<Region::Span>& s, std::size_t k) {
    return (k & 1) ? s[k / 2].right : s[k / 2].left;
  };
  std::size_t ka = 0, kb = 0;
  bool inA = false, inB = false, on = false;
  LONG start = 0;
  constexpr LONG kNone = std::numeric_limits<LONG>::max();
  while (ka < endA || kb < endB) {
    const LONG xa = ka < endA ? endpoint(a, ka) : kNone;
    const LONG xb = kb < endB ? endpoint(b, kb) : kNone;
    const LONG x = std::min(xa, xb);
    if (xa == x) { inA = !inA; ++ka; }
    if (xb == x) { inB = !inB; ++kb; }
    const bool now = inResult(mode, inA, inB);
    if (now == on) continue;
    if (now) start = x;
    else out.push_back({start, x});
    on = now;
  }
}

// Sorts and merges overlapping or touching spans into the canonical form.
std::vector<Region::Span> normaliseSpans(std::vector<Region::Span> spans) {
  std::vector<Region::Span> out;
  std::sort(spans.begin(), spans.end(), [](const auto& l, const auto& r) { return l.left < r.left; });
  for (Region::Span s : spans) {
    s.left = clampCoord(s.left);
    s.right = clampCoord(s.right);
    if (s.left >= s.right) continue;
    if (!out.empty() && s.left <= out.back().right) out.back().right = std::max(out.back().right, s.right);
    else out.push_back(s);
  }
  return out;
}

}  // namespace

Region::Region(const RECT& rect) {
  const LONG left = clampCoord(rect.left), right = clampCoord(rect.right);
  const LONG top = clampCoord(rect.top), bottom = clampCoord(rect.bottom);
  if (left < right && top < bottom) bands_.push_back({top, bottom, {{left, right}}});
}

bool Region::isCanonical() const {
  for (std::size_t i = 0; i < bands_.size(); ++i) {
    const Band& band = bands_[i];
    if (band.top >= band.bottom || band.spans.empty()) return false;
    if (band.top < -kRegionCoordLimit || band.bottom > kRegionCoordLimit) return false;
    for (std::size_t k = 0; k < band.spans.size(); ++k) {
      const Span& span = band.spans[k];
      if (span.left >= span.right || span.left < -kRegionCoordLimit || span.right > kRegionCoordLimit) return false;
      if (k > 0 && band.spans[k - 1].right >= span.left) return false;
    }
    if (i > 0) {
      const Band& above = bands_[i - 1];
      if (above.bottom > band.top) return false;
      if (above.bottom == band.top && above.spans == band.spans) return false;
    }
  }
  return true;
}

int Region::complexity() const {
  if (bands_.empty()) return NULLREGION;
  return bands_.size() == 1 && bands_[0].spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::bounds() const {
  if (bands_.empty()) return RECT{};
  RECT box{bands_.front().spans.front().left, bands_.front().top, bands_.front().spans.back().right,
           bands_.back().bottom};
  for (const Band& band : bands_) {
    box.left = std::min(box.left, band.spans.front().left);
    box.right = std::max(box.right, band.spans.back().right);
  }
  return box;
}

std::vector<RECT> Region::rects() const {
  std::vector<RECT> out;
  out.reserve(rectCount());
  for (const Band& band : bands_)
    for (const Span& span : band.spans) out.push_back({span.left, band.top, span.right, band.bottom});
  return out;
}

std::size_t Region::rectCount() const {
  std::size_t count = 0;
  for (const Band& band : bands_) count += band.spans.size();
  return count;
}

bool Region::contains(LONG x, LONG y) const {
  auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](LONG value, const Band& b) { return value < b.bottom; });
  if (band == bands_.end() || band->top > y) return false;
  auto span = std::upper_bound(band->spans.begin(), band->spans.end(), x,
                               [](LONG value, const Span& s) { return value < s.right; });
  return span != band->spans.end() && span->left <= x;
}

bool Region::intersects(const RECT& rect) const {
  bool found = false;
  forEachRectIn(rect, [&](const RECT&) { found = true; });
  return found;
}

void Region::offset(LONG dx, LONG dy) {
  for (Band& band : bands_) {
    band.top = clampCoord(static_cast<long long>(band.top) + dy);
    band.bottom = clampCoord(static_cast<long long>(band.bottom) + dy);
    for (Span& span : band.spans) {
      span.left = clampCoord(static_cast<long long>(span.left) + dx);
      span.right = clampCoord(static_cast<long long>(span.right) + dx);
    }
  }
  // Clamping at the limits can collapse spans or bands; rebuild canonically.
  if (dx == 0 && dy == 0) return;
  std::vector<Band> old = std::move(bands_);
  bands_.clear();
  for (Band& band : old)
    if (band.top < band.bottom) appendBand(band.top, band.bottom, normaliseSpans(std::move(band.spans)));
  assert(isCanonical());
}

void Region::appendBand(LONG top, LONG bottom, std::vector<Span>&& spans) {
  if (spans.empty() || top >= bottom) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(spans)});
}

Region Region::combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  Region out;
  const std::vector<Band>& ba = a.bands_;
  const std::vector<Band>& bb = b.bands_;
  std::size_t ia = 0, ib = 0;
  constexpr LONG kNone = std::numeric_limits<LONG>::max();
  static const std::vector<Span> kNoSpans;
  LONG y = std::min(ba.empty() ? kNone : ba[0].top, bb.empty() ? kNone : bb[0].top);
  while (ia < ba.size() || ib < bb.size()) {
    const bool activeA = ia < ba.size() && ba[ia].top <= y;
    const bool activeB = ib < bb.size() && bb[ib].top <= y;
    const LONG nextA = ia < ba.size() ? (activeA ? ba[ia].bottom : ba[ia].top) : kNone;
    const LONG nextB = ib < bb.size() ? (activeB ? bb[ib].bottom : bb[ib].top) : kNone;
    const LONG next = std::min(nextA, nextB);
    if (activeA || activeB) {
      std::vector<Span> spans;
      combineSpans(activeA ? ba[ia].spans : kNoSpans, activeB ? bb[ib].spans : kNoSpans, mode, spans);
      out.appendBand(y, next, std::move(spans));
    }
    y = next;
    if (ia < ba.size() && ba[ia].bottom <= y) ++ia;
    if (ib < bb.size() && bb[ib].bottom <= y) ++ib;
  }
  assert(out.isCanonical());
  return out;
}

void Region::Builder::addBand(LONG top, LONG bottom, std::vector<Span> spans) {
  top = clampCoord(top);
  bottom = clampCoord(bottom);
  if (top >= bottom) return;
  if (!bands_.empty() && top < bands_.back().bottom) top = bands_.back().bottom;  // keep bands disjoint
  if (top >= bottom) return;
  std::vector<Span> row = normaliseSpans(std::move(spans));
  if (row.empty()) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == row) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(row)});
}

Region Region::Builder::finish() {
  Region region;
  region.bands_ = std::move(bands_);
  bands_.clear();
  assert(region.isCanonical());
  return region;
}

}  // namespace win
