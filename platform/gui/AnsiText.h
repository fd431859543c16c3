#pragma once
// Case rules for 8-bit text in the ANSI code page (1252): the letters a-z and
// the accented lower-case letters have upper-case partners.
#include <string>
#include <string_view>

namespace gui {

char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpperCase(std::string_view s);
// Byte-wise comparisons: negative, 0 or positive. CompareText ignores case.
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

}  // namespace gui
