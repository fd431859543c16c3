#include "engine/html/HtmlSymbols.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace engine {
namespace {

TEST(HtmlSymbols, NumberingKeepsItsFixedValues) {
  EXPECT_EQ(symHtml, 0);
  EXPECT_EQ(symUnknownAttribute, 59);
  EXPECT_EQ(symOtherChar, 67);
  EXPECT_EQ(symUnknownTag, 69);
  EXPECT_EQ(symText, 70);
  EXPECT_EQ(symEndOfInput, 71);
  EXPECT_EQ(symTheadEnd, 211);
  EXPECT_EQ(symLineBreak, 218);
  EXPECT_EQ(sizeof(THtmlSymbol), 1u);
}

TEST(HtmlSymbols, TagLookUpTakesStartAndEndSymbols) {
  EXPECT_EQ(LookUpTagSymbol("BR", false), symBr);
  EXPECT_EQ(LookUpTagSymbol("TABLE", false), symTable);
  EXPECT_EQ(LookUpTagSymbol("TABLE", true), symTableEnd);
  EXPECT_EQ(LookUpTagSymbol("H", false), symH);
  EXPECT_EQ(LookUpTagSymbol("OBJECT", true), symObjectEnd);
  EXPECT_EQ(LookUpTagSymbol("READONLY", false), symReadonly);
  // Tags and attributes of the same text share one value.
  EXPECT_EQ(LookUpTagSymbol("SELECTED", false), LookUpAttributeSymbol("SELECTED"));
}

TEST(HtmlSymbols, EndTagsOfTagsWithoutEndAreUnknown) {
  EXPECT_EQ(LookUpTagSymbol("BR", true), symUnknownTag);
  EXPECT_EQ(LookUpTagSymbol("LI", true), symUnknownTag);
  EXPECT_EQ(LookUpTagSymbol("DD", true), symUnknownTag);
  EXPECT_EQ(LookUpTagSymbol("READONLY", true), symUnknownTag);
}

TEST(HtmlSymbols, UnknownOrWrongCaseNamesAreUnknown) {
  EXPECT_EQ(LookUpTagSymbol("H7", false), symUnknownTag);
  EXPECT_EQ(LookUpTagSymbol("table", false), symUnknownTag);
  EXPECT_EQ(LookUpTagSymbol("", false), symUnknownTag);
  EXPECT_EQ(LookUpTagSymbol("BLOCKQUOTEXX", false), symUnknownTag);
  EXPECT_EQ(LookUpAttributeSymbol("HREFX"), symUnknownAttribute);
  EXPECT_EQ(LookUpAttributeSymbol(""), symUnknownAttribute);
}

TEST(HtmlSymbols, AttributeLookUpFindsEveryKind) {
  EXPECT_EQ(LookUpAttributeSymbol("VALUE"), symValue);
  EXPECT_EQ(LookUpAttributeSymbol("TEXT"), symText);
  EXPECT_EQ(LookUpAttributeSymbol("HTTP-EQUIV"), symHttpEquiv);
  EXPECT_EQ(LookUpAttributeSymbol("BORDERCOLORLIGHT"), symBordercolorlight);
  EXPECT_EQ(LookUpAttributeSymbol("READONLY"), symReadonly);
}

TEST(HtmlSymbols, ReverseLookUps) {
  EXPECT_EQ(TagNameOfSymbol(symTitle), "title");
  EXPECT_EQ(TagNameOfSymbol(symH), "h");
  EXPECT_EQ(TagNameOfSymbol(symReadonly), "readonly");
  EXPECT_EQ(TagNameOfSymbol(symHref), "");
  EXPECT_EQ(TagNameOfEndSymbol(symTfootEnd), "tfoot");
  EXPECT_EQ(TagNameOfEndSymbol(symTable), "");
  EXPECT_EQ(EndSymbolOf(symTable), symTableEnd);
  EXPECT_EQ(EndSymbolOf(symObject), symObjectEnd);
  EXPECT_EQ(EndSymbolOf(symBr), 0);
}

// Every tag name is found again, with its end symbol where it has one; names
// that share length and outer letters with a table name are not.
TEST(HtmlSymbols, EveryTagNameIsFoundAgain) {
  int names = 0;
  for (int value = 0; value < 256; ++value) {
    const auto symbol = static_cast<THtmlSymbol>(value);
    std::string name = TagNameOfSymbol(symbol);
    if (name.empty()) continue;
    ++names;
    for (char& ch : name) {
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    const THtmlSymbol found = LookUpTagSymbol(name, false);
    EXPECT_EQ(TagNameOfSymbol(found), TagNameOfSymbol(symbol)) << name;
    const THtmlSymbol end = EndSymbolOf(found);
    EXPECT_EQ(LookUpTagSymbol(name, true), end == 0 ? symUnknownTag : end) << name;
    if (name.size() > 2) {
      std::string near = name;
      near[1] = near[1] == 'Q' ? 'Z' : 'Q';
      EXPECT_EQ(LookUpTagSymbol(near, false), symUnknownTag) << near;
    }
  }
  EXPECT_GT(names, 70);
}

// Names of every length up to the longest are packed into words for the
// look-up: each table name is found again, and a name that differs from it in
// one character, in length or by a zero byte at its end is not.
TEST(HtmlSymbols, EveryAttributeNameIsFoundAgainAndNoNeighbour) {
  for (const std::string_view name : AttributeNames()) {
    const THtmlSymbol symbol = LookUpAttributeSymbol(name);
    EXPECT_NE(symbol, symUnknownAttribute) << name;
    for (std::size_t i = 0; i < name.size(); ++i) {
      std::string changed(name);
      changed[i] = changed[i] == 'Q' ? 'Z' : 'Q';
      EXPECT_EQ(LookUpAttributeSymbol(changed), symUnknownAttribute) << changed;
    }
    EXPECT_EQ(LookUpAttributeSymbol(name.substr(0, name.size() - 1)) == symbol, false) << name;
    EXPECT_EQ(LookUpAttributeSymbol(std::string(name) + 'S') == symbol, false) << name;
    EXPECT_EQ(LookUpAttributeSymbol(std::string(name) + '\0'), symUnknownAttribute) << name;
  }
  for (const std::string_view name : TagNames()) {
    EXPECT_NE(LookUpTagSymbol(name, false), symUnknownTag) << name;
    EXPECT_EQ(LookUpTagSymbol(std::string(name) + '\0', false), symUnknownTag) << name;
  }
  EXPECT_EQ(LookUpAttributeSymbol("BORDERCOLORLIGHTS"), symUnknownAttribute);
  EXPECT_EQ(LookUpAttributeSymbol(std::string_view("ID\0\0", 4)), symUnknownAttribute);
}

}  // namespace
}  // namespace engine
