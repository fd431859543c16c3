#include "engine/tables/TableRowHeights.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace engine {
namespace {

using Wide = long long;

// Sums saturate far above any real table, so hostile heights cannot wrap.
constexpr Wide kMaxHeight = 1LL << 30;

Wide Sum(const std::vector<int>& values) {
  return std::min(kMaxHeight, std::accumulate(values.begin(), values.end(), Wide{0}));
}

int ToInt(Wide value) { return static_cast<int>(std::clamp<Wide>(value, -kMaxHeight, kMaxHeight)); }

// x rounded to the nearest integer, ties to even.
Wide RoundEven(double x) { return static_cast<Wide>(std::nearbyint(x)); }

// The last row becomes `total` minus the others.
std::vector<int> LastTakesRest(std::vector<int> heights, Wide total) {
  if (heights.empty()) return heights;
  Wide others = 0;
  for (std::size_t i = 0; i + 1 < heights.size(); ++i) others += heights[i];
  heights.back() = ToInt(total - others);
  return heights;
}

}  // namespace

void SpreadRowSpan(std::vector<int>& Rows, int First, int Span, int Needed) {
  const int count = static_cast<int>(Rows.size());
  if (First < 0 || First >= count || Span < 1) return;
  const int last = std::min(count, First + Span);
  Wide held = 0;
  for (int r = First; r < last; ++r) held += Rows[r];
  if (held >= Needed) return;
  const Wide shortfall = Needed - held;
  const Wide rows = last - First;
  for (int r = First; r < last; ++r) Rows[r] = ToInt(Rows[r] + shortfall / rows);
  Rows[last - 1] = ToInt(Rows[last - 1] + shortfall % rows);
}

bool MinimaFillHeight(long long MinimumSum, int Available) { return std::min(kMaxHeight, MinimumSum) >= Available; }

std::vector<int> DistributeRowHeights(const TRowHeights& Rows, int Available) {
  const std::vector<int>& minimum = Rows.Minimum;
  const std::vector<int>& desired = Rows.Desired;
  const std::size_t count = minimum.size();
  const Wide height = Available;
  const Wide minSum = Sum(minimum);
  const Wide desiredSum = Sum(desired);
  if (count == 0 || desired.size() != count || MinimaFillHeight(minSum, Available)) return minimum;

  std::vector<int> heights(count);
  if (desiredSum < height) {
    std::vector<std::size_t> unsized;
    for (std::size_t r = 0; r < count; ++r)
      if (r >= Rows.Sized.size() || !Rows.Sized[r]) unsized.push_back(r);
    if (unsized.empty()) {
      for (std::size_t r = 0; r < count; ++r)
        heights[r] = desiredSum <= 0 ? 0 : ToInt(RoundEven(static_cast<double>(desired[r]) * height / desiredSum));
      return LastTakesRest(heights, height);
    }
    heights = desired;
    const Wide share = (height - desiredSum) / static_cast<Wide>(unsized.size());
    for (std::size_t r : unsized) heights[r] = ToInt(heights[r] + share);
    heights[unsized.back()] = ToInt(heights[unsized.back()] + (height - desiredSum) - share * static_cast<Wide>(unsized.size()));
    return heights;
  }
  // Between the minima and the desired heights, in proportion to each row's room.
  for (std::size_t r = 0; r < count; ++r) {
    const double room = static_cast<double>(desired[r] - minimum[r]) * (height - minSum) / (desiredSum - minSum);
    heights[r] = ToInt(minimum[r] + RoundEven(room));
  }
  return LastTakesRest(heights, height);
}

}  // namespace engine
