#pragma once
// Small helpers for 8-bit and wide text and integers, shared by the markup,
// style and URL code. Positions are 1-based, 0 meaning not found.
#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// Blanks and control characters (<= ' ') trimmed from both ends.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
// ASCII-only lower case, as names and keys of markup and style sheets are
// compared: bytes of other code pages stay as they are.
std::string LowerCase(std::string_view text);
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }
inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
// True when text begins with prefix, ASCII case ignored on both sides.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Reads the leading decimal number of text ("-1.5em" -> -1.5) without regard to the locale.
// Returns the number of characters read, 0 (value untouched) when the text does not begin with a number.
std::size_t ParseLeadingNumber(std::string_view text, double& value);

inline int IntMin(int a, int b) { return a < b ? a : b; }
inline int IntMax(int a, int b) { return b < a ? a : b; }

// Zero-terminated wide texts: the first occurrence of subStr in str; nullptr
// when either is nullptr, subStr is empty or longer than str.
const char16_t* WideSubstringSearch(const char16_t* str, const char16_t* subStr);
// First and last ch in the zero-terminated str; nullptr when none.
const char16_t* WideStrScan(const char16_t* str, char16_t ch);
const char16_t* WideStrRScan(const char16_t* str, char16_t ch);

int WidePos(std::u16string_view subStr, std::u16string_view s);
bool WideSameStr(std::u16string_view a, std::u16string_view b);
// Position of subStr in s searching from offset (offset <= 1: from the start).
int PosFrom(std::string_view subStr, std::string_view s, int offset);
// s without leading and trailing characters below 33.
std::u16string WideTrim(std::u16string_view s);
std::u16string WideUpperCase(std::u16string_view s);
std::u16string WideLowerCase(std::u16string_view s);

}  // namespace engine
