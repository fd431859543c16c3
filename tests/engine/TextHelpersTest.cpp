#include "engine/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "engine/common/CodePageText.h"
#include "engine/common/DosFileNames.h"
#include "engine/common/LargeBlocks.h"
#include "engine/common/EngineStartup.h"
#include "platform/win/kernel/CodePages.h"

namespace engine {
namespace {

TEST(TextHelpers, WideSearches) {
  const char16_t* text = u"abcabc";
  EXPECT_EQ(WideSubstringSearch(text, u"ca"), text + 2);
  EXPECT_EQ(WideSubstringSearch(text, u""), nullptr);
  EXPECT_EQ(WideSubstringSearch(text, u"abcabcd"), nullptr);
  EXPECT_EQ(WideSubstringSearch(nullptr, u"a"), nullptr);
  EXPECT_EQ(WideStrScan(text, u'b'), text + 1);
  EXPECT_EQ(WideStrRScan(text, u'b'), text + 4);
  EXPECT_EQ(WideStrScan(text, u'z'), nullptr);
  EXPECT_EQ(WidePos(u"ca", u"abcabc"), 3);
  EXPECT_EQ(WidePos(u"x", u"abc"), 0);
  EXPECT_EQ(PosFrom("ab", "abcabc", 2), 4);
  EXPECT_EQ(PosFrom("ab", "abcabc", -5), 1);
  EXPECT_EQ(PosFrom("ab", "abcabc", 99), 0);
  EXPECT_EQ(WideTrim(u"\t a b \r\n"), u"a b");
  EXPECT_EQ(WideTrim(u" \x01 "), u"");
  EXPECT_EQ(IntMin(3, 3), 3);
  EXPECT_EQ(IntMax(-1, 4), 4);
}

TEST(TextHelpers, CaseChangesOnBothFamilies) {
  EXPECT_EQ(WideUpperCase(u"caf\u00E9 \u03B1\U0001F600"), u"CAF\u00C9 \u0391\U0001F600");
  EXPECT_EQ(WideLowerCase(u"CAF\u00C9 \u0391"), u"caf\u00E9 \u03B1");
  IsWin9x = true;
  EXPECT_EQ(WideUpperCase(u"caf\u00E9"), u"CAF\u00C9");
  EXPECT_EQ(WideLowerCase(u"CAF\u00C9"), u"caf\u00E9");
  // Characters the ANSI code page lacks do not change the length.
  EXPECT_EQ(WideUpperCase(u"a\u3042b").size(), 3u);
  IsWin9x = false;
}

// The obvious model: from_chars over the same characters, a leading '+' dropped.
double FromCharsModel(std::string_view number) {
  if (number[0] == '+') number.remove_prefix(1);
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

TEST(TextHelpers, LeadingNumbersReadAsFromCharsReadsThem) {
  std::mt19937 random(20261209);
  const std::string digitsAndDot = "0123456789.";
  for (int round = 0; round < 20000; ++round) {
    std::string number;
    const int sign = static_cast<int>(random() % 3);
    if (sign == 1) number += '-';
    if (sign == 2) number += '+';
    const std::size_t length = 1 + random() % 22;
    bool dot = false;
    for (std::size_t at = 0; at < length; ++at) {
      char c = digitsAndDot[random() % digitsAndDot.size()];
      if (c == '.' && dot) c = '7';
      dot = dot || c == '.';
      number += c;
    }
    double value = -999;
    const std::size_t read = ParseLeadingNumber(number + "em", value);
    if (number.find_first_of("0123456789") == std::string::npos) {
      EXPECT_EQ(read, 0u) << "round " << round << ": " << number;
      continue;
    }
    ASSERT_EQ(read, number.size()) << "round " << round << ": " << number;
    const double expected = FromCharsModel(number);
    EXPECT_EQ(value, expected) << "round " << round << ": " << number;
    EXPECT_EQ(std::signbit(value), std::signbit(expected)) << "round " << round << ": " << number;
  }
}

TEST(TextHelpers, LeadingNumbersInTheirForms) {
  double value = 0;
  EXPECT_EQ(ParseLeadingNumber("0.1px", value), 3u);
  EXPECT_EQ(value, 0.1);
  EXPECT_EQ(ParseLeadingNumber("-.5", value), 3u);
  EXPECT_EQ(value, -0.5);
  EXPECT_EQ(ParseLeadingNumber("5.", value), 2u);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(ParseLeadingNumber("-0", value), 2u);
  EXPECT_TRUE(std::signbit(value));
  EXPECT_EQ(ParseLeadingNumber("1234567890.123456789", value), 20u);
  EXPECT_EQ(value, 1234567890.123456789);
  value = 3;
  EXPECT_EQ(ParseLeadingNumber(".", value), 0u);
  EXPECT_EQ(ParseLeadingNumber("-em", value), 0u);
  EXPECT_EQ(value, 3);
}

TEST(CodePageText, ConversionsAndFallbacks) {
  EXPECT_EQ(StringToWideByCodePage(1252, "caf\xE9\x80"), u"caf\u00E9\u20AC");
  EXPECT_EQ(StringToWideByCodePage(65001, "caf\xC3\xA9"), u"caf\u00E9");
  EXPECT_EQ(StringToWideByCodePage(12345, "caf\xE9"), u"caf\u00E9");  // unknown: ANSI
  // The system code page, read without the converter, gives every byte what the converter gives it.
  std::string everyByte;
  for (int byte = 1; byte < 256; ++byte) everyByte += static_cast<char>(byte);
  std::u16string converted(everyByte.size(), u'\0');
  const int length = static_cast<int>(everyByte.size());
  converted.resize(static_cast<std::size_t>(win::MultiByteToWideChar(
      win::CP_ACP, 0, everyByte.data(), length, reinterpret_cast<win::WCHAR*>(converted.data()), length)));
  EXPECT_EQ(StringToWideByCodePage(static_cast<int>(win::CP_ACP), everyByte), converted);
  EXPECT_EQ(WideToStringByCodePage(65001, u"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(WideToStringByCodePage(1252, u"\u20AC"), "\x80");
  EXPECT_EQ(WideToStringByCodePage(12345, u"\u00E9"), "\xE9");
  // Bytes the code page rejects send the whole text to the ANSI code page.
  EXPECT_EQ(StringToWideByCodePage(65001, "caf\xE9"), u"caf\u00E9");
  EXPECT_EQ(StringToWideByCodePage(65001, "\x91\x92"), u"\u2018\u2019");
  EXPECT_EQ(StringToWideByCodePage(932, "\x91"), u"\u2018");
  EXPECT_EQ(StringToWideByCodePage(932, "\x93\xFA"), u"\u65E5");
  // The ANSI code page writes what it has no character for as a close one.
  EXPECT_EQ(WideToStringByCodePage(1252, u"\u0100\uFF21\u0141"), "AAL");
  IsWin9x = IsWin95 = true;
  EXPECT_EQ(StringToWideByCodePage(65001, "\xC3\xA9" "a"), u"\u00E9a");
  IsWin9x = IsWin95 = false;
}

TEST(CodePageText, CharacterLengths) {
  EXPECT_EQ(CharByteLength(65001, "\xC3\xA9"), 2);
  EXPECT_EQ(CharByteLength(65001, "\xE2\x82\xAC"), 3);
  EXPECT_EQ(CharByteLength(65001, "\xF0\x9F\x98\x80"), 4);
  EXPECT_EQ(CharByteLength(65001, "\x80"), 1);
  EXPECT_EQ(CharByteLength(65001, std::string_view("\0", 1)), 0);
  EXPECT_EQ(CharByteLength(932, "\x93\xFA"), 2);
  EXPECT_EQ(CharByteLength(932, "\x93"), 1);  // a lead byte at the very end
  EXPECT_EQ(CharByteLength(1252, "\x93\xFA"), 1);
  EXPECT_EQ(Utf8DecodedLength("\xE2\x82" "a"), 2);
  EXPECT_EQ(Utf8DecodedLength("\xE0\x80\x80"), 1);  // overlong
  EXPECT_EQ(Utf8DecodedLength("\xED\xA0\x80"), 1);  // encoded surrogate
  EXPECT_EQ(Utf8DecodedLength("\xF4\x90\x80\x80"), 1);
}

TEST(DosFileNames, UrlsBecomeFileNames) {
  EXPECT_EQ(UrlToDosFileName("file:///home/a%20b.htm"), "/home/a b.htm");
  EXPECT_EQ(UrlToDosFileName("file:///c|/dir/a%20b.htm"), "/c:/dir/a b.htm");
  EXPECT_EQ(UrlToDosFileName("FILE:/x/y"), "/x/y");
  EXPECT_EQ(UrlToDosFileName("%41bc%42"), "%41bc%42");  // first position stops at once
  EXPECT_EQ(UrlToDosFileName("a%41%4"), "aA%4");
  EXPECT_EQ(UrlToDosFileName("a%zz%41"), "a%zz%41");
  EXPECT_EQ(UrlToDosFileName("a%2541"), "aA");  // each search starts from the beginning
  EXPECT_EQ(UrlToDosFileName("no slash|x"), "no slash|x");
}

TEST(DosFileNames, EscapedNulStopsTheDecoding) {
  const std::string name = UrlToDosFileName("/dir/a%00b%20c.htm");
  EXPECT_EQ(name.find('\0'), std::string::npos);
  EXPECT_EQ(name, "/dir/a%00b%20c.htm");
  EXPECT_EQ(UrlToDosFileName("/dir/a%20b%00c"), "/dir/a b%00c");
}

TEST(DosFileNames, RootedNames) {
  EXPECT_EQ(UrlToDosFileNameWithRoot(" \\dir\\x.htm ", "C:"), "C:\\dir\\x.htm");
  EXPECT_EQ(UrlToDosFileNameWithRoot("\\\\server\\x", "C:"), "\\\\server\\x");
  EXPECT_EQ(UrlToDosFileNameWithRoot("c:\\x", "D:"), "c:\\x");
  EXPECT_EQ(UrlToDosFileNameWithRoot("/home/x.htm", "/root"), "/home/x.htm");
  EXPECT_EQ(UrlToDosFileNameWithRoot("\\x", ""), "\\x");
}

TEST(LargeBlocks, SmallFromHeapLargeFromGlobalMemory) {
  auto small = AllocLargeBlock(kLargestHeapBlock);
  EXPECT_EQ(small->GlobalHandle, 0u);
  ASSERT_NE(small->Memory, nullptr);
  static_cast<unsigned char*>(small->Memory)[kLargestHeapBlock - 1] = 1;
  FreeLargeBlock(std::move(small));
  auto large = AllocLargeBlock(kLargestHeapBlock + 1);
  EXPECT_NE(large->GlobalHandle, 0u);
  ASSERT_NE(large->Memory, nullptr);
  EXPECT_EQ(large->Size, kLargestHeapBlock + 1);
  static_cast<unsigned char*>(large->Memory)[kLargestHeapBlock] = 1;
  FreeLargeBlock(std::move(large));
  EXPECT_EQ(AllocLargeBlock(-5)->Size, 0);
}

}  // namespace
}  // namespace engine
