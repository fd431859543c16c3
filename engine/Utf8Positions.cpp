#include "engine/Utf8Positions.h"

#include "engine/CodePageText.h"

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

void AppendUtf8WithPositions(std::string_view bytes, std::span<const int> positions, std::u16string& characters,
                             std::vector<int>& characterPositions) {
  characters.reserve(characters.size() + bytes.size());
  characterPositions.reserve(characterPositions.size() + bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const int position = positions[at];
    if (lead < 0x80) {
      characters.push_back(static_cast<char16_t>(lead));
      characterPositions.push_back(position);
      ++at;
      continue;
    }
    const std::string_view rest = bytes.substr(at);
    const int length = ValidSequenceLength(rest);
    if (length == 0) {
      characters.push_back(kReplacementCharacter);
      characterPositions.push_back(position);
      at += static_cast<std::size_t>(Utf8DecodedLength(rest));
      continue;
    }
    const char32_t value = SequenceValue(rest, length);
    if (value > 0xFFFF) {
      characters.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
      characters.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
      characterPositions.push_back(position);
      characterPositions.push_back(position);
    } else {
      characters.push_back(static_cast<char16_t>(value));
      characterPositions.push_back(position);
    }
    at += static_cast<std::size_t>(length);
  }
}

}  // namespace engine
