#pragma once
// Scanline filters of PNG image data: undoing them on reading, choosing and
// applying one per row on writing.
#include <cstddef>
#include <cstdint>

namespace images {

// The five filter types; their numbers are the filter byte in front of a row.
enum TPngFilterType : std::uint8_t { pftNone = 0, pftSub = 1, pftUp = 2, pftAverage = 3, pftPaeth = 4 };

// A set of filter types as bits 0-4 (bit n = filter type n).
using TEncodeFilterSet = std::uint8_t;
inline constexpr TEncodeFilterSet kAllFilters = 0x1F;
// None, Sub, Average and Paeth: the set a new image encodes with.
inline constexpr TEncodeFilterSet kDefaultEncodeFilters = 27;

// Undoes `filter` on `row` in place. `previous` is the raw previous row (all zeros
// before the first row of an image or pass); `distance` is the byte count of one
// complete pixel, at least 1. Returns false for a filter byte above 4.
bool UnfilterRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* previous, std::size_t rowBytes,
                 std::size_t distance);

// Writes `row` filtered with `filter` (0-4) against `previous` into `out`.
void FilterRow(std::uint8_t filter, const std::uint8_t* row, const std::uint8_t* previous, std::uint8_t* out,
               std::size_t rowBytes, std::size_t distance);

// Picks the filter for one row from `filters`: each candidate's score is the count
// of positions k >= 4 whose filtered byte repeats the four before it; the highest
// wins, ties go to the lower type, None when nothing scores. `scratch` holds
// rowBytes bytes; on return `out` holds the row filtered with the chosen type.
std::uint8_t ChooseAndFilterRow(TEncodeFilterSet filters, const std::uint8_t* row, const std::uint8_t* previous,
                                std::uint8_t* out, std::uint8_t* scratch, std::size_t rowBytes,
                                std::size_t distance);

}  // namespace images
