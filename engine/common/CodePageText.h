#pragma once
// Conversion of 8-bit text in a code page to wide text and back. Unknown code
// pages and text the code page rejects fall back to the ANSI code page; what
// still fails gives an empty result.
#include <string>
#include <string_view>

namespace engine {

constexpr int kUtf8CodePage = 65001;

std::u16string StringToWideByCodePage(int codePage, std::string_view text);
// Appends the conversion to out (the lexer's way: no temporary string).
void AppendWideByCodePage(int codePage, std::string_view text, std::u16string& out);
std::string WideToStringByCodePage(int codePage, std::u16string_view text);

// Whether text in the code page is decoded by the code page 1252 table, one
// character per byte (1252 itself, or the ANSI code page when it is 1252).
// Such text may be decoded piece by piece: no run needs to be seen whole.
bool DecodesAsWindows1252(int codePage);

// Bytes of the character starting at text[0]: 0 at a zero byte or an empty
// view, or when the code page cannot tell.
int CharByteLength(int codePage, std::string_view text);

// Bytes that the UTF-8 decoder reads for the character (or the invalid
// stretch it replaces by one U+FFFD) starting at text[0]; 0 for an empty view.
int Utf8DecodedLength(std::string_view text);

}  // namespace engine
