#include "engine/css/CssText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace engine {

std::string_view TrimView(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = LowerChar(c);
  return result;
}

std::size_t ParseLeadingNumber(std::string_view text, double& value) {
  std::size_t length = 0;
  if (length < text.size() && (text[length] == '-' || text[length] == '+')) ++length;
  std::size_t digits = 0;
  while (length < text.size() && IsAsciiDigit(text[length])) ++length, ++digits;
  if (length < text.size() && text[length] == '.') {
    std::size_t afterDot = length + 1;
    std::size_t fraction = 0;
    while (afterDot + fraction < text.size() && IsAsciiDigit(text[afterDot + fraction])) ++fraction;
    if (digits > 0 || fraction > 0) {
      length = afterDot + fraction;
      digits += fraction;
    }
  }
  if (digits == 0) return 0;
  std::string_view number = text.substr(0, length);
  if (number[0] == '+') number.remove_prefix(1);
  double parsed = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
  if (error == std::errc::result_out_of_range) {
    parsed = (number[0] == '-') ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  } else if (error != std::errc() || end != number.data() + number.size()) {
    return 0;
  }
  value = parsed;
  return length;
}

bool ParseInteger(std::string_view text, long long& value) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

int RoundToInt(double value) {
  if (std::isnan(value)) return 0;
  double rounded = std::nearbyint(value);
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}

}  // namespace engine
