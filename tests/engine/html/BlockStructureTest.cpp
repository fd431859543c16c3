// Blocks, lists, list items, headings and line breaks as the builder makes them.
#include <gtest/gtest.h>

#include "engine/document/TBlock.h"
#include "engine/document/TBlockLI.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::Parse;
using testing::ParseAndLayOut;

TEST(BlockStructure, ParagraphsDivsListsAndHeadings) {
  EXPECT_EQ(Parse("<p class=a><p align=right>x<div>a</div> <div>b</div>").Dump(),
            "Body default.\n"
            "  Block p.\n"
            "    Text |x |\n"
            "  Block div.\n"
            "    Text |a |\n"
            "  Block div.\n"
            "    Text |b |\n");
  EXPECT_EQ(Parse("<ol><li>a<li value=5>b<li>c</ol><li>x").Dump(),
            "Body default.\n"
            "  Block ol.\n"
            "    ListItem li. label=1.\n"
            "      Text |a |\n"
            "    ListItem li. label=5.\n"
            "      Text |b |\n"
            "    ListItem li. label=6.\n"
            "      Text |c |\n"
            "  ListItem li.\n"
            "    Text |x |\n");
  EXPECT_EQ(Parse("<ul><li>a<ul><li>b</ul><li>c</ul>").Dump(),
            "Body default.\n"
            "  Block ul.\n"
            "    ListItem li.\n"
            "      Text |a |\n"
            "      Block ul.\n"
            "        ListItem li.\n"
            "          Text |b |\n"
            "    ListItem li.\n"
            "      Text |c |\n");
  EXPECT_EQ(Parse("<blockquote>q<address>a</address>r</blockquote>s<h7>t</h7><h2>u</h2>").Dump(),
            "Body default.\n"
            "  Block blockquote.\n"
            "    Text |q |\n"
            "    Block address.\n"
            "      Text |a |\n"
            "    Text |r |\n"
            "  Text |st |\n"
            "  Block h2.\n"
            "    Text |u |\n");
}

TEST(BlockStructure, AlignmentComesFromTheLastParagraphTagAndFromCenterInHeadings) {
  auto document = Parse("<p align=left><p align=middle>x</p><h1><center>T</center></h1>");
  const TCellBasic& body = *dynamic_cast<const TBlock*>(document.root->Items(0))->MyCell;
  EXPECT_EQ(dynamic_cast<const TBlock*>(body.Items(0))->Justify, 2);
  EXPECT_EQ(dynamic_cast<const TBlock*>(body.Items(1))->Justify, 2);
}

TEST(BlockStructure, HugeListNumbersSaturate) {
  auto document = Parse("<ol start=2147483646><li>a<li>b<li>c</ol>");
  const TCellBasic& list = *dynamic_cast<const TBlock*>(
                                 dynamic_cast<const TBlock*>(document.root->Items(0))->MyCell->Items(0))
                                 ->MyCell;
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(dynamic_cast<const TBlockLI*>(list.Items(2))->LabelText(), u"2147483647.");
}

TEST(BlockStructure, AListMayStartAtZero) {
  EXPECT_EQ(Parse("<ol start=0><li>a<li>b</ol>").Dump(),
            "Body default.\n"
            "  Block ol.\n"
            "    ListItem li. label=0.\n"
            "      Text |a |\n"
            "    ListItem li. label=1.\n"
            "      Text |b |\n");
}

TEST(BlockStructure, AParagraphClosedByATableKeepsNoBottomMargin) {
  auto document = ParseAndLayOut("<p>para<table cellspacing=0><tr><td>cell</table>", 600);
  const TCellBasic& body = *dynamic_cast<const TBlock*>(document.root->Items(0))->MyCell;
  ASSERT_EQ(body.Count(), 2);
  const TBlock& paragraph = *dynamic_cast<const TBlock*>(body.Items(0));
  const TSectionBase& text = *paragraph.MyCell->Items(0);
  EXPECT_EQ(paragraph.SectionHeight, text.SectionHeight);
  EXPECT_EQ(body.Items(1)->TopY, text.TopY + text.SectionHeight);
}

TEST(BlockStructure, LineBreaksRulesAndPageBreaks) {
  EXPECT_EQ(Parse("a<br>b<br><br><hr><page>c<br style=\"page-break-after: always\">d").Dump(),
            "Body default.\n"
            "  Text |a |\n"
            "  Text |b |\n"
            "  Text |\\x08|\n"
            "  RuleBlock hr.\n"
            "    Rule\n"
            "  Page\n"
            "  Text |c |\n"
            "  Page\n"
            "  Text |d |\n");
}

TEST(BlockStructure, FormsNestAtTheSameLevel) {
  EXPECT_EQ(Parse("<form>a<form>b</form>c").Dump(),
            "Body default.\n"
            "  Block form.\n"
            "    Text |a |\n"
            "  Block form.\n"
            "    Text |b |\n"
            "  Text |c |\n");
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST(BlockStructure, UnclosedListEndsAtItsCallersStopSymbol) {
  // The second FORM ends the first form's content; the open list does not swallow it.
  EXPECT_EQ(testing::Parse("<form><ul><li>a<form>b").Dump(),
            "Body default.\n"
            "  Block form.\n"
            "    Block ul.\n"
            "      ListItem li.\n"
            "        Text |a |\n"
            "  Block form.\n"
            "    Text |b |\n");
}

}  // namespace
}  // namespace engine
