#include "images/PngFilters.h"

#include <cstring>
#include <cstdlib>

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

void unfilterPaeth(std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes, std::size_t distance) {
  // Rows always hold whole pixels at these distances, so the fixed loops cover them.
  if (rowBytes >= distance && rowBytes % distance == 0) {
    switch (distance) {
      case 3: return unfilterPaethFixed<3>(row, previous, rowBytes);
      case 4: return unfilterPaethFixed<4>(row, previous, rowBytes);
      case 6: return unfilterPaethFixed<6>(row, previous, rowBytes);
      case 8: return unfilterPaethFixed<8>(row, previous, rowBytes);
      default: break;
    }
  }
  unfilterPaethGeneric(row, previous, rowBytes, distance);
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
    case pftAverage: unfilterAverage(row, previous, rowBytes, distance); return true;
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
