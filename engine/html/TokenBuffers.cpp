#include "engine/html/TokenBuffers.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/common/CodePageText.h"
#include "engine/common/EngineStartup.h"
#include "engine/html/Utf8Positions.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/Windows1252Codec.h"

namespace engine {
namespace {

constexpr std::size_t kInitialRoom = 300;
constexpr std::size_t kGrowthStep = 50;

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

// Bytes that make up the character starting at bytes[0] as the converter read it.
int EncodedLength(int codePage, std::string_view bytes) {
  if (static_cast<unsigned char>(bytes[0]) < 0x80) return 1;
  const int length = CharByteLength(codePage, bytes);
  return length > 0 ? length : 1;
}

// Positions first, first + 1, ... of a run of bytes read one after another.
[[gnu::always_inline]] inline void FillPositions(int* positions, std::size_t count, int first) {
  std::size_t i = 0;
#if defined(__SSE2__)
  __m128i four = _mm_setr_epi32(first, first + 1, first + 2, first + 3);
  const __m128i step = _mm_set1_epi32(4);
  const __m128i twoSteps = _mm_set1_epi32(8);
  for (; i + 8 <= count; i += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(positions + i), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(positions + i + 4), _mm_add_epi32(four, step));
    four = _mm_add_epi32(four, twoSteps);
  }
  if (i + 4 <= count) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(positions + i), four);
    i += 4;
  }
  if (i < count && count >= 4) {  // the last four, overlapping those before them
    const int last = static_cast<int>(count) - 4;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(positions + last),
                     _mm_setr_epi32(first + last, first + last + 1, first + last + 2, first + last + 3));
    return;
  }
#endif
  for (; i < count; ++i) positions[i] = first + static_cast<int>(i);
}

}  // namespace

// No room until the first byte: a collection made and never filled costs
// no allocation.
TCharCollection::TCharCollection() = default;

void TCharCollection::Grow(std::size_t needed) {
  // Geometric growth: long text runs must not cost quadratic copying.
  const std::size_t room = std::max(needed, bytes_.size() + std::max<std::size_t>(kGrowthStep, bytes_.size() / 2));
  bytes_.resize(room);
  positions_.resize(room);
}

void TCharCollection::AddRun(const char* bytes, std::size_t length, int firstIndex) {
  if (count_ + length > bytes_.size()) Grow(count_ + length);
  std::memcpy(bytes_.data() + count_, bytes, length);
  FillPositions(positions_.data() + count_, length, firstIndex);
  count_ += length;
}

void TCharCollection::Concat(const TCharCollection& other) {
  if (count_ + other.count_ > bytes_.size()) Grow(count_ + other.count_);
  std::copy(other.bytes_.begin(), other.bytes_.begin() + static_cast<std::ptrdiff_t>(other.count_),
            bytes_.begin() + static_cast<std::ptrdiff_t>(count_));
  std::copy(other.positions_.begin(), other.positions_.begin() + static_cast<std::ptrdiff_t>(other.count_),
            positions_.begin() + static_cast<std::ptrdiff_t>(count_));
  count_ += other.count_;
}

TokenObj::TokenObj() {
  Characters.reserve(kInitialRoom);
  Positions.reserve(kInitialRoom);
}

void TokenObj::AppendWindows1252(std::string_view bytes, int firstPosition) {
  win::decodeWindows1252(bytes, Characters);
  const std::size_t first = Positions.size();
  Positions.resize(first + bytes.size());
  FillPositions(Positions.data() + first, bytes.size(), firstPosition);
}

void TokenObj::AppendBytes(const TCharCollection& source, int codePage) {
  const std::string_view bytes = source.AsString();
  const std::span<const int> positions = source.Positions();
  const std::size_t byteCount = bytes.size();
  if (byteCount == 0) return;
  const std::size_t first = Characters.size();
  if (codePage == kUtf8CodePage) {
    const std::size_t firstPosition = Positions.size();
    if (AppendUtf8WithPositions(bytes, positions, Characters, Positions) || IsWin95) return;
    // A run that is not UTF-8 is read in the ANSI code page, as the converter
    // does (the first 9x release decodes by itself and keeps the replacements).
    Characters.resize(first);
    Positions.resize(firstPosition);
    codePage = static_cast<int>(win::CP_ACP);
  }
  AppendWideByCodePage(codePage, bytes, Characters);
  const std::size_t added = Characters.size() - first;
  if (added == byteCount) {
    Positions.insert(Positions.end(), positions.begin(), positions.end());
    return;
  }
  // Walk the bytes beside the characters. Both halves of a surrogate pair
  // carry the position of their lead byte; the walk never passes the last byte.
  Positions.resize(Characters.size());
  std::size_t byte = 0;
  for (std::size_t index = first; index < Characters.size(); ++index) {
    Positions[index] = positions[byte];
    if (IsHighSurrogate(Characters[index]) && index + 1 < Characters.size() &&
        IsLowSurrogate(Characters[index + 1])) {
      Positions[++index] = positions[byte];
    }
    const std::size_t next = byte + static_cast<std::size_t>(EncodedLength(codePage, bytes.substr(byte)));
    if (next < byteCount) byte = next;
  }
}

}  // namespace engine
