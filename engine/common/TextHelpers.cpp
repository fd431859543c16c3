#include "engine/common/TextHelpers.h"

#include <locale.h>
#include <wctype.h>

#include <charconv>
#include <cstdint>
#include <limits>

#include "engine/common/CodePageText.h"
#include "engine/common/EngineStartup.h"
#include "platform/gui/AnsiText.h"
#include "platform/win/kernel/CodePages.h"

namespace engine {
namespace {

std::size_t WideLength(const char16_t* text) {
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

// The C library's Unicode case tables; its plain "C" locale maps ASCII only.
locale_t UnicodeCaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

enum class Case { Upper, Lower };

char16_t MapCase(char16_t ch, Case to) {
  // Surrogate halves stand for characters outside the 16-bit range: unchanged.
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;
  const locale_t locale = UnicodeCaseLocale();
  wint_t mapped = ch;
  if (locale != static_cast<locale_t>(nullptr)) {
    mapped = to == Case::Upper ? towupper_l(ch, locale) : towlower_l(ch, locale);
  } else if (ch < 128) {
    mapped = to == Case::Upper ? towupper(ch) : towlower(ch);
  }
  // A partner outside the 16-bit range (none in practice) keeps the character.
  return mapped <= 0xFFFF ? static_cast<char16_t>(mapped) : ch;
}

// The 9x family changes case in the ANSI code page and keeps the length.
std::u16string ChangeCaseThroughAnsi(std::u16string_view s, Case to) {
  std::string ansi = WideToStringByCodePage(static_cast<int>(win::CP_ACP), s);
  if (to == Case::Upper) {
    ansi = gui::AnsiUpperCase(ansi);
  } else {
    for (char& c : ansi) c = gui::AnsiLowerChar(c);
  }
  std::u16string wide = StringToWideByCodePage(static_cast<int>(win::CP_ACP), ansi);
  wide.resize(s.size(), u' ');
  return wide;
}

std::u16string ChangeCase(std::u16string_view s, Case to) {
  if (IsWin9x) return ChangeCaseThroughAnsi(s, to);
  std::u16string changed(s);
  for (char16_t& ch : changed) ch = MapCase(ch, to);
  return changed;
}

}  // namespace

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
  // Up to 15 digits the digits make an exact integer and a power of ten up to 1e22 is exact,
  // so one division gives the correctly rounded value from_chars gives, at a fraction of its cost.
  if (digits <= 15) {
    std::uint64_t whole = 0;
    int fraction = -1;
    for (std::size_t at = 0; at < length; ++at) {
      const char c = text[at];
      if (IsAsciiDigit(c)) {
        whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
        if (fraction >= 0) ++fraction;
      } else if (c == '.') {
        fraction = 0;
      }
    }
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    double parsed = static_cast<double>(whole);
    if (fraction > 0) parsed /= kPowersOfTen[fraction];
    value = text[0] == '-' ? -parsed : parsed;
    return length;
  }
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

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t index = 0; index < prefix.size(); ++index) {
    if (LowerChar(text[index]) != LowerChar(prefix[index])) return false;
  }
  return true;
}

const char16_t* WideSubstringSearch(const char16_t* str, const char16_t* subStr) {
  if (str == nullptr || subStr == nullptr) return nullptr;
  const std::u16string_view text(str, WideLength(str));
  const std::u16string_view sought(subStr, WideLength(subStr));
  if (sought.empty() || sought.size() > text.size()) return nullptr;
  const std::size_t found = text.find(sought);
  return found == std::u16string_view::npos ? nullptr : str + found;
}

const char16_t* WideStrScan(const char16_t* str, char16_t ch) {
  if (str == nullptr) return nullptr;
  for (; *str != 0; ++str) {
    if (*str == ch) return str;
  }
  return nullptr;
}

const char16_t* WideStrRScan(const char16_t* str, char16_t ch) {
  if (str == nullptr) return nullptr;
  const char16_t* last = nullptr;
  for (; *str != 0; ++str) {
    if (*str == ch) last = str;
  }
  return last;
}

int WidePos(std::u16string_view subStr, std::u16string_view s) {
  if (subStr.empty()) return 0;
  const std::size_t found = s.find(subStr);
  return found == std::u16string_view::npos ? 0 : static_cast<int>(found) + 1;
}

bool WideSameStr(std::u16string_view a, std::u16string_view b) { return a == b; }

int PosFrom(std::string_view subStr, std::string_view s, int offset) {
  if (subStr.empty()) return 0;
  const std::size_t from = offset <= 1 ? 0 : static_cast<std::size_t>(offset) - 1;
  if (from >= s.size()) return 0;
  const std::size_t found = s.find(subStr, from);
  return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::u16string WideTrim(std::u16string_view s) {
  std::size_t first = 0;
  std::size_t last = s.size();
  while (first < last && s[first] < 33) ++first;
  while (last > first && s[last - 1] < 33) --last;
  return std::u16string(s.substr(first, last - first));
}

std::u16string WideUpperCase(std::u16string_view s) { return ChangeCase(s, Case::Upper); }

std::u16string WideLowerCase(std::u16string_view s) { return ChangeCase(s, Case::Lower); }

}  // namespace engine
