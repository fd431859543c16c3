// Zero bytes, the byte-order mark and the Japanese conversions applied to a
// document's bytes before it is parsed.
#include <gtest/gtest.h>

#include <string>

#include "engine/html/InputPreparation.h"

namespace engine {
namespace {

TEST(InputPreparation, FirstHundredZeroBytesBecomeBlanksAndTheNextCutsTheText) {
  std::string text = "a" + std::string(150, '\0') + "b";
  ReplaceZeroBytes(text);
  EXPECT_EQ(text, "a" + std::string(100, ' '));

  std::string few("x\0y", 3);
  ReplaceZeroBytes(few);
  EXPECT_EQ(few, "x y");
}

TEST(InputPreparation, ByteOrderMarkIsStrippedOnlyFromTextsLongerThanItself) {
  std::string text = "\xEF\xBB\xBFx";
  EXPECT_TRUE(StripUtf8ByteOrderMark(text));
  EXPECT_EQ(text, "x");
  std::string bare = "\xEF\xBB\xBF";
  EXPECT_FALSE(StripUtf8ByteOrderMark(bare));
  EXPECT_EQ(bare.size(), 3u);
}

TEST(InputPreparation, Iso2022JpBecomesShiftJis) {
  // ESC $B, four JIS pairs (亜, あ, ideographic space, ÷), ESC (B, "A".
  const std::string jis = "\x1B$B\x30\x21\x24\x22\x21\x21\x21\x60\x1B(BA";
  ASSERT_TRUE(HasIso2022JpEscapes(jis));
  EXPECT_EQ(ConvertIso2022JpToShiftJis(jis), "\x88\x9F\x82\xA0\x81\x40\x81\x80" "A");
}

TEST(InputPreparation, Iso2022JpDetectionNeedsABackEscapeAfterTheLaterForwardOne) {
  EXPECT_FALSE(HasIso2022JpEscapes("plain text"));
  EXPECT_FALSE(HasIso2022JpEscapes("\x1B(B then \x1B$B"));
  // Only ESC $@ present: the missing ESC $B must not push the search past the end.
  EXPECT_TRUE(HasIso2022JpEscapes("\x1B$@\x30\x21\x1B(J"));
  EXPECT_TRUE(HasIso2022JpEscapes("\x1B$B\x30\x21\x1B$@\x30\x21\x1B(B"));
  EXPECT_FALSE(HasIso2022JpEscapes("\x1B$B\x1B(B\x1B$@"));
}

TEST(InputPreparation, LoneFinalBytesAreCopiedNotPaired) {
  // Double-byte mode with one byte left: it stays as it is.
  EXPECT_EQ(ConvertIso2022JpToShiftJis(std::string("\x1B$B\x30\x21\x30", 6)), "\x88\x9F\x30");
  std::string euc = "a\xB0\xA1\xB0";
  ConvertEucJpToShiftJis(euc);
  EXPECT_EQ(euc, "a\x88\x9F\xB0");
}

TEST(InputPreparation, EucJpConvertsInPlaceKeepingOffsets) {
  std::string text = "<p>\xB0\xA1x\xA4\xA2";
  ConvertEucJpToShiftJis(text);
  EXPECT_EQ(text, "<p>\x88\x9Fx\x82\xA0");
}

}  // namespace
}  // namespace engine
