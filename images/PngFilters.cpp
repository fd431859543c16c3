#include "images/PngFilters.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace images {
namespace {

inline std::uint8_t paethPredictor(int left, int up, int upperLeft) {
  const int p = left + up - upperLeft;
  const int pa = std::abs(p - left);
  const int pb = std::abs(p - up);
  const int pc = std::abs(p - upperLeft);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(left);
  if (pb <= pc) return static_cast<std::uint8_t>(up);
  return static_cast<std::uint8_t>(upperLeft);
}

void unfilterSub(std::uint8_t* row, std::size_t rowBytes, std::size_t distance) {
  for (std::size_t i = distance; i < rowBytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - distance]);
}

void unfilterUp(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes) {
  for (std::size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + previous[i]);
}

void unfilterAverage(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes, std::size_t distance) {
  const std::size_t head = distance < rowBytes ? distance : rowBytes;
  for (std::size_t i = 0; i < head; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (previous[i] >> 1));
  for (std::size_t i = head; i < rowBytes; ++i)
    row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - distance] + previous[i]) >> 1));
}

// Paeth with the pixel's bytes kept in registers: each byte lane depends only on
// the same lane of the pixel to its left, so one pixel is worked at a time.
template <std::size_t Distance>
void unfilterPaethFixed(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes) {
  int left[Distance];
  int upperLeft[Distance];
  for (std::size_t c = 0; c < Distance; ++c) {
    left[c] = static_cast<std::uint8_t>(row[c] + previous[c]);
    upperLeft[c] = previous[c];
    row[c] = static_cast<std::uint8_t>(left[c]);
  }
  for (std::size_t i = Distance; i + Distance <= rowBytes; i += Distance) {
    for (std::size_t c = 0; c < Distance; ++c) {
      const int up = previous[i + c];
      const int p = left[c] + up - upperLeft[c];
      const int pa = std::abs(p - left[c]);
      const int pb = std::abs(p - up);
      const int pc = std::abs(p - upperLeft[c]);
      const int predicted = (pa <= pb && pa <= pc) ? left[c] : (pb <= pc ? up : upperLeft[c]);
      left[c] = static_cast<std::uint8_t>(row[i + c] + predicted);
      upperLeft[c] = up;
      row[i + c] = static_cast<std::uint8_t>(left[c]);
    }
  }
}

void unfilterPaethGeneric(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes,
                          std::size_t distance) {
  const std::size_t head = distance < rowBytes ? distance : rowBytes;
  for (std::size_t i = 0; i < head; ++i) row[i] = static_cast<std::uint8_t>(row[i] + previous[i]);
  for (std::size_t i = head; i < rowBytes; ++i)
    row[i] = static_cast<std::uint8_t>(
        row[i] + paethPredictor(row[i - distance], previous[i], previous[i - distance]));
}

#if defined(__SSE2__)
// One pixel of 3 or 4 bytes at a time in 16-bit lanes: each lane depends only
// on the same lane of the pixel to its left, so the pixel's bytes go together.
// Pixels are loaded as 4 bytes while 4 bytes remain in the row (a load pieced
// together from smaller stores would stall); the last 3-byte pixel is copied.
inline __m128i widen(std::uint32_t bytes) {
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes)), _mm_setzero_si128());
}

inline __m128i loadPixel(const std::uint8_t* p, std::size_t available) {
  if (available >= 4) {
    std::uint32_t bytes;
    std::memcpy(&bytes, p, 4);
    return widen(bytes);
  }
  return widen(p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16));
}

template <std::size_t Distance>
void storePixel(std::uint8_t* p, __m128i lanes) {
  const auto bytes = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(lanes, lanes)));
  std::memcpy(p, &bytes, Distance);
}

inline __m128i absolute(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

inline __m128i select(__m128i mask, __m128i ifSet, __m128i otherwise) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, otherwise));
}

template <std::size_t Distance>
void unfilterPaethSse(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes) {
  const __m128i lowByte = _mm_set1_epi16(0xFF);
  __m128i left = _mm_setzero_si128(), upperLeft = _mm_setzero_si128();
  for (std::size_t i = 0; i + Distance <= rowBytes; i += Distance) {
    const std::size_t available = rowBytes - i;
    const __m128i up = loadPixel(previous + i, available);
    const __m128i pa = absolute(_mm_sub_epi16(up, upperLeft));    // |p - left|
    const __m128i pb = absolute(_mm_sub_epi16(left, upperLeft));  // |p - up|
    const __m128i pc = absolute(_mm_sub_epi16(_mm_add_epi16(left, up), _mm_add_epi16(upperLeft, upperLeft)));
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    __m128i predicted = select(_mm_cmpeq_epi16(pb, smallest), up, upperLeft);
    predicted = select(_mm_cmpeq_epi16(pa, smallest), left, predicted);
    left = _mm_and_si128(_mm_add_epi16(loadPixel(row + i, available), predicted), lowByte);
    storePixel<Distance>(row + i, left);
    upperLeft = up;
  }
}

template <std::size_t Distance>
void unfilterAverageSse(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes) {
  const __m128i lowByte = _mm_set1_epi16(0xFF);
  __m128i left = _mm_setzero_si128();
  for (std::size_t i = 0; i + Distance <= rowBytes; i += Distance) {
    const std::size_t available = rowBytes - i;
    const __m128i average = _mm_srli_epi16(_mm_add_epi16(left, loadPixel(previous + i, available)), 1);
    left = _mm_and_si128(_mm_add_epi16(loadPixel(row + i, available), average), lowByte);
    storePixel<Distance>(row + i, left);
  }
}
#endif

void unfilterPaeth(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes, std::size_t distance) {
  // Rows always hold whole pixels at these distances, so the fixed loops cover them.
  if (rowBytes >= distance && rowBytes % distance == 0) {
    switch (distance) {
#if defined(__SSE2__)
      case 3: return unfilterPaethSse<3>(row, previous, rowBytes);
      case 4: return unfilterPaethSse<4>(row, previous, rowBytes);
#else
      case 3: return unfilterPaethFixed<3>(row, previous, rowBytes);
      case 4: return unfilterPaethFixed<4>(row, previous, rowBytes);
#endif
      case 6: return unfilterPaethFixed<6>(row, previous, rowBytes);
      case 8: return unfilterPaethFixed<8>(row, previous, rowBytes);
      default: break;
    }
  }
  unfilterPaethGeneric(row, previous, rowBytes, distance);
}

void unfilterAverageAny(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes, std::size_t distance) {
#if defined(__SSE2__)
  if (rowBytes >= distance && rowBytes % distance == 0) {
    if (distance == 3) return unfilterAverageSse<3>(row, previous, rowBytes);
    if (distance == 4) return unfilterAverageSse<4>(row, previous, rowBytes);
  }
#endif
  unfilterAverage(row, previous, rowBytes, distance);
}

std::size_t repeatScore(const std::uint8_t* bytes, std::size_t count) {
  if (count <= 4) return 0;
  std::size_t score = 0;
  for (std::size_t k = 4; k < count; ++k) {
    const std::uint8_t b = bytes[k];
    if (bytes[k - 1] == b && bytes[k - 2] == b && bytes[k - 3] == b && bytes[k - 4] == b) ++score;
  }
  return score;
}

}  // namespace

bool UnfilterRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes,
                 std::size_t distance) {
  switch (filter) {
    case pftNone: return true;
    case pftSub: unfilterSub(row, rowBytes, distance); return true;
    case pftUp: unfilterUp(row, previous, rowBytes); return true;
    case pftAverage: unfilterAverageAny(row, previous, rowBytes, distance); return true;
    case pftPaeth: unfilterPaeth(row, previous, rowBytes, distance); return true;
    default: return false;
  }
}

void FilterRow(std::uint8_t filter, const std::uint8_t* row, const std::uint8_t* previous, std::uint8_t* out,
               std::size_t rowBytes, std::size_t distance) {
  const std::size_t head = distance < rowBytes ? distance : rowBytes;
  switch (filter) {
    case pftSub:
      std::memcpy(out, row, head);
      for (std::size_t i = head; i < rowBytes; ++i) out[i] = static_cast<std::uint8_t>(row[i] - row[i - distance]);
      return;
    case pftUp:
      for (std::size_t i = 0; i < rowBytes; ++i) out[i] = static_cast<std::uint8_t>(row[i] - previous[i]);
      return;
    case pftAverage:
      for (std::size_t i = 0; i < head; ++i) out[i] = static_cast<std::uint8_t>(row[i] - (previous[i] >> 1));
      for (std::size_t i = head; i < rowBytes; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - distance] + previous[i]) >> 1));
      return;
    case pftPaeth:
      for (std::size_t i = 0; i < head; ++i) out[i] = static_cast<std::uint8_t>(row[i] - previous[i]);
      for (std::size_t i = head; i < rowBytes; ++i)
        out[i] = static_cast<std::uint8_t>(
            row[i] - paethPredictor(row[i - distance], previous[i], previous[i - distance]));
      return;
    default:
      std::memcpy(out, row, rowBytes);
      return;
  }
}

std::uint8_t ChooseAndFilterRow(TEncodeFilterSet filters, const std::uint8_t* row, const std::uint8_t* previous,
                                std::uint8_t* out, std::uint8_t* scratch, std::size_t rowBytes,
                                std::size_t distance) {
  filters |= 1u << pftNone;
  std::uint8_t best = pftNone;
  std::size_t bestScore = 0;
  bool outHoldsBest = false;
  for (std::uint8_t type = pftSub; type <= pftPaeth; ++type) {
    if ((filters & (1u << type)) == 0) continue;
    // Filter into whichever buffer does not hold the best row so far.
    std::uint8_t* target = outHoldsBest ? scratch : out;
    FilterRow(type, row, previous, target, rowBytes, distance);
    const std::size_t score = repeatScore(target, rowBytes);
    if (score > bestScore) {
      best = type;
      bestScore = score;
      if (target == scratch) std::memcpy(out, scratch, rowBytes);
      outHoldsBest = true;
    }
  }
  if (best == pftNone) std::memcpy(out, row, rowBytes);
  return best;
}

}  // namespace images
