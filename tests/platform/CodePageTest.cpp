#include <gtest/gtest.h>

#include <string>

#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/LastError.h"
#include "platform/win/kernel/Windows1252Codec.h"

using namespace win;

namespace {

struct Sample {
  UINT codePage;
  std::u16string text;  // text every one of these code pages can hold
};

std::u16string roundTrip(UINT codePage, const std::u16string& text) {
  return multiByteToWide(codePage, wideToMultiByte(codePage, text));
}

}  // namespace

TEST(CodePage, EverySupportedCodePageRoundTripsItsOwnRepertoire) {
  const std::u16string ascii = u"Hello, world <p class=\"x\">&amp;</p> 0123456789";
  const Sample samples[] = {
      {1250, u"Příliš žluťoučký kůň"},     {1251, u"Съешь же ещё"},
      {1252, u"café €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"},
      {1253, u"Καλημέρα"},                {1254, u"Ağaç şğı"},          {1255, u"שלום"},
      {1256, u"مرحبا"},                   {1257, u"Ąžuolas ķēķis"},     {1258, u"Vi\u1EC7t"},
      {874, u"สวัสดี"},                    {932, u"日本語のテキスト"},      {936, u"中文文本"},
      {949, u"한국어 텍스트"},             {950, u"中文文字"},             {20932, u"日本語"},
      {51932, u"日本語"},                 {50220, u"日本語テキスト"},      {50221, u"日本語"},
      {50222, u"日本語"},                 {28591, u"café"},               {28592, u"Łódź"},
      {28593, u"Ħ ġ"},                    {28594, u"Ķ ŗ"},                {28595, u"Привет"},
      {28596, u"مرحبا"},                  {28597, u"Καλημέρα"},           {28598, u"שלום"},
      {28599, u"Ağaç"},                   {28603, u"Ąžuolas"},            {28605, u"€ œ Ÿ"},
      {20866, u"Привет"},                 {21866, u"Привіт ґ"},           {437, u"╔═╗ ½ ñ"},
      {850, u"Ñandú ½"},                  {866, u"Привет"},               {10000, u"café ∑ π"},
      {65001, u"mixed Ω 日本 \U0001F600"}, {65000, u"mixed Ω 日本 \U0001F600"}, {1200, u"日本 \U0001F600"},
      {1201, u"日本 \U0001F600"},
  };
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.codePage);
    EXPECT_TRUE(IsValidCodePage(sample.codePage));
    EXPECT_EQ(roundTrip(sample.codePage, sample.text), sample.text);
    EXPECT_EQ(roundTrip(sample.codePage, ascii), ascii);
  }
}

TEST(CodePage, AliasesAndUnknownCodePages) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetOEMCP(), 437u);
  EXPECT_EQ(multiByteToWide(CP_ACP, "\x80"), u"€");
  EXPECT_EQ(multiByteToWide(CP_OEMCP, "\xC9"), u"╔");
  EXPECT_EQ(multiByteToWide(CP_MACCP, "\x8E"), u"é");
  EXPECT_FALSE(IsValidCodePage(CP_ACP));
  EXPECT_FALSE(IsValidCodePage(12345));
  SetLastError(0);
  WCHAR out[4];
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "abc", 3, out, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(multiByteToWide(12345, "abc"), u"");
}

// Runs are widened sixteen or eight bytes at a time, the groups with a byte
// of 0x80..0x9F through the table: every length and every place of a byte
// above 0x7F, beside a Latin-1 letter, must decode as the bytes do one by one.
TEST(CodePage, Windows1252RunsDecodeAsTheirBytes) {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t high = 0; high <= length; ++high) {
      std::string bytes(length, 'a');
      for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('!' + i);
      if (high < length) bytes[length - 1 - high] = static_cast<char>(0xE9);
      if (high < length) bytes[high] = static_cast<char>(0x80 + high);
      std::u16string expected = u"#";
      for (const char byte : bytes) win::decodeWindows1252(std::string_view(&byte, 1), expected);
      std::u16string decoded = u"#";
      win::decodeWindows1252(bytes, decoded);
      ASSERT_EQ(decoded, expected) << "length " << length << ", high byte at " << high;
    }
  }
  for (int byte = 0; byte < 256; ++byte) {
    std::u16string one;
    const char single = static_cast<char>(byte);
    win::decodeWindows1252(std::string_view(&single, 1), one);
    EXPECT_EQ(win::windows1252Character(static_cast<unsigned char>(byte)), one[0]) << byte;
  }
}

TEST(CodePage, Windows1252MatchesTheCodePageAndReplacesUnmappable) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string wide = multiByteToWide(1252, all);
  ASSERT_EQ(wide.size(), 255u);
  EXPECT_EQ(wide[0x80 - 1], u'€');
  EXPECT_EQ(wide[0x81 - 1], 0x81);  // undefined bytes keep their value
  EXPECT_EQ(wide[0x9F - 1], u'Ÿ');
  EXPECT_EQ(wide[0xE9 - 1], u'é');
  EXPECT_EQ(wideToMultiByte(1252, wide), all);

  BOOL usedDefault = FALSE;
  char out[8] = {};
  const std::u16string text = u"a\u4E2Db\U0001F600";
  EXPECT_EQ(WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), out, 8, "#", &usedDefault), 4);
  EXPECT_EQ(std::string(out, 4), "a#b#");
  EXPECT_TRUE(usedDefault);
}

TEST(CodePage, SingleByteCodePagesWriteCloseCharactersUnlessTold) {
  const std::u16string text = u"\u0100\uFF21\u0141\u1EA1\uFF5E\u4E2D";
  char out[8] = {};
  BOOL usedDefault = TRUE;
  EXPECT_EQ(WideCharToMultiByte(1252, 0, text.data(), 6, out, 8, nullptr, &usedDefault), 6);
  EXPECT_EQ(std::string(out, 6), "AALa~?");
  EXPECT_TRUE(usedDefault);  // only the CJK character had none
  EXPECT_EQ(wideToMultiByte(CP_ACP, u"\u0101\u0142"), "al");
  usedDefault = TRUE;
  EXPECT_EQ(WideCharToMultiByte(1252, 0, text.data(), 3, out, 8, nullptr, &usedDefault), 3);
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), 3, out, 8, nullptr, &usedDefault), 3);
  EXPECT_EQ(std::string(out, 3), "???");
  EXPECT_TRUE(usedDefault);
  // Code pages through iconv: 1250 has U+0104 and U+0141 itself, not U+0100.
  const std::u16string central = u"\u0104\u0100\u0141\uFF21\u4E2D";
  EXPECT_EQ(WideCharToMultiByte(1250, 0, central.data(), 5, out, 8, nullptr, &usedDefault), 5);
  EXPECT_EQ(std::string(out, 5), "\xA5" "A\xA3" "A?");
  EXPECT_EQ(wideToMultiByte(1251, u"\u0100\u0430"), "A\xE0");
  EXPECT_EQ(WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, central.data(), 5, out, 8, nullptr, nullptr), 5);
  EXPECT_EQ(std::string(out, 5), "\xA5?\xA3??");
}

TEST(CodePage, Utf8InvalidAndTruncatedInput) {
  struct Case {
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"a\x80z", u"a\uFFFDz"},                      // stray continuation byte
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                // overlong form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},      // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE6\x97", u"\uFFFD"},                      // truncated at the end
      {"\xE6\x97z", u"\uFFFDz"},                    // truncated before ASCII
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xFF\xFE", u"\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(multiByteToWide(CP_UTF8, c.bytes), c.expected);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, c.bytes.data(), static_cast<int>(c.bytes.size()),
                                  nullptr, 0),
              c.expected.find(u'\uFFFD') == std::u16string::npos ? static_cast<int>(c.expected.size()) : 0);
  }
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  // An unpaired surrogate becomes U+FFFD, or fails under WC_ERR_INVALID_CHARS.
  const std::u16string lone = u"a\xD800" u"b";
  EXPECT_EQ(wideToMultiByte(CP_UTF8, lone), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone.data(), 3, nullptr, 0, nullptr, nullptr), 0);
}

TEST(CodePage, MultiByteInvalidAndTruncatedInput) {
  // Shift-JIS: a lead byte at the end, an invalid lead byte.
  EXPECT_EQ(multiByteToWide(932, "\x93\xFA\x96"), u"日\u30FB");
  EXPECT_EQ(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x93\xFA\x96", 3, nullptr, 0), 0);
  EXPECT_EQ(multiByteToWide(932, std::string("a\xA0" "b")).size(), 3u);
  // GBK and Big5 with a lone lead byte at the end.
  EXPECT_EQ(multiByteToWide(936, "\xD6\xD0\xCE").size(), 2u);
  EXPECT_EQ(multiByteToWide(950, "\xA4\xA4\xA4").size(), 2u);
  // ISO-2022-JP with a cut escape sequence, and with bytes it does not allow.
  EXPECT_EQ(multiByteToWide(50220, "a\x1B$"), u"a\u30FB");
  EXPECT_EQ(multiByteToWide(50220, "\x1B$B\x46"), u"\u30FB");
  EXPECT_EQ(multiByteToWide(50220, "a\xFF" "b").size(), 3u);
  // Odd byte count in UTF-16.
  EXPECT_EQ(multiByteToWide(1200, std::string("a\0b", 3)), u"a\uFFFD");
}

TEST(CodePage, BufferSizeRules) {
  WCHAR wide[8] = {};
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 4);  // counts the terminating zero
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 4), 4);
  EXPECT_EQ(wide[3], 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, wide, 3), 3);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abcd", 4, wide, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 0, wide, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, nullptr, 3, wide, 3), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, nullptr, 3), 0);

  char narrow[8] = {};
  const WCHAR text[] = u"日本";
  EXPECT_EQ(WideCharToMultiByte(932, 0, text, -1, nullptr, 0, nullptr, nullptr), 5);
  EXPECT_EQ(WideCharToMultiByte(932, 0, text, -1, narrow, 5, nullptr, nullptr), 5);
  EXPECT_STREQ(narrow, "\x93\xFA\x96\x7B");
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(932, 0, text, -1, narrow, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, 2, nullptr, 0, nullptr, nullptr), 6);
}

TEST(CodePage, StatefulEncodingsReturnToTheInitialState) {
  // ISO-2022-JP text ends in ASCII mode, also when a character is unmappable.
  const std::string bytes = wideToMultiByte(50220, u"日本\U0001F600");
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "\x1B(B?");
  EXPECT_EQ(multiByteToWide(50220, bytes), u"日本?");
}

TEST(CodePage, DoubleByteCharacterSteps) {
  const char text[] = "\x93\xFA" "a\x96";
  EXPECT_EQ(CharNextExA(932, text, 0), text + 2);
  EXPECT_EQ(CharNextExA(932, text + 2, 0), text + 3);
  EXPECT_EQ(CharNextExA(932, text + 3, 0), text + 4);  // lead byte before the zero
  EXPECT_EQ(CharNextExA(932, text + 4, 0), text + 4);
  EXPECT_EQ(CharNextExA(1252, text, 0), text + 1);
  EXPECT_TRUE(IsDBCSLeadByteEx(936, 0x81));
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 0xA0));
}
