#include "engine/objects/FloatingAttributes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/text/TInlineObject.h"

namespace engine {

namespace {

constexpr int kMaxSpace = 40;

}  // namespace

void ReadAlignAttribute(const std::string& value, std::uint8_t& align) {
  std::string v = value;
  for (char& c : v) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (v == "TOP") align = kAlignTop;
  else if (v == "MIDDLE" || v == "ABSMIDDLE") align = kAlignMiddle;
  else if (v == "LEFT") align = kAlignFloatLeft;
  else if (v == "RIGHT") align = kAlignFloatRight;
}

int SpaceFromAttribute(int value) { return static_cast<int>(std::min<long long>(kMaxSpace, std::llabs(value))); }

std::string AltFromAttribute(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

int ScaledSize(int value, int numerator, int denominator) {
  if (denominator == 0) return 0;
  // Rounded to the nearest, halves away from zero (as MulDiv does).
  const long long product = static_cast<long long>(value) * numerator;
  long long r = product / denominator;
  const long long rest = product % denominator;
  if (2 * std::llabs(rest) >= std::llabs(static_cast<long long>(denominator)))
    r += ((product < 0) != (denominator < 0)) ? -1 : 1;
  return static_cast<int>(std::clamp<long long>(r, 0, kMaxWantedSize));
}

}  // namespace engine
