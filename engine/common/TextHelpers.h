#pragma once
// Small helpers for integers and wide text. Positions are 1-based, 0 meaning
// not found.
#include <string>
#include <string_view>

namespace engine {

// ASCII-only case change, as names and keys of markup are compared.
std::string AsciiLowerCase(std::string_view text);
// text without leading and trailing characters up to the blank.
std::string TrimBlanks(std::string_view text);

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
