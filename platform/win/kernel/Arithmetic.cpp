#include "platform/win/kernel/Arithmetic.h"

#include <cstdint>
#include <limits>

namespace win {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::uint64_t magnitude = product < 0 ? 0 - static_cast<std::uint64_t>(product)
                                              : static_cast<std::uint64_t>(product);
  const std::uint64_t divisor = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c))
                                      : static_cast<std::uint64_t>(c);
  // (2|p| + |c|) / 2|c| rounds the quotient's magnitude half up; |p| <= 2^62,
  // so the doubled values fit in 64 unsigned bits.
  const std::uint64_t quotient = (2 * magnitude + divisor) / (2 * divisor);
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : std::numeric_limits<int>::max();
  if (quotient > limit) return -1;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(quotient)) : static_cast<int>(quotient);
}

}  // namespace win
