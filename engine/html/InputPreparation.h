#pragma once
// Preparation of a document's bytes before they are parsed: zero bytes, the
// UTF-8 byte-order mark and the two Japanese encodings that are turned into
// Shift_JIS.
#include <string>

namespace engine {

// The first 100 zero bytes become blanks; the text is cut before any further one.
void ReplaceZeroBytes(std::string& text);

// Removes a leading EF BB BF from a text longer than 3 bytes; true when it did.
bool StripUtf8ByteOrderMark(std::string& text);

// True when the text holds an ISO-2022-JP double-byte escape (ESC $@ or ESC $B)
// and a single-byte escape (ESC (J or ESC (B) at or after the later of the
// first occurrences of the two double-byte escapes.
bool HasIso2022JpEscapes(const std::string& text);

// ISO-2022-JP to Shift_JIS; the escapes are dropped. A lone final byte in
// double-byte mode is copied unchanged.
std::string ConvertIso2022JpToShiftJis(const std::string& text);

// EUC-JP to Shift_JIS in place from offset start on (lengths are kept). A lone
// final lead byte is left unchanged.
void ConvertEucJpToShiftJis(std::string& text, std::size_t start = 0);

}  // namespace engine
