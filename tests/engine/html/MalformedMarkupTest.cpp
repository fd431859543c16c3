// Misnested and unclosed elements, stray end tags, text before BODY, a comment
// left open at the end, and nesting deep enough to be hostile.
#include <gtest/gtest.h>

#include <string>

#include "engine/html/ElementProperties.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::FontRuns;
using testing::Parse;
using testing::Repeat;
using testing::TextSections;

TEST(MalformedMarkup, MisnestedEndKeepsTheInnerElementsOwnStyle) {
  // "y" stays bold; "b" stays red.
  EXPECT_EQ(FontRuns(*TextSections(*Parse("<i><b>x</i>y</b>z").root)[0]),
            "0:bi 12 #000000 1:b 12 #000000 2: 12 #000000");
  EXPECT_EQ(FontRuns(*TextSections(*Parse("<i><font color=red>a</i>b</font>c").root)[0]),
            "0:i 12 #0000FF 1: 12 #0000FF 2: 12 #000000");
}

TEST(MalformedMarkup, StrayEndTagsAndUnclosedElements) {
  EXPECT_EQ(Parse("</b></div></ul>a</p></li>b").Dump(), "Body default.\n  Text |ab |\n");
  EXPECT_EQ(Parse("<ul><li>a<div>b").Dump(),
            "Body default.\n"
            "  Block ul.\n"
            "    ListItem li.\n"
            "      Text |a |\n"
            "      Block div.\n"
            "        Text |b |\n");
}

TEST(MalformedMarkup, TextBeforeBodyMovesIntoTheBody) {
  EXPECT_EQ(Parse("Hello<body bgcolor=red>world").Dump(),
            "Body body.\n"
            "  Text |Hello |\n"
            "  Text |world |\n");
}

TEST(MalformedMarkup, CommentLeftOpenKeepsWhatCameBefore) {
  EXPECT_EQ(Parse("<div>a<b>bold</b> tail<!-- never closed").Dump(),
            "Body default.\n"
            "  Block div.\n"
            "    Text |abold tail |\n");
  EXPECT_EQ(Parse("<pre>one\r\ntwo<!-- open").Dump(),
            "Body default.\n"
            "  Block pre.\n"
            "    Pre |one |\n"
            "    Pre |two |\n");
}

TEST(MalformedMarkup, DeepNestingIsCappedAndKeepsTheText) {
  auto document = Parse(Repeat("<div>", 100000) + "deep" + Repeat("</div>", 100000) + "after");
  EXPECT_EQ(testing::JoinedText(*document.root), "deep |after ");
  auto bold = Parse(Repeat("<b>", 5000) + "x" + Repeat("</b>", 5000) + "y");
  EXPECT_EQ(FontRuns(*TextSections(*bold.root)[0]), "0:b 12 #000000 1: 12 #000000");
  auto lists = Parse(Repeat("<ul><li>", 20000) + "z");
  EXPECT_EQ(testing::JoinedText(*lists.root), "z ");
}

TEST(MalformedMarkup, UnclosedSelectLeavesTheNextTagToItsReader) {
  EXPECT_EQ(testing::JoinedText(*Parse("<select><option>a<p>b").root), "b ");
  EXPECT_EQ(Parse("<select><option>a</select>c").Dump(), "Body default.\n  Text |c |\n");
}

TEST(MalformedMarkup, UnclosedMapDropsOnlyItsOwnTags) {
  EXPECT_EQ(Parse("<map name=m><b><i><div>x</div>").Dump(),
            "Body default.\n"
            "  Block div.\n"
            "    Text |x |\n");
}

}  // namespace
}  // namespace engine
