#include "images/PngFilters.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace images {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t choose(TEncodeFilterSet filters, const Bytes& row, const Bytes& previous, Bytes* out = nullptr) {
  Bytes filtered(row.size()), scratch(row.size());
  const std::uint8_t type =
      ChooseAndFilterRow(filters, row.data(), previous.data(), filtered.data(), scratch.data(), row.size(), 1);
  if (out) *out = filtered;
  return type;
}

TEST(PngFilters, FilteringThenUnfilteringGivesTheRowBackAtEveryDistance) {
  std::mt19937 random(11);
  for (std::size_t distance : {1, 2, 3, 4, 6, 8}) {
    for (std::size_t size : {std::size_t{1}, distance, 3 * distance, 97 * distance}) {
      Bytes row(size), previous(size), filtered(size);
      for (auto& b : row) b = static_cast<std::uint8_t>(random());
      for (auto& b : previous) b = static_cast<std::uint8_t>(random());
      for (std::uint8_t type = 0; type <= 4; ++type) {
        FilterRow(type, row.data(), previous.data(), filtered.data(), size, distance);
        ASSERT_TRUE(UnfilterRow(type, filtered.data(), previous.data(), size, distance));
        EXPECT_EQ(filtered, row) << "filter " << int(type) << " distance " << distance << " size " << size;
      }
    }
  }
  Bytes row(4);
  EXPECT_FALSE(UnfilterRow(5, row.data(), row.data(), row.size(), 1));
}

TEST(PngFilters, TheFilterWithTheMostFiveByteRunsWinsAndTiesGoToTheLowerType) {
  const Bytes flat(16, 7);
  // Up and Paeth both turn a repeat of the previous row into zeros; Up is lower.
  EXPECT_EQ(choose(kAllFilters, flat, flat), pftUp);
  // Without Up, Paeth (all zeros) beats Sub (7 then zeros).
  EXPECT_EQ(choose(kDefaultEncodeFilters, flat, flat), pftPaeth);

  Bytes ramp(16);
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(3 * i);
  Bytes filtered;
  EXPECT_EQ(choose(1u << pftSub, ramp, Bytes(16, 0), &filtered), pftSub);
  EXPECT_EQ(filtered[5], 3);
}

TEST(PngFilters, NoneWinsWhenNothingScoresOrOnlyNoneIsAllowed) {
  const Bytes flat(16, 7);
  Bytes filtered;
  EXPECT_EQ(choose(1u << pftNone, flat, flat, &filtered), pftNone);
  EXPECT_EQ(filtered, flat);
  EXPECT_EQ(choose(kAllFilters, Bytes(4, 7), Bytes(4, 7)), pftNone);  // rows of 4 bytes are not scored
  EXPECT_EQ(choose(kAllFilters, Bytes{1, 9, 2, 8, 3, 7, 4, 6}, Bytes{5, 1, 6, 2, 7, 3, 8, 4}), pftNone);
}

}  // namespace
}  // namespace images
