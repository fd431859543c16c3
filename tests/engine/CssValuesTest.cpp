#include <gtest/gtest.h>

#include <clocale>

#include "engine/css/CssColors.h"
#include "engine/css/CssValues.h"
#include "engine/common/EngineStartup.h"

namespace engine {
namespace {

class CssValues : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColorCache();
    PaletteRGBFlag = 0;
    SetCssPixelsPerInch(96);
    SetDefaultFontSize(12);
  }
  void TearDown() override { SetUp(); }
};

TColor Colour(const std::string& text, bool strict = false) {
  TColor colour = 0xDEADBEEF;
  EXPECT_TRUE(ColorFromString(text, strict, colour)) << text;
  return colour;
}

bool IsColour(const std::string& text, bool strict) {
  TColor colour = 0;
  return ColorFromString(text, strict, colour);
}

TEST_F(CssValues, ColoursInEveryForm) {
  EXPECT_EQ(Colour("#F00"), 0x0000FFu);
  EXPECT_EQ(Colour("#00ff80"), 0x80FF00u);
  EXPECT_EQ(Colour(" Red "), 0x0000FFu);
  EXPECT_EQ(Colour("LightGoldenrodYellow"), 0xD2FAFAu);
  EXPECT_EQ(Colour("grey"), Colour("gray"));
  EXPECT_EQ(Colour("rgb(100%, 0, 0)"), 0x0000FFu);
  EXPECT_EQ(Colour("rgb(300,-4,0)"), 0x0000FFu);
  EXPECT_EQ(Colour("rgb(1, 2, 3)"), 0x030201u);
  EXPECT_EQ(Colour("transparent"), kNoColor);
  EXPECT_EQ(Colour("buttonface"), 0xFF00000Fu);
  EXPECT_EQ(Colour("threedlightshadow"), 0xFF000014u);
  EXPECT_EQ(Colour("AppWorkspace"), 0xFF00000Cu);
}

TEST_F(CssValues, HexWithoutHashOnlyWhenLenient) {
  EXPECT_EQ(Colour("f00"), 0x0000FFu);
  ResetColorCache();
  EXPECT_FALSE(IsColour("f00", true));
  EXPECT_FALSE(IsColour("nosuchcolour", false));
  EXPECT_FALSE(IsColour("", false));
  EXPECT_FALSE(IsColour("rgb(1,2,3", false));
  EXPECT_FALSE(IsColour("#", false));
}

TEST_F(CssValues, CacheHonoursTheStrictFlag) {
  EXPECT_EQ(Colour("abc", false), 0xCCBBAAu);
  EXPECT_FALSE(IsColour("abc", true));
}

TEST_F(CssValues, HexColoursCarryThePaletteFlagButNamesDoNot) {
  PaletteRGBFlag = 0x02000000;
  EXPECT_EQ(Colour("#000001"), 0x02010000u);
  EXPECT_EQ(Colour("red"), 0x0000FFu);
}

TEST_F(CssValues, LengthsInEveryUnit) {
  EXPECT_EQ(LengthFromString("1in", false, 0, -1, 16, 8), 96);
  EXPECT_EQ(LengthFromString("2.54cm", false, 0, -1, 16, 8), 96);
  EXPECT_EQ(LengthFromString("25.4mm", false, 0, -1, 16, 8), 96);
  EXPECT_EQ(LengthFromString("12pt", false, 0, -1, 16, 8), 16);
  EXPECT_EQ(LengthFromString("7px", false, 0, -1, 16, 8), 7);
  EXPECT_EQ(LengthFromString("1pc", false, 0, -1, 16, 8), 16);
  EXPECT_EQ(LengthFromString("2em", false, 0, -1, 16, 8), 32);
  EXPECT_EQ(LengthFromString("1.5em", false, 0, -1, 16, 8), 24);
  EXPECT_EQ(LengthFromString("3ex", false, 0, -1, 16, 8), 24);
  EXPECT_EQ(LengthFromString("50%", false, 300, -1, 16, 8), 150);
  EXPECT_EQ(LengthFromString("12", false, 10, -1, 16, 8), 12);
  EXPECT_EQ(LengthFromString("12", true, 10, -1, 16, 8), 120);
  EXPECT_EQ(LengthFromString("-4px", false, 0, -1, 16, 8), -4);
  EXPECT_EQ(LengthFromString("3furlongs", false, 0, -1, 16, 8), -1);
  EXPECT_EQ(LengthFromString("auto", false, 0, -7, 16, 8), -7);
  EXPECT_EQ(LengthFromString("", false, 0, -7, 16, 8), -7);
}

TEST_F(CssValues, UnitsAndKeywordsIgnoreCaseAndBlanks) {
  EXPECT_EQ(LengthFromString(" 2EM ", false, 0, -1, 16, 8), 32);
  EXPECT_EQ(LengthFromString("7 Px", false, 0, -1, 16, 8), 7);
  EXPECT_EQ(LengthFromString("7pxx", false, 0, -1, 16, 8), -1);
  EXPECT_EQ(LengthFromString("7p", false, 0, -1, 16, 8), -1);
  EXPECT_DOUBLE_EQ(FontSizeFromString("2PC", 10), 24);
  EXPECT_DOUBLE_EQ(FontSizeFromString(" X-Large ", 10), 24);
  EXPECT_DOUBLE_EQ(FontSizeFromString("LARGER", 10), 12.5);
  EXPECT_DOUBLE_EQ(FontSizeFromString("largest", 10), 12);
}

TEST_F(CssValues, LengthsRoundHalfToEvenAndClampHugeNumbers) {
  EXPECT_EQ(LengthFromString("2.5px", false, 0, -1, 16, 8), 2);
  EXPECT_EQ(LengthFromString("3.5px", false, 0, -1, 16, 8), 4);
  EXPECT_EQ(LengthFromString("1e400px", false, 0, -1, 16, 8), -1);  // "e400px" is no unit
  EXPECT_EQ(LengthFromString("99999999999999999999px", false, 0, -1, 16, 8), 2147483647);
}

TEST_F(CssValues, LengthsIgnoreTheLocale) {
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(LengthFromString("1.5em", false, 0, -1, 16, 8), 24);
  std::setlocale(LC_NUMERIC, "C");
}

TEST_F(CssValues, FontSizes) {
  EXPECT_DOUBLE_EQ(FontSizeFromString("larger", 10), 12.5);
  EXPECT_DOUBLE_EQ(FontSizeFromString("smaller", 10), 7.5);
  EXPECT_DOUBLE_EQ(FontSizeFromString("medium", 10), 14.4);
  EXPECT_DOUBLE_EQ(FontSizeFromString("xx-small", 10), 8);
  EXPECT_DOUBLE_EQ(FontSizeFromString("1in", 10), 72);
  EXPECT_DOUBLE_EQ(FontSizeFromString("16px", 10), 12);
  EXPECT_DOUBLE_EQ(FontSizeFromString("16", 10), 12);
  EXPECT_DOUBLE_EQ(FontSizeFromString("2pc", 10), 24);
  EXPECT_DOUBLE_EQ(FontSizeFromString("2em", 10), 20);
  EXPECT_DOUBLE_EQ(FontSizeFromString("2ex", 10), 10);
  EXPECT_DOUBLE_EQ(FontSizeFromString("150%", 10), 15);
  EXPECT_DOUBLE_EQ(FontSizeFromString("huge", 10), 12);
  EXPECT_DOUBLE_EQ(FontSizeFromString("3furlongs", 10), 12);
}

TEST_F(CssValues, KeywordTables) {
  EXPECT_EQ(AlignmentFromString("AbsMiddle"), 2);
  EXPECT_EQ(AlignmentFromString("justify"), 7);
  EXPECT_EQ(AlignmentFromString("sideways"), 0);
  EXPECT_EQ(BorderStyleFromString("double"), 8);
  EXPECT_EQ(BorderStyleFromString("wavy"), 0);
  EXPECT_EQ(ListStyleFromString("upper-roman"), 9);
  EXPECT_EQ(ListStyleFromString("inside"), 0);
  int codePage = 77;
  EXPECT_TRUE(CodePageFromCharset(128, codePage));
  EXPECT_EQ(codePage, 932);
  codePage = 77;
  EXPECT_FALSE(CodePageFromCharset(99, codePage));
  EXPECT_FALSE(CodePageFromCharset(31, codePage));  // handled by the charset rule itself
  EXPECT_EQ(codePage, 77);
}

}  // namespace
}  // namespace engine
