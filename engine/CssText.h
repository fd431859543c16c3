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
char LowerChar(char c);
bool IsAsciiLetter(char c);
bool IsAsciiDigit(char c);

// Reads the leading decimal number of text ("-1.5em" -> -1.5) without regard to the locale.
// Returns the number of characters read, 0 when the text does not begin with a number.
std::size_t ParseLeadingNumber(std::string_view text, double& value);

// Reads the whole text as a decimal integer; false when it is not one.
bool ParseInteger(std::string_view text, long long& value);

// Rounds half to even and clamps into the int range.
double RoundHalfEven(double value);
int RoundToInt(double value);

}  // namespace engine
