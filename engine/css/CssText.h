#pragma once
// Small text helpers shared by the style units: ASCII case, trimming, locale-free numbers.
#include <string>
#include <string_view>

namespace engine {

// Blanks and control characters (<= ' ') are trimmed, as the style code has always trimmed.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
// ASCII-only lower case: bytes of other code pages stay as they are.
std::string LowerCase(std::string_view text);
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }
inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the leading decimal number of text ("-1.5em" -> -1.5) without regard to the locale.
// Returns the number of characters read, 0 when the text does not begin with a number.
std::size_t ParseLeadingNumber(std::string_view text, double& value);

// Reads the whole text as a decimal integer; false when it is not one.
bool ParseInteger(std::string_view text, long long& value);

// Rounds half to even and clamps into the int range.
double RoundHalfEven(double value);
int RoundToInt(double value);

}  // namespace engine
