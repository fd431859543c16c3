#pragma once
// Saturating integer sums for box arithmetic: hostile style sheets give
// lengths near the 32-bit limits, and sums of several must not wrap.
#include <cstdint>
#include <limits>

namespace engine {

constexpr int SatClamp(std::int64_t value) {
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}
constexpr int SatAdd(int a, int b) { return SatClamp(std::int64_t{a} + b); }
constexpr int SatSub(int a, int b) { return SatClamp(std::int64_t{a} - b); }
constexpr int SatMul(int a, int b) { return SatClamp(std::int64_t{a} * b); }

}  // namespace engine
