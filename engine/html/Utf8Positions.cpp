#include "engine/html/Utf8Positions.h"

#include <cstring>

#include "engine/common/CodePageText.h"

namespace engine {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

// The code point of the valid sequence of length bytes at text[0].
char32_t SequenceValue(std::string_view text, int length) {
  const auto lead = static_cast<unsigned char>(text[0]);
  char32_t value = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
  for (int i = 1; i < length; ++i) value = value << 6 | (static_cast<unsigned char>(text[static_cast<std::size_t>(i)]) & 0x3F);
  return value;
}

// Length of a complete valid sequence at text[0], or 0.
int ValidSequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  int length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  return Utf8DecodedLength(text) == length ? length : 0;
}

}  // namespace

bool AppendUtf8WithPositions(std::string_view bytes, std::span<const int> positions, std::u16string& characters,
                             TPositionList& characterPositions) {
  // No byte makes more than one UTF-16 unit except a four-byte sequence, which
  // makes two: room for one unit per byte is enough. Writing through pointers
  // and trimming once keeps the per-character work free of size checks.
  const std::size_t firstCharacter = characters.size();
  const std::size_t firstPosition = characterPositions.size();
  characters.resize(firstCharacter + bytes.size());
  characterPositions.resize(firstPosition + bytes.size());
  char16_t* out = characters.data() + firstCharacter;
  int* outPositions = characterPositions.data() + firstPosition;
  std::size_t written = 0;
  std::size_t at = 0;
  bool valid = true;
  while (at < bytes.size()) {
    // An ASCII stretch keeps its bytes' positions one to one.
    const std::size_t asciiStart = at;
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) {
      out[written + at - asciiStart] = static_cast<char16_t>(bytes[at]);
      ++at;
    }
    if (at > asciiStart) {
      std::memcpy(outPositions + written, positions.data() + asciiStart, (at - asciiStart) * sizeof(int));
      written += at - asciiStart;
      if (at == bytes.size()) break;
    }
    const int position = positions[at];
    const std::string_view rest = bytes.substr(at);
    const int length = ValidSequenceLength(rest);
    if (length == 0) {
      valid = false;
      out[written] = kReplacementCharacter;
      outPositions[written++] = position;
      at += static_cast<std::size_t>(Utf8DecodedLength(rest));
      continue;
    }
    const char32_t value = SequenceValue(rest, length);
    if (value > 0xFFFF) {
      out[written] = static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
      outPositions[written++] = position;
      out[written] = static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
      outPositions[written++] = position;
    } else {
      out[written] = static_cast<char16_t>(value);
      outPositions[written++] = position;
    }
    at += static_cast<std::size_t>(length);
  }
  characters.resize(firstCharacter + written);
  characterPositions.resize(firstPosition + written);
  return valid;
}

}  // namespace engine
