#include "engine/text/WhiteSpace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace engine {
namespace {

// The finishing rules applied literally: one character deleted at a time,
// every later position moving one place back.
struct LiteralModel {
  std::u16string text;
  std::string flags;
  std::vector<int> sources;
  std::vector<int> origin;   // old position of each character
  std::vector<int> markers;  // where each old position 0..n went

  void Delete(int n) {
    text.erase(text.begin() + n);
    flags.erase(flags.begin() + n);
    sources.erase(sources.begin() + n);
    origin.erase(origin.begin() + n);
    for (int& m : markers)
      if (m > n) --m;
  }
  int Len() const { return static_cast<int>(text.size()); }

  void Run(const std::vector<bool>& floats, int endSource) {
    while (Len() > 0 && text[0] == u' ') Delete(0);
    for (int i = 0; i < Len();) {
      if (text[static_cast<std::size_t>(i)] != kSoftHyphen) {
        ++i;
        continue;
      }
      if (i > 0 && flags[static_cast<std::size_t>(i) - 1] != 'n') flags[static_cast<std::size_t>(i) - 1] = 's';
      Delete(i);
    }
    for (bool found = true; found;) {
      found = false;
      for (int i = 0; i + 1 < Len(); ++i) {
        if (text[static_cast<std::size_t>(i)] != u' ' || text[static_cast<std::size_t>(i) + 1] != u' ') continue;
        Delete(flags[static_cast<std::size_t>(i)] != 'n' ? i + 1 : i);
        found = true;
        break;
      }
    }
    for (int i = Len() - 1; i >= 1; --i)
      if (text[static_cast<std::size_t>(i)] == u' ' && text[static_cast<std::size_t>(i) - 1] == kImageChar &&
          floats[static_cast<std::size_t>(origin[static_cast<std::size_t>(i) - 1])])
        Delete(i);
    for (int i = Len() - 1; i >= 0; --i) {
      if (i >= Len() || text[static_cast<std::size_t>(i)] != u' ') continue;
      const bool before = i + 1 < Len() && text[static_cast<std::size_t>(i) + 1] == kBreakChar;
      const bool after = i > 0 && text[static_cast<std::size_t>(i) - 1] == kBreakChar;
      if (before || after) Delete(i);
    }
    if (Len() > 1 && text.back() == kBreakChar) Delete(Len() - 1);
    if (Len() > 1 && text.back() == u' ') Delete(Len() - 1);
    if (!(Len() == 1 && text[0] == kBreakChar) && Len() > 0 && text.back() != u' ') {
      text.push_back(u' ');
      flags.push_back('y');
      sources.push_back(endSource);
    }
  }
};

SectionChars Chars(const std::u16string& text, const std::string& flags, int firstSource = 100) {
  SectionChars chars{text, flags, {}};
  for (std::size_t i = 0; i < text.size(); ++i) chars.SourcePositions.push_back(firstSource + static_cast<int>(i));
  return chars;
}

const auto kNoFloats = [](int) { return false; };

// The map position by position, old length + 1 entries.
std::vector<int> Table(const PositionMap& map) {
  std::vector<int> table;
  for (std::size_t i = 0; i < map.size(); ++i) table.push_back(map[i]);
  return table;
}

TEST(WhiteSpace, RulesOfTheFinishedText) {
  SectionChars twoSpaces = Chars(u"a  b", "yyyy");
  CollapseSectionWhiteSpace(twoSpaces, kNoFloats, 200);
  EXPECT_EQ(twoSpaces.Text, u"a b ");
  EXPECT_EQ(twoSpaces.Flags, "yyyy");
  EXPECT_EQ(twoSpaces.SourcePositions, (std::vector<int>{100, 101, 103, 200}));

  SectionChars shy = Chars(u"x\u00ADy", "yyy");
  CollapseSectionWhiteSpace(shy, kNoFloats, 200);
  EXPECT_EQ(shy.Text, u"xy ");
  EXPECT_EQ(shy.Flags, "syy");

  SectionChars loneBreak = Chars(u"\b", "y");
  CollapseSectionWhiteSpace(loneBreak, kNoFloats, 200);
  EXPECT_EQ(loneBreak.Text, u"\b");

  SectionChars spaceThenBreak = Chars(u"abc \b", "yyyyy");
  CollapseSectionWhiteSpace(spaceThenBreak, kNoFloats, 200);
  EXPECT_EQ(spaceThenBreak.Text, u"abc ");
  EXPECT_EQ(spaceThenBreak.SourcePositions.back(), 200);

  // A space after a floating image goes; after an inline image it stays.
  SectionChars images = Chars(u"\x04 x\x04 y", "yyyyyy");
  CollapseSectionWhiteSpace(images, [](int old) { return old == 0; }, 200);
  EXPECT_EQ(images.Text, u"\x04x\x04 y ");

  // No-break spaces keep the later one of a pair (the first goes).
  SectionChars nobr = Chars(u"a  b", "ynyy");
  CollapseSectionWhiteSpace(nobr, kNoFloats, 200);
  EXPECT_EQ(nobr.Text, u"a b ");
  EXPECT_EQ(nobr.SourcePositions[1], 102);

  SectionChars empty = Chars(u"   ", "yyy");
  const PositionMap map = CollapseSectionWhiteSpace(empty, kNoFloats, 200);
  EXPECT_TRUE(empty.Text.empty());
  EXPECT_EQ(Table(map), (std::vector<int>{0, 0, 0, 0}));
}

TEST(WhiteSpace, PositionMapPointsAtTheNextSurvivor) {
  SectionChars chars = Chars(u" a  b", "yyyyy");
  const PositionMap map = CollapseSectionWhiteSpace(chars, kNoFloats, 200);
  EXPECT_EQ(chars.Text, u"a b ");
  // old:  0 ' '  1 a  2 ' '  3 ' '(gone)  4 b  5 end
  EXPECT_EQ(Table(map), (std::vector<int>{0, 0, 1, 2, 2, 3}));
}

// Random texts against the literal model; a failing case is replayed by its
// alphabet and number. Short texts dense with spaces, soft hyphens, breaks and
// placeholders, with random flags and floats; and longer, mostly plain texts,
// where a rare special character can stand anywhere (ordinary text is
// collapsed by a shortcut that only touches the ends).
TEST(WhiteSpace, MatchesTheLiteralRulesOnRandomTexts) {
  struct Alphabet {
    std::u16string letters;
    int maxLength;
  };
  const Alphabet alphabets[] = {{u"a  \u00AD\b\x04-", 14},
                                {u"abcdefghijklmnopqrstuvwxyz     a \u00AD\b\x04\x02", 70},
                                {u"abcdefghijklmnopqrstuvwxyz  ", 70}};
  for (int kind = 0; kind < 3; ++kind) {
    const std::u16string& alphabet = alphabets[kind].letters;
    for (int number = 0; number < 3000; ++number) {
      std::mt19937 random(static_cast<unsigned>(number));
      const int length = static_cast<int>(random() % static_cast<unsigned>(alphabets[kind].maxLength));
      std::u16string text;
      std::string flags;
      std::vector<bool> floats;
      // Plain texts often start with spaces and end in a break, after a space or not.
      const int leadingSpaces = kind > 0 && random() % 3 == 0 ? static_cast<int>(random() % 4) : 0;
      for (int i = 0; i < length; ++i) {
        const bool closingBreak = kind > 0 && i == length - 1 && random() % 3 == 0;
        const char16_t letter = alphabet[random() % alphabet.size()];
        text.push_back(i < leadingSpaces ? u' ' : closingBreak ? kBreakChar : letter);
        flags.push_back(random() % 3 == 0 ? 'n' : 'y');
        floats.push_back(random() % 2 == 0);
      }
      LiteralModel model{text, flags, {}, {}, {}};
      for (int i = 0; i < length; ++i) {
        model.sources.push_back(10 + 2 * i);
        model.origin.push_back(i);
      }
      for (int i = 0; i <= length; ++i) model.markers.push_back(i);
      SectionChars chars{text, flags, model.sources};
      model.Run(floats, 999);
      const PositionMap map = CollapseSectionWhiteSpace(
          chars, [&floats](int old) { return static_cast<bool>(floats[static_cast<std::size_t>(old)]); }, 999);
      ASSERT_EQ(chars.Text, model.text) << "alphabet " << kind << " case " << number;
      ASSERT_EQ(chars.Flags, model.flags) << "alphabet " << kind << " case " << number;
      ASSERT_EQ(chars.SourcePositions, model.sources) << "alphabet " << kind << " case " << number;
      ASSERT_EQ(Table(map), model.markers) << "alphabet " << kind << " case " << number;
    }
  }
}

// The stretches between breakable spaces against a plain count over random
// texts of letters and spaces with random flags, long enough to cross several
// blocks of eight characters; replayed by number.
TEST(WhiteSpace, LongestStretchBetweenBreakableSpaces) {
  EXPECT_EQ(LongestStretchBetweenBreakableSpaces(u"", "", 0), 0);
  EXPECT_EQ(LongestStretchBetweenBreakableSpaces(u"ab cdef g", "yyyyyyyyy", 9), 4);
  EXPECT_EQ(LongestStretchBetweenBreakableSpaces(u"ab cdef g", "yynyyyyyy", 9), 7);  // a no-break space joins
  for (int number = 0; number < 2000; ++number) {
    std::mt19937 random(static_cast<unsigned>(number));
    const auto length = static_cast<std::size_t>(random() % 60);
    std::u16string text;
    std::string flags;
    for (std::size_t i = 0; i < length; ++i) {
      text.push_back(random() % 4 == 0 ? u' ' : u'a');
      flags.push_back("yyns"[random() % 4]);
    }
    int expected = 0;
    int run = 0;
    for (std::size_t i = 0; i < length; ++i) {
      const bool breakable = text[i] == u' ' && flags[i] == 'y';
      run = breakable ? 0 : run + 1;
      expected = std::max(expected, run);
    }
    ASSERT_EQ(LongestStretchBetweenBreakableSpaces(text.data(), flags.data(), length), expected) << "case " << number;
  }
}

}  // namespace
}  // namespace engine
