#include "engine/html/HtmlLexer.h"

#include <gtest/gtest.h>

#include "engine/html/EParseError.h"
#include "platform/gui/TStringList.h"
#include "LexerTestSupport.h"
#include "engine/common/EngineStartup.h"
#include "platform/win/kernel/Windows1252Codec.h"

namespace engine {
namespace {

using testing::JoinedText;
using testing::LexAll;
using testing::StartLexing;

const TAttribute* AttributeOf(THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return parseState.Attributes.Find(symbol, attribute) ? attribute : nullptr;
}

// Lexes up to and including the first tag; its attributes stay in the parse state.
THtmlSymbol FirstTag(const std::string& document, int codePage = 1252) {
  StartLexing(document, codePage);
  NextSymbol();
  return parseState.Symbol;
}

std::string FoldedCharacters(const std::string& document) {
  StartLexing(document);
  std::string characters;
  while (parseState.Ch != 0) {
    characters += static_cast<char>(parseState.Ch);
    NextChar();
  }
  return characters;
}

TEST(HtmlLexerInput, LineEndsAndTabsFold) {
  EXPECT_EQ(FoldedCharacters("a\r\nb\n\rc\rd\ne"), "a\rb\rc\rd\re");
  EXPECT_EQ(FoldedCharacters("a\r\rb\n\nc\r\n\r\nd"), "a\r\rb\r\rc\r\rd");
  EXPECT_EQ(FoldedCharacters("a\tb"), "a b");
  // A zero byte ends the input like the real end.
  EXPECT_EQ(FoldedCharacters(std::string("ab\0cd", 5)), "ab");
}

TEST(HtmlLexerInput, FirstBytePositionIsZero) {
  StartLexing("xy");
  EXPECT_EQ(parseState.SourcePosition, 0);
  NextChar();
  EXPECT_EQ(parseState.SourcePosition, 1);
}

TEST(HtmlLexerText, BlankRunsBecomeOneBlankAtTheirStart) {
  auto items = LexAll("a \t\r\n  b");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"a b");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 1, 7}));
}

TEST(HtmlLexerText, LessThanWithoutTagIsText) {
  EXPECT_EQ(JoinedText(LexAll("a < b <1 c")), u"a < b <1 c");
  auto items = LexAll("x<=y");
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[1].text, u"<");
  EXPECT_EQ(items[1].positions, std::vector<int>({1}));
}

TEST(HtmlLexerText, ControlCharactersBecomeQuestionMarks) {
  EXPECT_EQ(JoinedText(LexAll("a\x01" "b\x08")), u"a?b?");
}

TEST(HtmlLexerText, CommentFormsVanish) {
  EXPECT_EQ(JoinedText(LexAll("a<!-- x -- \r\n >b")), u"ab");
  EXPECT_EQ(JoinedText(LexAll("a<!-- x --!>b")), u"ab");
  EXPECT_EQ(JoinedText(LexAll("a<!---->b")), u"ab");
  EXPECT_EQ(JoinedText(LexAll("a<!-- - -> still -- >b")), u"ab");
  EXPECT_EQ(JoinedText(LexAll("<!DOCTYPE html>a<!x><!-- 1 --><!-- 2 -->b")), u"ab");
  EXPECT_EQ(JoinedText(LexAll("a<% code %>b<%%>c")), u"abc");
}

TEST(HtmlLexerText, RawModeKeepsCommentsAsText) {
  StartLexing("");
  parseState.RawMode = true;
  SetDocumentText("a<!-- b -->");
  parseState.RawMode = true;
  NextCharSkippingMarkup();
  std::string characters;
  while (parseState.Ch != 0) {
    characters += static_cast<char>(parseState.Ch);
    NextCharSkippingMarkup();
  }
  EXPECT_EQ(characters, "a<!-- b -->");
}

TEST(HtmlLexerText, EndInsideCommentRaisesEndInsidePercentDoesNot) {
  EXPECT_THROW(LexAll("a<!-- never closed"), EParseError);
  EXPECT_THROW(LexAll("a<!DOCTYPE"), EParseError);
  try {
    LexAll("<!-- x -");
  } catch (const EParseError& error) {
    EXPECT_EQ(error.Message(), "Open Comment at End of HTML File");
  }
  EXPECT_EQ(JoinedText(LexAll("a<% never closed")), u"a");
}

TEST(HtmlLexerTags, NamesAndHeadings) {
  EXPECT_EQ(FirstTag("<table>"), symTable);
  EXPECT_EQ(FirstTag("</TaBlE>"), symTableEnd);
  EXPECT_EQ(FirstTag("<h3>"), symH);
  EXPECT_EQ(parseState.HeadingLevel, 3);
  EXPECT_EQ(FirstTag("</H2 >"), symHEnd);
  EXPECT_EQ(parseState.HeadingLevel, 2);
  EXPECT_EQ(FirstTag("<h7>"), symUnknownTag);
  EXPECT_EQ(FirstTag("<h0>"), symUnknownTag);
  EXPECT_EQ(FirstTag("</br>"), symUnknownTag);
  EXPECT_EQ(FirstTag("<?xml version='1.0'?>"), symUnknownTag);
  EXPECT_EQ(FirstTag("<selected>"), symSelected);
}

TEST(HtmlLexerTags, HeadingLevelsAtBothEndsOfTheRange) {
  EXPECT_EQ(FirstTag("<h1>"), symH);
  EXPECT_EQ(parseState.HeadingLevel, 1);
  EXPECT_EQ(FirstTag("<H6 align=center>"), symH);
  EXPECT_EQ(parseState.HeadingLevel, 6);
  ASSERT_NE(AttributeOf(symAlign), nullptr);
  EXPECT_EQ(FirstTag("</h1>"), symHEnd);
  EXPECT_EQ(parseState.HeadingLevel, 1);
  EXPECT_EQ(FirstTag("</h6>"), symHEnd);
  EXPECT_EQ(parseState.HeadingLevel, 6);
  // Just outside: no heading, and no level left over from the tag before.
  EXPECT_EQ(FirstTag("<h6><h7>"), symH);
  NextSymbol();
  EXPECT_EQ(parseState.Symbol, symUnknownTag);
  EXPECT_EQ(parseState.HeadingLevel, 0);
  EXPECT_EQ(FirstTag("<h1><h0>"), symH);
  NextSymbol();
  EXPECT_EQ(parseState.Symbol, symUnknownTag);
  EXPECT_EQ(parseState.HeadingLevel, 0);
}

TEST(HtmlLexerTags, SlashAfterNameIsConsumed) {
  EXPECT_EQ(FirstTag("<br/ clear=all>x"), symBr);
  ASSERT_NE(AttributeOf(symClear), nullptr);
  EXPECT_EQ(AttributeOf(symClear)->ValueText, "all");
  // A slash after the attributes stops them; the tag is skipped to ">".
  EXPECT_EQ(FirstTag("<img src=a.gif alt=\"x\" / width=5>t"), symImg);
  EXPECT_NE(AttributeOf(symAlt), nullptr);
  EXPECT_EQ(AttributeOf(symWidth), nullptr);
  NextSymbol();
  EXPECT_EQ(parseState.Token->CurrentText(), u"t");
}

TEST(HtmlLexerTags, ScriptAndStyleLeaveTheirClosingBracket) {
  FirstTag("<script type=x>code");
  EXPECT_EQ(parseState.Symbol, symScript);
  EXPECT_EQ(parseState.Ch, '>');
  FirstTag("<p>text");
  EXPECT_EQ(parseState.Ch, 't');
}

TEST(HtmlLexerTags, TagStartPositionIsTheLessThanSign) {
  auto items = LexAll("ab<b>c");
  ASSERT_EQ(items.size(), 3u);
  StartLexing("ab<b>c");
  NextSymbol();
  NextSymbol();
  EXPECT_EQ(parseState.TagStartPosition, 2);
}

TEST(HtmlLexerTags, LongestNamesAreCutNotOverrun) {
  const std::string longName(5000, 'Q');
  EXPECT_EQ(FirstTag("<" + longName + " a=1>x"), symUnknownTag);
  NextSymbol();
  EXPECT_EQ(parseState.Token->CurrentText(), u"x");
  const std::string longValue(100000, 'v');
  FirstTag("<a href=\"" + longValue + "\" " + longName + "=2>");
  ASSERT_EQ(parseState.Attributes.Count(), 2);
  EXPECT_EQ(AttributeOf(symHref)->ValueText, longValue);
  EXPECT_EQ(parseState.Attributes.Items(1)->Name, longName);
  EXPECT_EQ(parseState.Attributes.Items(1)->Symbol, symUnknownAttribute);
}

TEST(HtmlLexerAttributes, NumericValues) {
  FirstTag("<table border width height=12.5 cellpadding=-3 hspace=\" 7.6 \" vspace=x9>");
  EXPECT_EQ(AttributeOf(symBorder)->Value, 1);
  EXPECT_EQ(AttributeOf(symBorder)->ValueText, "");
  EXPECT_EQ(AttributeOf(symWidth)->Value, 0);
  EXPECT_EQ(AttributeOf(symHeight)->Value, 12);  // halves round to even
  EXPECT_EQ(AttributeOf(symCellpadding)->Value, -3);
  EXPECT_EQ(AttributeOf(symHspace)->Value, 8);
  EXPECT_EQ(AttributeOf(symHspace)->ValueText, " 7.6 ");
  EXPECT_EQ(AttributeOf(symVspace)->Value, 0);
  FirstTag("<td width=99999999999999999999 height=-99999999999999999999>");
  EXPECT_EQ(AttributeOf(symWidth)->Value, INT_MAX);
  EXPECT_EQ(AttributeOf(symHeight)->Value, INT_MIN);
}

TEST(HtmlLexerAttributes, PercentValues) {
  FirstTag("<td width=50% height=\"25%\" align = center >");
  EXPECT_EQ(AttributeOf(symWidth)->ValueText, "50%");
  EXPECT_EQ(AttributeOf(symWidth)->Value, 50);
  EXPECT_EQ(AttributeOf(symHeight)->ValueText, "25%");
  EXPECT_EQ(AttributeOf(symHeight)->Value, 25);
  EXPECT_EQ(AttributeOf(symAlign)->ValueText, "center");
  FirstTag("<td width=50 %>");
  EXPECT_EQ(AttributeOf(symWidth)->ValueText, "50%");
}

TEST(HtmlLexerAttributes, QuotedValuesAndLineEnds) {
  FirstTag("<img title=\"one\r\ntwo\" alt='a\nb' name=\"c\r\nd\" src='it\"s'>");
  EXPECT_EQ(AttributeOf(symTitle)->ValueText, "one\r\ntwo");
  EXPECT_EQ(AttributeOf(symAlt)->ValueText, "a\r\nb");
  EXPECT_EQ(AttributeOf(symName)->ValueText, "cd");
  EXPECT_EQ(AttributeOf(symSrc)->ValueText, "it\"s");
  EXPECT_EQ(AttributeOf(symSrc)->Name, "SRC");
  FirstTag("<a\thref\t=\tx.htm\ttarget=_top>");
  EXPECT_EQ(AttributeOf(symHref)->ValueText, "x.htm");
  EXPECT_EQ(AttributeOf(symTarget)->ValueText, "_top");
}

TEST(HtmlLexerAttributes, UnterminatedQuoteRunsToTheEnd) {
  FirstTag("<a href=\"abc def");
  EXPECT_EQ(AttributeOf(symHref)->ValueText, "abc def");
  NextSymbol();
  EXPECT_EQ(parseState.Symbol, symEndOfInput);
}

TEST(HtmlLexerAttributes, UnderscoreEndsTheAttributes) {
  FirstTag("<p my_attr=1 align=left>x");
  ASSERT_EQ(parseState.Attributes.Count(), 1);
  EXPECT_EQ(parseState.Attributes.Items(0)->Name, "MY");
  EXPECT_EQ(parseState.Attributes.Items(0)->ValueText, "");
  NextSymbol();
  EXPECT_EQ(parseState.Token->CurrentText(), u"x");
}

// The list's attributes are reused from tag to tag: nothing of a tag's
// attributes may show in the next one's.
TEST(HtmlLexerAttributes, EachTagStartsAfresh) {
  const std::string longValue(300, 'v');
  StartLexing("<table border width=\"" + longValue + "\" class=x id=a><td nowrap><p>", 65001);
  NextSymbol();
  ASSERT_EQ(parseState.Attributes.Count(), 4);
  EXPECT_EQ(AttributeOf(symWidth)->ValueText, longValue);
  NextSymbol();
  ASSERT_EQ(parseState.Attributes.Count(), 1);
  const TAttribute& noWrap = *parseState.Attributes.Items(0);
  EXPECT_EQ(noWrap.Symbol, symNowrap);
  EXPECT_EQ(noWrap.Name, "NOWRAP");
  EXPECT_EQ(noWrap.ValueText, "");
  EXPECT_EQ(noWrap.Value, 0);
  EXPECT_EQ(noWrap.CodePage, 65001);
  EXPECT_EQ(parseState.Attributes.IdValue(), "");
  NextSymbol();
  EXPECT_EQ(parseState.Attributes.Count(), 0);
}

TEST(HtmlLexerAttributes, ReferencesDecodeInTheElementsCodePage) {
  FirstTag("<p title=\"caf&eacute;\" alt=&eacute;x class=&#233;>", 65001);
  EXPECT_EQ(AttributeOf(symTitle)->ValueText, "caf\xC3\xA9");
  EXPECT_EQ(AttributeOf(symTitle)->CodePage, 65001);
  EXPECT_EQ(AttributeOf(symAlt)->ValueText, "\xC3\xA9x");
  EXPECT_EQ(AttributeOf(symClass)->ValueText, "\xC3\xA9");
  FirstTag("<p title=\"caf&eacute;\">", 1252);
  EXPECT_EQ(AttributeOf(symTitle)->ValueText, "caf\xE9");
}

TEST(HtmlLexerAttributes, IdsAreRegisteredOutsideTheCountingPass) {
  std::vector<std::pair<std::string, int>> registered;
  StartLexing("ab<a id=First name=x><p id=\"\">");
  parseState.RegisterIdAnchor = [&](const std::string& id, int position) { registered.emplace_back(id, position); };
  NextSymbol();
  NextSymbol();
  NextSymbol();
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(registered[0].first, "First");
  EXPECT_EQ(registered[0].second, 13);  // the blank after the value
  StartLexing("<a id=x>");
  parseState.CountingPass = true;
  parseState.RegisterIdAnchor = [&](const std::string& id, int position) { registered.emplace_back(id, position); };
  NextSymbol();
  EXPECT_EQ(registered.size(), 1u);
}

TEST(HtmlLexerText, CountingPassStoresNoText) {
  StartLexing("some &amp; text<b>");
  parseState.CountingPass = true;
  NextSymbol();
  EXPECT_EQ(parseState.Symbol, symText);
  EXPECT_EQ(parseState.Token->Count(), 0);
  NextSymbol();
  EXPECT_EQ(parseState.Symbol, symB);
}

TEST(HtmlLexerProgress, ReportsEvery4096BytesWithoutOverflow) {
  // 75 times the byte count passes 32 bits from 28 MB on.
  const std::size_t size = 40u << 20;
  std::string document(size, 'x');
  StartLexing("");
  std::vector<int> reports;
  parseState.ProgressShare = 75;
  parseState.ReportProgress = [&](int percent) { reports.push_back(percent); };
  SetDocumentText(std::move(document));
  while (parseState.Ch != 0 || parseState.DocumentPosition == 0) NextChar();
  ASSERT_EQ(reports.size(), size / 4096);
  EXPECT_EQ(reports.front(), 0);
  EXPECT_EQ(reports[reports.size() / 2 - 1], 37);
  EXPECT_EQ(reports.back(), 75);
  for (std::size_t i = 1; i < reports.size(); ++i) ASSERT_GE(reports[i], reports[i - 1]);
}

TEST(HtmlLexerPositions, Utf8CharactersCarryTheirLeadBytePosition) {
  // "é" is two bytes, "€" three, U+1F600 four (a surrogate pair).
  auto items = LexAll("<p>\xC3\xA9" "a\xE2\x82\xAC" "b\xF0\x9F\x98\x80" "c", 65001);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].text, u"\u00E9a\u20ACb\U0001F600c");
  EXPECT_EQ(items[1].positions, std::vector<int>({3, 5, 6, 9, 10, 10, 14}));
}

TEST(HtmlLexerPositions, BrokenUtf8KeepsLaterPositions) {
  // A truncated three-byte sequence, a lone continuation byte, an invalid lead:
  // the run is not UTF-8 and is read in the ANSI code page, byte for byte.
  auto items = LexAll("\xE2\x82" "a\x80" "b\xFF" "c", 65001);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"\u00E2\u201Aa\u20ACb\u00FFc");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 1, 2, 3, 4, 5, 6}));
  // The first 9x release decodes by itself: each broken stretch is one U+FFFD.
  IsWin9x = IsWin95 = true;
  items = LexAll("\xE2\x82" "a\x80" "b\xFF" "c", 65001);
  IsWin9x = IsWin95 = false;
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"\uFFFDa\uFFFDb\uFFFDc");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 2, 3, 4, 5, 6}));
  // Truncated at the end of the run: positions stay inside it.
  items = LexAll("ab\xF0\x9F<b>", 65001);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0].positions.size(), items[0].text.size());
  for (int position : items[0].positions) EXPECT_LE(position, 3);
}

TEST(HtmlLexerPositions, SingleByteAndShiftJisPositions) {
  auto items = LexAll("<b>caf\xE9 \x80</b>", 1252);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].text, u"caf\u00E9 \u20AC");
  EXPECT_EQ(items[1].positions, std::vector<int>({3, 4, 5, 6, 7, 8}));
  // Two double-byte characters around an ASCII one.
  items = LexAll("\x93\xFA" "a\x96\x7B", 932);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"\u65E5a\u672C");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 2, 3}));
}

TEST(HtmlLexerPositions, ReferencesSitAtTheirAmpersand) {
  auto items = LexAll("a&amp;b&#x1F600;c&bogus;d");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"a&b\U0001F600c&bogus;d");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 1, 6, 7, 7, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
}

TEST(HtmlLexerRobustness, EveryByteInEveryCodePage) {
  std::string document;
  for (int byte = 1; byte < 256; ++byte) {
    document += static_cast<char>(byte);
    document += "<p a=\"" + std::string(1, static_cast<char>(byte)) + "&#" + std::to_string(byte) + ";\">";
  }
  document += "&";
  const int codePages[] = {0,    1252, 65001, 932,  936,  949,  950,   1250,  1251,  1253,  1254, 1255,
                           1256, 1257, 1258,  874,  866,  20866, 28591, 28592, 28595, 28597, 28605, 437,
                           1361, 51932, 12345};
  for (int codePage : codePages) {
    SCOPED_TRACE(codePage);
    auto items = LexAll(document, codePage);
    EXPECT_FALSE(items.empty());
    for (const auto& item : items) ASSERT_EQ(item.text.size(), item.positions.size());
  }
}

TEST(HtmlLexerRaw, TextareaContent) {
  StartLexing("ab\r\n&lt;<b>x</TextArea >");
  std::vector<std::pair<THtmlSymbol, std::string>> tokens;
  for (;;) {
    ReadRawToken();
    if (parseState.Symbol == symEndOfInput || parseState.Symbol == symTextareaEnd) {
      tokens.emplace_back(parseState.Symbol, parseState.RawTokenText);
      break;
    }
    tokens.emplace_back(parseState.Symbol, parseState.RawTokenText);
  }
  const std::vector<std::pair<THtmlSymbol, std::string>> expected = {
      {symText, "ab"}, {symLineBreak, ""}, {symUnknownTag, "<"}, {symUnknownTag, "<b"},
      {symText, ">x"}, {symTextareaEnd, "</TextArea"}};
  EXPECT_EQ(tokens, expected);
  StartLexing(std::string(250, 'z'));
  ReadRawToken();
  EXPECT_EQ(parseState.RawTokenText.size(), 100u);
}

// What the lexer made of a document, positions left out.
struct LexedTokens {
  std::vector<THtmlSymbol> symbols;
  std::vector<std::u16string> texts;
  std::vector<int> headingLevels;
  std::vector<std::string> attributes;  // "NAME=value#number@symbol" per attribute
  bool operator==(const LexedTokens&) const = default;
};

LexedTokens LexTokens() {
  LexedTokens tokens;
  for (int guard = 0; guard < 100000; ++guard) {
    NextSymbol();
    if (parseState.Symbol == symEndOfInput) break;
    tokens.symbols.push_back(parseState.Symbol);
    tokens.texts.push_back(parseState.Token->CurrentText());
    if (parseState.Symbol == symText) continue;
    tokens.headingLevels.push_back(parseState.HeadingLevel);
    for (const auto& attribute : parseState.Attributes) {
      tokens.attributes.push_back(attribute->Name + "=" + attribute->ValueText + "#" +
                                  std::to_string(attribute->Value) + "@" + std::to_string(attribute->Symbol));
    }
  }
  return tokens;
}

// The same markup served by an include handler: included text is read one
// character at a time, never in bulk straight from the document.
LexedTokens LexThroughInclude(const std::string& markup, int codePage) {
  StartLexing("", codePage);
  parseState.OnInclude = [&markup](gui::TObject*, const std::string&, std::unique_ptr<gui::TStringList>,
                                   std::string& included) { included = markup; };
  SetDocumentText("<!--#x-->");
  NextCharSkippingMarkup();
  return LexTokens();
}

// Random documents built from pieces that border on every bulk read: single
// and repeated blanks, tabs and line ends between words, references, markup
// inside attribute values, quotes of both kinds, bare and numeric values.
TEST(HtmlLexerBulkReads, MatchReadingOneCharacterAtATime) {
  const char* const pieces[] = {"word", "x", " ", "  ", "\t", "\r\n", "\n\r", " \r", "&amp;", "&#65;", "&bogus",
                                "&", "<", "<1", "\x93", "\xC3\xA9", "\x01", "<b>", "</b>", "<!-- c -->",
                                "<a href=\"x y&amp;z\" title='t\r\nu<!-- c -->v' width=50% border>",
                                "<p align=left class=c&lt;d title=\"\x93q\x94\tr\">", "<img alt='a\"b' hspace=+3>",
                                "<td width=\"30%\" valign=top nowrap>", "<font size=-1 face=Arial>",
                                "<meta HTTP-Equiv=\"a\" Da<!-- c -->ta-1=b>", "<h1>", "</H6 >", "<hr size=2>",
                                "<H<!-- c -->2>", "<ht<!-- c -->ml>", "<br/>", "<//b>", "<tbody>", "<a_b x=1>",
                                "<BLOCKQUOTEXYZ>", "<p a=\"\" b=''>", "<td width=30% height=30 %>",
                                "<p a= \"x\" b =\"y\">", "<p a=x c=x\ty d=>", "<p border=none>", "<p border=\"\">",
                                "<font size=+2%>", "<p id=\"k\" title=\"a", "<p a=\"x\tb\" c=\"x\r\ny\">", "<p a='x&amp;'>"};
  for (int codePage : {1252, 65001}) {
    for (unsigned caseNumber = 0; caseNumber < 400; ++caseNumber) {
      std::uint32_t random = caseNumber * 2654435761u + 7;
      std::string markup;
      for (int i = 0; i < 40; ++i) {
        random = random * 1103515245u + 12345u;
        markup += pieces[(random >> 16) % std::size(pieces)];
      }
      StartLexing(markup, codePage);
      const LexedTokens direct = LexTokens();
      ASSERT_EQ(direct, LexThroughInclude(markup, codePage)) << "code page " << codePage << ", case " << caseNumber;
    }
  }
}

// Literal runs (preformatted text) are scanned sixteen bytes at a time: a
// line of every length with a stop or a tab at every place must be read as
// the bytes are one by one, into the byte buffer and straight into a token.
TEST(HtmlLexerBulkReads, LiteralRunsStopWhereTheBytesDo) {
  for (const char stop : {'<', '&', '\x01', '\r', '\t', '\xFF'}) {
    for (std::size_t length = 1; length <= 40; ++length) {
      for (std::size_t at = 1; at <= length; ++at) {
        std::string line(length, 'q');
        for (std::size_t i = 0; i < length; ++i) line[i] = static_cast<char>('a' + i % 26);
        if (at < length) line[at] = stop;
        std::string expectedBytes;
        std::u16string expectedCharacters;
        for (const char byte : line) {
          const auto value = static_cast<unsigned char>(byte == '\t' ? ' ' : byte);
          if (value < ' ' || value == '<' || value == '&') break;
          expectedBytes += static_cast<char>(value);
          expectedCharacters += win::windows1252Character(value);
        }
        std::vector<int> expectedPositions(expectedBytes.size());
        for (std::size_t i = 0; i < expectedPositions.size(); ++i) expectedPositions[i] = static_cast<int>(i);
        const auto isLiteral = [] { return parseState.Ch >= ' ' && parseState.Ch != '<' && parseState.Ch != '&'; };

        StartLexing(line + "<");
        TCharCollection bytes;
        while (isLiteral()) ReadLiteralBytes(bytes);
        ASSERT_EQ(bytes.AsString(), expectedBytes) << length << " " << at << " " << int(stop);
        ASSERT_EQ(std::vector<int>(bytes.Positions().begin(), bytes.Positions().end()), expectedPositions);

        StartLexing(line + "<");
        TokenObj token;
        while (isLiteral()) ReadLiteralCharacters(token);
        ASSERT_EQ(token.CurrentText(), expectedCharacters) << length << " " << at << " " << int(stop);
        ASSERT_EQ(std::vector<int>(token.Positions.begin(), token.Positions.end()), expectedPositions);
      }
    }
  }
}

TEST(HtmlLexerBulkReads, PositionsAcrossSingleAndRepeatedBlanks) {
  auto items = LexAll("one two  six\r\nab c");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, u"one two six ab c");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 14, 15, 16, 17}));
  // A blank at the end of the document or before a tag is a run of its own.
  items = LexAll("a b <b>c ");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].text, u"a b ");
  EXPECT_EQ(items[0].positions, std::vector<int>({0, 1, 2, 3}));
  EXPECT_EQ(items[2].text, u"c ");
  EXPECT_EQ(items[2].positions, std::vector<int>({7, 8}));
}

// Tag names are taken from the document in one piece: text after them keeps
// its place, and so does the next tag's "<".
TEST(HtmlLexerBulkReads, PositionsAfterTagsTakenWhole) {
  const std::string document = "<b>x</b>y<p class=a>z</SPAN\r\n>w<h2>v";
  auto items = LexAll(document);
  ASSERT_EQ(items.size(), 10u);
  const std::vector<std::pair<std::u16string, int>> texts = {{u"x", 3}, {u"y", 8}, {u"z", 20}, {u"w", 30}, {u"v", 35}};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(items[2 * i + 1].text, texts[i].first) << i;
    EXPECT_EQ(items[2 * i + 1].positions, std::vector<int>{texts[i].second}) << i;
  }
  EXPECT_EQ(items[6].symbol, symSpanEnd);
  EXPECT_EQ(items[8].symbol, symH);
  EXPECT_EQ(items[8].headingLevel, 2);
  StartLexing(document);
  std::vector<int> tagStarts;
  for (NextSymbol(); parseState.Symbol != symEndOfInput; NextSymbol()) {
    if (parseState.Symbol != symText) tagStarts.push_back(parseState.TagStartPosition);
  }
  EXPECT_EQ(tagStarts, std::vector<int>({0, 4, 9, 21, 31}));
}

TEST(HtmlLexerBulkReads, ProgressCountsEveryBlockOfTextAndValues) {
  std::string document;
  while (document.size() < (1u << 20)) {
    document += "<p title=\"" + std::string(3000, 'v') + "\" class=" + std::string(5000, 'c') + ">";
    for (int i = 0; i < 300; ++i) document += "word word  word\r\n";
    document += "&amp;";
  }
  const std::size_t size = document.size();
  StartLexing("");
  std::vector<int> reports;
  parseState.ProgressShare = 100;
  parseState.ReportProgress = [&](int percent) { reports.push_back(percent); };
  SetDocumentText(std::move(document));
  NextCharSkippingMarkup();
  LexTokens();
  ASSERT_EQ(reports.size(), size / 4096);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    ASSERT_EQ(reports[i], static_cast<int>(100 * 4096 * (i + 1) / size)) << i;
  }
}

}  // namespace
}  // namespace engine
