#pragma once
// Hand-written UTF-8 <-> UTF-16 conversion, the hot path of document loading.
#include <string>
#include <string_view>

namespace win {

enum class InvalidInput { Replace, Fail };

// Appends src as UTF-16 to out. Each maximal invalid or truncated subsequence
// becomes one U+FFFD; overlong forms, encoded surrogates and values above
// U+10FFFF are invalid. With InvalidInput::Fail returns false at the first one
// (out then holds a partial result).
bool decodeUtf8(std::string_view src, InvalidInput invalid, std::u16string& out);

// Appends src as UTF-8 to out; an unpaired surrogate becomes U+FFFD, or with
// InvalidInput::Fail makes the call return false.
bool encodeUtf8(std::u16string_view src, InvalidInput invalid, std::string& out);

}  // namespace win
