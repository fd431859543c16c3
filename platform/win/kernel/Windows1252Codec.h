#pragma once
// Code page 1252 (the ANSI code page) by table, without iconv.
#include <string>
#include <string_view>

#include "platform/win/kernel/BestFit.h"

namespace win {

// Appends src as UTF-16. Every byte has a character: the five bytes the code
// page leaves undefined map to the C1 controls of the same value.
void decodeWindows1252(std::string_view src, std::u16string& out);
// The character of one byte, as decodeWindows1252 gives it.
char16_t windows1252Character(unsigned char byte);

// Appends src in code page 1252. Characters it cannot hold become a close
// character it has (BestFit::Use: "A" for U+0100 and for the full-width
// U+FF21), else defaultChar. Returns whether the default character was used.
bool encodeWindows1252(std::u16string_view src, char defaultChar, BestFit bestFit, std::string& out);

}  // namespace win
