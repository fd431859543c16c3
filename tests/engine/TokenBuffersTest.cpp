#include "engine/TokenBuffers.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TCharCollection Collect(const std::string& bytes, int firstPosition = 1) {
  TCharCollection collection;
  for (std::size_t i = 0; i < bytes.size(); ++i) collection.Add(bytes[i], firstPosition + static_cast<int>(i));
  return collection;
}

TEST(CharCollection, AddConcatClear) {
  TCharCollection first = Collect("ab");
  first.Concat(Collect("cd", 10));
  EXPECT_EQ(first.AsString(), "abcd");
  EXPECT_EQ(std::vector<int>(first.Positions().begin(), first.Positions().end()), std::vector<int>({1, 2, 10, 11}));
  first.Clear();
  EXPECT_EQ(first.Size(), 0);
  first.Add('z', 5);
  EXPECT_EQ(first.AsString(), "z");
}

TEST(TokenObj, AppendBytesGivesLeadBytePositions) {
  TokenObj token;
  token.AppendBytes(Collect("\xC3\xA9" "a"), 65001);
  EXPECT_EQ(token.CurrentText(), u"\u00E9a");
  EXPECT_EQ(token.Positions, std::vector<int>({1, 3}));
  token.AppendChar(u'!', 40);
  token.AppendBytes(Collect("xy", 50), 1252);
  EXPECT_EQ(token.CurrentText(), u"\u00E9a!xy");
  EXPECT_EQ(token.Positions, std::vector<int>({1, 3, 40, 50, 51}));
  token.Clear();
  EXPECT_EQ(token.Count(), 0);
  EXPECT_TRUE(token.CurrentText().empty());
}

TEST(TokenObj, LongRunsGrowWithoutLoss) {
  TokenObj token;
  const std::string bytes(1 << 20, 'q');
  token.AppendBytes(Collect(bytes, 0), 1252);
  ASSERT_EQ(token.Count(), 1 << 20);
  EXPECT_EQ(token.Positions.back(), (1 << 20) - 1);
}

}  // namespace
}  // namespace engine
