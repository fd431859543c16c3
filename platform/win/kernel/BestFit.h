#pragma once
// Best fit: the close character that conversions to a code page write for a
// character the code page lacks, unless the caller asks for none.

namespace win {

enum class BestFit { Use, None };

// The plain letter of an accented or stroked Latin letter, the ASCII form of a
// full-width one; 0 when there is none.
char bestFitCharacter(char16_t c);

}  // namespace win
