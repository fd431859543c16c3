#include "engine/html/TokenBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/common/EngineStartup.h"
#include "platform/win/kernel/Utf8Codec.h"
#include "platform/win/kernel/Windows1252Codec.h"

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
  EXPECT_EQ(token.Positions, TPositionList({1, 3}));
  token.AppendChar(u'!', 40);
  token.AppendBytes(Collect("xy", 50), 1252);
  EXPECT_EQ(token.CurrentText(), u"\u00E9a!xy");
  EXPECT_EQ(token.Positions, TPositionList({1, 3, 40, 50, 51}));
  token.Clear();
  EXPECT_EQ(token.Count(), 0);
  EXPECT_TRUE(token.CurrentText().empty());
}

// The text run reader decodes code page 1252 straight into the token: each
// run must come out as the byte buffer's decoding of it, after what the token
// holds already, whatever its length and wherever a byte above 0x7F lies.
TEST(TokenObj, Windows1252RunsMatchTheByteBuffer) {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t high = 0; high <= length; ++high) {
      std::string bytes(length, 'k');
      if (high < length) bytes[high] = static_cast<char>(0x80 + high);
      TokenObj direct;
      direct.AppendChar(u'<', 3);
      direct.AppendWindows1252(bytes, 7);
      TokenObj buffered;
      buffered.AppendChar(u'<', 3);
      buffered.AppendBytes(Collect(bytes, 7), 1252);
      ASSERT_EQ(direct.CurrentText(), buffered.CurrentText()) << length << " " << high;
      ASSERT_EQ(direct.Positions, buffered.Positions) << length << " " << high;
    }
  }
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

namespace engine {
namespace {

// Random byte strings, biased towards UTF-8 lead and continuation bytes,
// decode exactly as the platform converter does, a run it rejects as 1252;
// case n replays by its number.
TEST(TokenObj, Utf8RunsMatchThePlatformConverter) {
  const unsigned char pieces[] = {'a', ' ', 0x80, 0xBF, 0xC2, 0xC3, 0xDF, 0xE0, 0xA0, 0xED, 0x9F,
                                  0xE2, 0xEF, 0xF0, 0x90, 0xF4, 0x8F, 0xF5, 0xFF, 0xC0, 0x82, 0xAC};
  for (unsigned caseNumber = 0; caseNumber < 2000; ++caseNumber) {
    std::uint32_t state = caseNumber * 2654435761u + 1;
    std::string bytes;
    const int length = static_cast<int>(caseNumber % 23);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      bytes += static_cast<char>(pieces[(state >> 16) % sizeof(pieces)]);
    }
    TokenObj token;
    token.AppendBytes(Collect(bytes, 0), 65001);
    std::u16string expected;
    if (!win::decodeUtf8(bytes, win::InvalidInput::Fail, expected)) {
      expected.clear();
      win::decodeWindows1252(bytes, expected);
    }
    ASSERT_EQ(token.CurrentText(), expected) << "case " << caseNumber;
    ASSERT_EQ(token.Positions.size(), expected.size()) << "case " << caseNumber;
    for (std::size_t i = 0; i < token.Positions.size(); ++i) {
      ASSERT_LT(token.Positions[i], std::max(length, 1)) << "case " << caseNumber;
      if (i > 0) {
        ASSERT_GE(token.Positions[i], token.Positions[i - 1]) << "case " << caseNumber;
      }
    }
  }
}

TEST(TokenObj, Utf8RunRejectedAsAWholeKeepsOnePositionPerByte) {
  TokenObj token;
  token.AppendBytes(Collect("\xC3\xA9t\xE9", 10), 65001);
  EXPECT_EQ(token.CurrentText(), u"\u00C3\u00A9t\u00E9");
  EXPECT_EQ(token.Positions, (TPositionList{10, 11, 12, 13}));
  // The first 9x release decodes UTF-8 by itself and keeps its replacements.
  IsWin9x = IsWin95 = true;
  TokenObj own;
  own.AppendBytes(Collect("\xC3\xA9t\xE9", 10), 65001);
  EXPECT_EQ(own.CurrentText(), u"\u00E9t\uFFFD");
  EXPECT_EQ(own.Positions, (TPositionList{10, 12, 13}));
  IsWin9x = IsWin95 = false;
}

}  // namespace
}  // namespace engine
