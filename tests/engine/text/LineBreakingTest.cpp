#include "engine/text/LineBreaking.h"

#include <gtest/gtest.h>

#include <string>

namespace engine {
namespace {

// Characters and their flags ("y" for every character when flags is empty),
// with the final 'y' after the last one.
struct Breakable {
  Breakable(std::u16string t, std::string f = "", bool breakWord = false) : text(std::move(t)), flags(std::move(f)) {
    if (flags.empty()) flags.assign(text.size(), 'y');
    flags.push_back('y');
    view = BreakText{text.data(), flags.data(), static_cast<int>(text.size()), breakWord};
  }
  int Choose(int start, int fitted, bool& overlong) const { return ChooseLineBreak(view, start, fitted, overlong); }
  std::u16string text;
  std::string flags;
  BreakText view;
};

TEST(LineBreaking, BreaksAtSpacesAndTakesTheSpacesAlong) {
  const Breakable words(u"one two  three ");
  bool overlong = true;
  EXPECT_EQ(words.Choose(0, 6, overlong), 4);  // "one t" fits: back to the space after "one"
  EXPECT_FALSE(overlong);
  EXPECT_EQ(words.Choose(0, 3, overlong), 4);   // next character is a space: taken along
  EXPECT_EQ(words.Choose(0, 8, overlong), 9);   // "one two " + the second space
  EXPECT_EQ(words.Choose(4, 100, overlong), 11);  // the rest
}

TEST(LineBreaking, HyphensSoftHyphensWbrAndNobr) {
  bool overlong = false;
  EXPECT_EQ(Breakable(u"well-known fact ").Choose(0, 7, overlong), 5);
  EXPECT_EQ(Breakable(u"abcdef gh ", "ysyyyyyyyy").Choose(0, 4, overlong), 2);  // soft hyphen after "ab"
  EXPECT_EQ(Breakable(u"abcdef gh ", "yyayyyyyyy").Choose(0, 4, overlong), 3);  // WBR after "abc"
  // Inside NOBR the space is no break: the line goes back to the earlier one.
  EXPECT_EQ(Breakable(u"ab cd ef ", "yyyyynyyy").Choose(0, 7, overlong), 3);
}

TEST(LineBreaking, OverlongWordsRunToTheirEnd) {
  bool overlong = false;
  const Breakable word(u"abcdefghij klm ");
  EXPECT_EQ(word.Choose(0, 4, overlong), 11);
  EXPECT_TRUE(overlong);
  const Breakable withBreak(u"abcdefghij\bklm ");
  EXPECT_EQ(withBreak.Choose(0, 4, overlong), 11);  // the forced break goes with it
  // A leading hyphen is no break: a line holding only "-" would be worse than the whole word.
  overlong = false;
  EXPECT_EQ(Breakable(u"-bbbbbbbbbbbbbbbbbbbb ").Choose(0, 5, overlong), 22);
  EXPECT_TRUE(overlong);
  const Breakable breakWord(u"abcdefghij klm ", "", /*breakWord=*/true);
  EXPECT_EQ(breakWord.Choose(0, 4, overlong), 4);
  EXPECT_FALSE(overlong);
}

TEST(LineBreaking, WideScriptsBreakBetweenAnyTwoButNeverInsideAPair) {
  bool overlong = false;
  const Breakable cjk(u"\u4E00\u4E01\u4E02\u4E03 ");
  EXPECT_EQ(cjk.Choose(0, 2, overlong), 2);
  // U+20000 is a surrogate pair; three of them, each two units.
  const Breakable pairs(u"\U00020000\U00020001\U00020002 ");
  EXPECT_EQ(pairs.Choose(0, 3, overlong), 2);  // three units fit: the line ends before the second pair's low half
  EXPECT_EQ(pairs.Choose(0, 1, overlong), 2);  // a lone high half is no line: the pair goes whole
  const Breakable letters(u"ab\U00020000cd ", "", /*breakWord=*/true);
  EXPECT_EQ(WholeCharacters(letters.view, 0, 3), 2);
  EXPECT_EQ(WholeCharacters(letters.view, 2, 1), 2);
}

TEST(LineBreaking, BreaksAroundPlaceholders) {
  bool overlong = false;
  EXPECT_EQ(Breakable(u"ab\x04" u"cd ").Choose(0, 2, overlong), 2);  // an image follows: the line ends before it
  EXPECT_EQ(Breakable(u"ab\x04" u"cd ").Choose(0, 3, overlong), 3);  // after an image
  EXPECT_EQ(Breakable(u"ab\bcd ").Choose(0, 3, overlong), 3);      // after a forced break
  EXPECT_EQ(TrimmedLength(Breakable(u"ab \b").view, 0, 4), 2);
}

}  // namespace
}  // namespace engine
