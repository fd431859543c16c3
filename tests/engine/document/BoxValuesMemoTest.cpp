// BoxValuesMemo: remembered answers are the conversion's own, per array, size and font
// size, and an array freed and made again never finds another's answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/css/CssValues.h"
#include "engine/document/BoxValuesMemo.h"

namespace engine {
namespace {

TSharedMarginArray MarginsOf(const std::string& marginLeft, const std::string& width) {
  TProperties p;
  p.SetPropertyByName("margin-left", marginLeft);
  p.SetPropertyByName("width", width);
  TSharedMarginArray margins;
  margins.Load(p);
  return margins;
}

int MarginLeft(const TBoxResult& result) { return result.Values[BoxIndex(Prop::MarginLeft)]; }

TEST(BoxValuesMemo, AnswersAsTheConversionForEveryArraySizeAndFontSize) {
  ForgetBoxValues();
  std::vector<TSharedMarginArray> boxes;
  for (int i = 0; i < 300; ++i) boxes.push_back(MarginsOf(std::to_string(i % 7 + 1) + "em", "auto"));
  // Twice round, so that the second pass answers from what the first left.
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < boxes.size(); ++i)
      for (int width : {100, 400, 800})
        for (int em : {12, 16}) {
          const TBoxResult expected = ComputeBoxValues(boxes[i], width, 0, em, em / 2);
          const TBoxResult& got = ClampedBoxValues(boxes[i], width, 0, em, em / 2);
          ASSERT_EQ(got.Values, expected.Values) << i << " " << width << " " << em;
          ASSERT_EQ(got.AutoCount, expected.AutoCount);
        }
}

TEST(BoxValuesMemo, PaddingsAnswerAsTheirConversionForEveryArrayAndFontSize) {
  ForgetBoxValues();
  std::vector<TSharedMarginArray> boxes;
  for (int i = 0; i < 200; ++i) {
    TProperties p;
    p.SetPropertyByName("padding-left", std::to_string(i % 9) + (i % 2 ? "em" : "px"));
    p.SetPropertyByName("padding-top", std::to_string(i % 5) + "ex");
    TSharedMarginArray margins;
    margins.Load(p);
    boxes.push_back(margins);
  }
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < boxes.size(); ++i)
      for (int em : {12, 16}) {
        ASSERT_EQ(PaddingValues(boxes[i], em, em / 2), ComputePaddings(boxes[i], em, em / 2)) << i << " " << em;
      }
}

TEST(BoxValuesMemo, PercentagesFollowTheContainingWidth) {
  ForgetBoxValues();
  const TSharedMarginArray margins = MarginsOf("10%", "50%");
  EXPECT_EQ(MarginLeft(ClampedBoxValues(margins, 400, 0, 16, 8)), 40);
  EXPECT_EQ(MarginLeft(ClampedBoxValues(margins, 800, 0, 16, 8)), 80);
  EXPECT_EQ(ClampedBoxValues(margins, 800, 0, 16, 8).Values[BoxIndex(Prop::Width)], 400);
  EXPECT_EQ(MarginLeft(ClampedBoxValues(margins, 400, 0, 16, 8)), 40);
}

TEST(BoxValuesMemo, HugeLengthsAreClampedAndAutoIsKept) {
  ForgetBoxValues();
  const TSharedMarginArray margins = MarginsOf("-90000000px", "auto");
  const TBoxResult& result = ClampedBoxValues(margins, 400, 0, 16, 8);
  EXPECT_EQ(MarginLeft(result), -kMaxBoxValue);
  EXPECT_EQ(result.Values[BoxIndex(Prop::Width)], kAutoValue);
}

TEST(BoxValuesMemo, AnArrayMadeAfterAnotherWasFreedGetsItsOwnAnswer) {
  ForgetBoxValues();
  // Each array is dropped before the next is made, so the allocator may hand
  // out the same address again; the memo holds what it answered for, so it cannot.
  for (int i = 1; i < 40; ++i) {
    TSharedMarginArray margins = MarginsOf(std::to_string(i) + "px", std::to_string(1000 + i) + "px");
    EXPECT_EQ(MarginLeft(ClampedBoxValues(margins, 400, 0, 16, 8)), i);
  }
}

}  // namespace
}  // namespace engine
