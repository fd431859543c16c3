#include "platform/gui/StringFunctions.h"

#include <cstdint>

namespace gui {

namespace {

int digitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

template <typename Text>
Text trimmed(Text s) {
  std::size_t first = 0;
  std::size_t last = s.size();
  while (first < last && static_cast<std::uint32_t>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<std::uint32_t>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

}  // namespace

int StrToIntDef(std::string_view S, int Default) {
  std::size_t i = 0;
  while (i < S.size() && S[i] == ' ') ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  int base = 10;
  if (i < S.size() && S[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == S.size()) return Default;
  std::int64_t value = 0;
  for (; i < S.size(); ++i) {
    const int digit = digitValue(S[i], base);
    if (digit < 0) return Default;
    value = value * base + digit;
    if (value > (std::int64_t{1} << 32)) return Default;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return Default;
  return static_cast<int>(value);
}

std::string Trim(std::string_view S) { return std::string(trimmed(S)); }

std::u16string Trim(std::u16string_view S) { return std::u16string(trimmed(S)); }

}  // namespace gui
