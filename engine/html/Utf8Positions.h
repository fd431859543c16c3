#pragma once
// The lexer's own UTF-8 decoding of text runs: characters and their source
// positions in one pass. Each maximal invalid or truncated subsequence becomes
// one U+FFFD, as the platform's converter does; every character carries the
// position of its first byte, both halves of a surrogate pair included.
#include <span>
#include <string>
#include <string_view>

#include "engine/html/TokenBuffers.h"

namespace engine {

// positions holds one entry per byte of bytes. Returns false when some
// sequence was invalid and replaced.
bool AppendUtf8WithPositions(std::string_view bytes, std::span<const int> positions, std::u16string& characters,
                             TPositionList& characterPositions);

}  // namespace engine
