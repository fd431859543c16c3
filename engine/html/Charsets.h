#pragma once
// Character-set names as META, FONT CHARSET and frameset documents give them,
// turned into the platform's font character-set codes.
#include <functional>
#include <string_view>

namespace engine {

// Engine-own pseudo character sets beside the platform's codes.
constexpr int kCharsetIso8859_2 = 31;
constexpr int kCharsetEucJp = 30;
constexpr int kCharsetShiftJis = 128;

// Converts the document being parsed from EUC-JP to Shift_JIS, keeping the
// read offset; set by the parse entry. The default does nothing.
extern std::function<void()> ConvertDocumentFromEucJp;

// The first table row whose text occurs in the lower-cased name gives the set.
// EUC-JP converts the document and answers Shift_JIS. False when nothing matches.
bool CharsetFromName(std::string_view name, int& charset);

}  // namespace engine
