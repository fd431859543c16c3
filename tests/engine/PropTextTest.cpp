// Shared property texts: equal texts made one after another share their storage, and
// a text stays whole however the texts made after it replace the recent ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/css/TPropText.h"

namespace engine {
namespace {

TEST(PropText, RecentEqualTextsShareAndOthersDoNot) {
  const TPropText first(std::string("30%"));
  const TPropText again("30%");
  EXPECT_TRUE(first.SharesWith(again));
  const TPropText other("31%");
  EXPECT_FALSE(first.SharesWith(other));
  EXPECT_FALSE(first == other);
  const std::string longText(100, 'x');
  const TPropText longFirst(longText);
  const TPropText longAgain(longText);
  EXPECT_TRUE(longFirst == longAgain);  // equal, though long texts are not shared
  EXPECT_EQ(longAgain.Text(), longText);
}

TEST(PropText, TextsOutliveTheRecentTextsThatReplaceThem) {
  std::vector<TPropText> kept;
  for (int index = 0; index < 1000; ++index) kept.emplace_back("w" + std::to_string(index));
  for (std::size_t index = 0; index < kept.size(); ++index) EXPECT_EQ(kept[index].Text(), "w" + std::to_string(index));
  TPropText copy = kept.front();
  kept.clear();
  EXPECT_EQ(copy.Text(), "w0");
}

}  // namespace
}  // namespace engine
