#include "platform/win/kernel/Utf8Codec.h"

#include <cstdint>
#include <cstring>

namespace win {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the valid sequence that starts at src[i] (lead byte >= 0x80), or
// 0 when it is invalid; 'consumed' receives the bytes of its maximal invalid
// subpart (at least 1) in that case.
std::size_t validSequenceLength(const unsigned char* src, std::size_t i, std::size_t size,
                                std::size_t& consumed) {
  const unsigned char lead = src[i];
  std::size_t length;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondLow = 0xA0;   // overlong
    if (lead == 0xED) secondHigh = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondLow = 0x90;   // overlong
    if (lead == 0xF4) secondHigh = 0x8F;  // above U+10FFFF
  } else {
    consumed = 1;
    return 0;
  }
  consumed = 1;
  if (i + 1 >= size || src[i + 1] < secondLow || src[i + 1] > secondHigh) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    consumed = k;
    if (i + k >= size || !isContinuation(src[i + k])) return 0;
  }
  return length;
}

std::size_t appendCodePoint(char16_t* out, std::uint32_t codePoint) {
  if (codePoint < 0x10000) {
    out[0] = static_cast<char16_t>(codePoint);
    return 1;
  }
  codePoint -= 0x10000;
  out[0] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
  return 2;
}

std::uint32_t decodeSequence(const unsigned char* s, std::size_t length) {
  switch (length) {
    case 2: return ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
    case 3: return ((s[0] & 0x0Fu) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
    default:
      return ((s[0] & 0x07u) << 18) | ((s[1] & 0x3Fu) << 12) | ((s[2] & 0x3Fu) << 6) | (s[3] & 0x3Fu);
  }
}

}  // namespace

bool decodeUtf8(std::string_view text, InvalidInput invalid, std::u16string& out) {
  const auto* src = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  const std::size_t start = out.size();
  // Every byte yields at most one code unit (four-byte forms yield two).
  out.resize(start + size);
  char16_t* dst = out.data() + start;
  std::size_t written = 0;
  std::size_t i = 0;
  bool ok = true;
  while (i < size) {
    // ASCII runs, eight bytes at a time.
    while (i + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, src + i, 8);
      if (word & 0x8080808080808080ull) break;
      for (int k = 0; k < 8; ++k) dst[written + k] = src[i + k];
      written += 8;
      i += 8;
    }
    if (i >= size) break;
    if (src[i] < 0x80) {
      dst[written++] = src[i++];
      continue;
    }
    std::size_t consumed = 0;
    const std::size_t length = validSequenceLength(src, i, size, consumed);
    if (length == 0) {
      if (invalid == InvalidInput::Fail) {
        ok = false;
        break;
      }
      dst[written++] = kReplacement;
      i += consumed;
      continue;
    }
    written += appendCodePoint(dst + written, decodeSequence(src + i, length));
    i += length;
  }
  out.resize(start + written);
  return ok;
}

bool encodeUtf8(std::u16string_view src, InvalidInput invalid, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + src.size() * 3);
  char* dst = out.data() + start;
  std::size_t written = 0;
  auto put = [&](std::uint32_t c) { dst[written++] = static_cast<char>(c); };
  bool ok = true;
  for (std::size_t i = 0; i < src.size(); ++i) {
    std::uint32_t c = src[i];
    if (c < 0x80) {
      put(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      const bool paired = c <= 0xDBFF && i + 1 < src.size() && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF;
      if (paired) {
        c = 0x10000 + ((c - 0xD800) << 10) + (src[++i] - 0xDC00u);
      } else if (invalid == InvalidInput::Fail) {
        ok = false;
        break;
      } else {
        c = kReplacement;
      }
    }
    if (c < 0x800) {
      put(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
    } else {
      put(0xF0 | (c >> 18));
      put(0x80 | ((c >> 12) & 0x3F));
      put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
  }
  out.resize(start + written);
  return ok;
}

}  // namespace win
