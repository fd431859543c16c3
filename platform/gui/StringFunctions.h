#pragma once
// The class library's string conversions that take text from outside: whole
// numbers with a default, and trimming.
#include <string>
#include <string_view>

namespace gui {

// The number the whole text spells (leading blanks, a sign, then decimal
// digits, or hexadecimal after "$" or "0x"), or Default when it spells none
// or one outside the 32-bit range.
int StrToIntDef(std::string_view S, int Default);
// The text without leading and trailing blanks and control characters
// (everything up to the space).
std::string Trim(std::string_view S);
std::u16string Trim(std::u16string_view S);

}  // namespace gui
