#include "platform/win/kernel/Windows1252Codec.h"

#include <algorithm>
#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace win {
namespace {

// Characters of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte for a character outside Latin-1, or 0 when there is none.
unsigned char byteForCharacter(char16_t c) {
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == c) return static_cast<unsigned char>(0x80 + i);
  return 0;
}

// The character of every byte: one load per byte and no branch, as whole
// documents go through here.
constexpr std::array<char16_t, 256> kCharacters = [] {
  std::array<char16_t, 256> characters{};
  for (std::size_t byte = 0; byte < characters.size(); ++byte) {
    characters[byte] = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
  }
  return characters;
}();

}  // namespace

char16_t windows1252Character(unsigned char byte) { return kCharacters[byte]; }

void decodeWindows1252(std::string_view src, std::u16string& out) {
  const std::size_t start = out.size();
  out.resize(start + src.size());
  char16_t* dst = out.data() + start;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Every byte is widened as it is, which is its character outside 0x80..0x9F
  // (Latin-1); a group holding any byte of that range goes through the table.
  // Accented letters are thus no exception to branch on.
  const __m128i zero = _mm_setzero_si128();
  const __m128i topThreeBits = _mm_set1_epi8(static_cast<char>(0xE0));
  const __m128i highControls = _mm_set1_epi8(static_cast<char>(0x80));
  const auto hasHighControl = [&](__m128i bytes) {
    return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(bytes, topThreeBits), highControls)) != 0;
  };
  const auto byTable = [&](std::size_t from, std::size_t count) {
    for (std::size_t j = from; j < from + count; ++j) dst[j] = kCharacters[static_cast<unsigned char>(src[j])];
  };
  for (; i + 16 <= src.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src.data() + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 8), _mm_unpackhi_epi8(bytes, zero));
    if (hasHighControl(bytes)) byTable(i, 16);
  }
  // Most text runs are short: the rest goes eight bytes at a time too, the
  // last eight overlapping those before them.
  if (src.size() >= 8) {
    for (;; i += 8) {
      const std::size_t at = std::min(i, src.size() - 8);
      const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src.data() + at));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + at), _mm_unpacklo_epi8(bytes, zero));
      if (hasHighControl(bytes)) byTable(at, 8);
      if (at + 8 >= src.size()) return;
    }
  }
#endif
  for (; i < src.size(); ++i) dst[i] = kCharacters[static_cast<unsigned char>(src[i])];
}

bool encodeWindows1252(std::u16string_view src, char defaultChar, BestFit bestFit, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + src.size());
  char* dst = out.data() + start;
  std::size_t written = 0;
  bool usedDefault = false;
  for (std::size_t i = 0; i < src.size(); ++i) {
    const char16_t c = src[i];
    unsigned char byte;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = static_cast<unsigned char>(c);
    } else {
      byte = byteForCharacter(c);
      if (byte == 0 && bestFit == BestFit::Use) byte = static_cast<unsigned char>(bestFitCharacter(c));
      if (byte == 0) {
        usedDefault = true;
        byte = static_cast<unsigned char>(defaultChar);
        // A surrogate pair is one character and gets one default character.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < src.size() && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) ++i;
      }
    }
    dst[written++] = static_cast<char>(byte);
  }
  out.resize(start + written);
  return usedDefault;
}

}  // namespace win
