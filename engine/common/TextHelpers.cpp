#include "engine/common/TextHelpers.h"

#include <locale.h>
#include <wctype.h>

#include "engine/common/CodePageText.h"
#include "platform/gui/AnsiText.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/PlatformFlags.h"

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

// Lower case of a byte of the ANSI code page (1252).
char AnsiLowerChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 'A' && byte <= 'Z') return static_cast<char>(byte + 32);
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<char>(byte + 32);
  if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<char>(byte + 16);
  if (byte == 0x9F) return static_cast<char>(0xFF);
  return c;
}

// The 9x family changes case in the ANSI code page and keeps the length.
std::u16string ChangeCaseThroughAnsi(std::u16string_view s, Case to) {
  std::string ansi = WideToStringByCodePage(static_cast<int>(win::CP_ACP), s);
  if (to == Case::Upper) {
    ansi = gui::AnsiUpperCase(ansi);
  } else {
    for (char& c : ansi) c = AnsiLowerChar(c);
  }
  std::u16string wide = StringToWideByCodePage(static_cast<int>(win::CP_ACP), ansi);
  wide.resize(s.size(), u' ');
  return wide;
}

std::u16string ChangeCase(std::u16string_view s, Case to) {
  if (win::IsWin9x()) return ChangeCaseThroughAnsi(s, to);
  std::u16string changed(s);
  for (char16_t& ch : changed) ch = MapCase(ch, to);
  return changed;
}

}  // namespace

std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return std::string(text.substr(first, last - first));
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
