#include "engine/TokenBuffers.h"

#include <string_view>

#include "engine/CodePageText.h"

namespace engine {
namespace {

constexpr std::size_t kInitialRoom = 300;

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Bytes that make up the character starting at bytes[0] as the converter read it.
int EncodedLength(int codePage, std::string_view bytes) {
  const int length = codePage == kUtf8CodePage ? Utf8DecodedLength(bytes) : CharByteLength(codePage, bytes);
  return length > 0 ? length : 1;
}

}  // namespace

TCharCollection::TCharCollection() {
  Bytes.reserve(kInitialRoom);
  Positions.reserve(kInitialRoom);
}

void TCharCollection::Concat(const TCharCollection& other) {
  Bytes += other.Bytes;
  Positions.insert(Positions.end(), other.Positions.begin(), other.Positions.end());
}

TokenObj::TokenObj() {
  Characters.reserve(kInitialRoom);
  Positions.reserve(kInitialRoom);
}

void TokenObj::AppendBytes(const TCharCollection& source, int codePage) {
  const std::size_t byteCount = source.Bytes.size();
  if (byteCount == 0) return;
  const std::size_t first = Characters.size();
  AppendWideByCodePage(codePage, source.Bytes, Characters);
  const std::size_t added = Characters.size() - first;
  if (added == byteCount) {
    Positions.insert(Positions.end(), source.Positions.begin(), source.Positions.end());
    return;
  }
  // Walk the bytes beside the characters. Both halves of a surrogate pair
  // carry the position of their lead byte; the walk never passes the last byte.
  const std::string_view bytes(source.Bytes);
  std::size_t byte = 0;
  for (std::size_t index = first; index < Characters.size(); ++index) {
    Positions.push_back(source.Positions[byte]);
    if (IsHighSurrogate(Characters[index]) && index + 1 < Characters.size() &&
        IsLowSurrogate(Characters[index + 1])) {
      Positions.push_back(source.Positions[byte]);
      ++index;
    }
    const std::size_t next = byte + static_cast<std::size_t>(EncodedLength(codePage, bytes.substr(byte)));
    if (next < byteCount) byte = next;
  }
}

}  // namespace engine
