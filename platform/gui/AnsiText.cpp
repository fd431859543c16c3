#include "platform/gui/AnsiText.h"

#include <algorithm>
#include <array>

namespace gui {

namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper;
  std::array<unsigned char, 256> lower;
};

// Both directions come from one list of (upper, lower) pairs, so the two
// tables cannot disagree.
constexpr CaseTables makeCaseTables() {
  CaseTables tables{};
  for (int byte = 0; byte < 256; ++byte) {
    tables.upper[byte] = static_cast<unsigned char>(byte);
    tables.lower[byte] = static_cast<unsigned char>(byte);
  }
  auto pair = [&tables](int upper, int lower) {
    tables.upper[lower] = static_cast<unsigned char>(upper);
    tables.lower[upper] = static_cast<unsigned char>(lower);
  };
  for (int letter = 'A'; letter <= 'Z'; ++letter) pair(letter, letter + 0x20);
  // Latin-1 letters, except the multiplication sign 0xD7 (and so 0xF7).
  for (int letter = 0xC0; letter <= 0xDE; ++letter)
    if (letter != 0xD7) pair(letter, letter + 0x20);
  pair(0x8A, 0x9A);  // s caron
  pair(0x8C, 0x9C);  // oe ligature
  pair(0x8E, 0x9E);  // z caron
  pair(0x9F, 0xFF);  // y diaeresis
  return tables;
}

constexpr CaseTables kCaseTables = makeCaseTables();

}  // namespace

char AnsiUpperChar(char c) { return static_cast<char>(kCaseTables.upper[static_cast<unsigned char>(c)]); }

char AnsiLowerChar(char c) { return static_cast<char>(kCaseTables.lower[static_cast<unsigned char>(c)]); }

std::string AnsiUpperCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = AnsiUpperChar(c);
  return result;
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
  const int c = a.compare(b);  // char_traits<char> compares as unsigned char
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AnsiUpperChar(a[i]));
    const auto y = static_cast<unsigned char>(AnsiUpperChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

}  // namespace gui
