#pragma once
// Conversions between the UTF-16 text of the font calls and the UTF-8 names
// that fontconfig takes. Unpaired surrogates become U+FFFD.
#include <string>

#include "platform/win/Types.h"

namespace win {

std::string utf16ToUtf8(const WCHAR* text, std::size_t length);
std::u16string utf8ToUtf16(const std::string& text);

// The length of a zero-terminated name held in a fixed array of `capacity` units.
std::size_t boundedLength(const WCHAR* text, std::size_t capacity);

}  // namespace win
