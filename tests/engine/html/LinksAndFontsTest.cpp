// Links, named anchors, the many-links flag, FONT and BASEFONT sizes, font-style elements.
#include <gtest/gtest.h>

#include <string>

#include "engine/document/TIDNameList.h"
#include "engine/text/TFontObj.h"
#include "engine/text/TSection.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::FontRuns;
using testing::Parse;
using testing::Repeat;
using testing::TextSections;

TEST(Links, LinkRunCarriesTargetAndSourceRange) {
  auto document = Parse("ab<a href=u target=f>xy</a>z");
  auto sections = TextSections(*document.root);
  ASSERT_EQ(sections.size(), 1u);
  const TFontObj* link = nullptr;
  for (int i = 0; i < sections[0]->Fonts.Count(); ++i) {
    if (sections[0]->Fonts.Items(i)->IsLink()) link = sections[0]->Fonts.Items(i);
  }
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->UrlTarget().Url, "u");
  EXPECT_EQ(link->UrlTarget().Target, "f");
  EXPECT_EQ(link->Pos, 2);
  EXPECT_EQ(link->UrlTarget().Range.Start, 21);  // after the A tag
  EXPECT_EQ(link->UrlTarget().Range.Last, 27);   // after the A end tag
  EXPECT_EQ(link->UrlTarget().AttributeText, "HREF=u\r\nTARGET=f\r\n");
  EXPECT_EQ(document.root->Links.LiveCount(), 1);
}

// Links among font-style elements: each link's text is one run in the link look, and the
// text after it takes the look around it again.
TEST(Links, EachLinkStartsOneRunInTheLinkLook) {
  auto document = Parse("a<b>b<a href=u>c</a>d</b><a href=v title=t>e</a><i><a href=w>f</a></i>g");
  auto sections = TextSections(*document.root);
  ASSERT_EQ(sections.size(), 1u);
  std::string links;
  for (const auto& run : sections[0]->Fonts) links += run->IsLink() ? run->UrlTarget().Url : "-";
  EXPECT_EQ(links, "--u-vw-");
  EXPECT_EQ(testing::FontRuns(*sections[0]),
            "0: 12 #000000 1:b 12 #000000 2:bu 12 #FF0000 3:b 12 #000000 4:u 12 #FF0000 5:iu 12 #FF0000 6: 12 #000000");
}

TEST(Links, TabIndexIsReadWhateverTheAttributeOrder) {
  auto document = Parse("<a href=a>x<a tabindex=5 href=b>y</a><a href=c>z</a>");
  const TLinkList& links = document.root->Links;
  std::string indexes;
  for (int i = 0; i < links.Count(); ++i) {
    if (links.Items(i)) indexes += std::to_string(links.Items(i)->UrlTarget().TabIndex);
  }
  EXPECT_EQ(indexes, "050");
}

TEST(Links, NamedAnchorsAreStoredUpperCaseWithoutHash) {
  auto document = Parse("text<a name=\"#Top\">here</a>");
  EXPECT_NE(document.root->IDNameList->Find("TOP"), nullptr);
  EXPECT_EQ(document.root->IDNameList->Find("#TOP"), nullptr);
}

TEST(Links, MoreThanFourHundredLinksTurnKeyboardStopsOff) {
  EXPECT_FALSE(Parse(Repeat("<a href=x>l</a>", 400)).root->Links.ManyLinks);
  EXPECT_TRUE(Parse(Repeat("<a href=x>l</a>", 401)).root->Links.ManyLinks);
  EXPECT_FALSE(Parse(Repeat("<a name=x>l</a>", 401)).root->Links.ManyLinks);
}

TEST(FontElements, FontSizesFollowTheBaseFontAndTheRootsDefaultSize) {
  auto document = Parse("<font size=+2>a</font><font size=9>b</font><font size=0>c</font>"
                        "<basefont size=5><font size=+1>d</font><font size=+2147483647>e</font>");
  EXPECT_EQ(FontRuns(*TextSections(*document.root)[0]),
            "0: 18 #000000 1: 36 #000000 2: 8 #000000 3: 24 #000000 4: 36 #000000 5: 18 #000000");

  auto larger = testing::NewTestRoot(14);
  ParseHtmlSource("<font size=3>x</font>", *larger, nullptr);
  EXPECT_EQ(FontRuns(*TextSections(*larger)[0]).substr(0, 7), "0: 14 #");
}

TEST(FontElements, ColourAndFontStyleElements) {
  auto document = Parse("<font color=red>r</font><b>b<i>bi</i></b><u>u</u>");
  EXPECT_EQ(FontRuns(*TextSections(*document.root)[0]),
            "0: 12 #0000FF 1:b 12 #000000 2:bi 12 #000000 4:u 12 #000000 5: 12 #000000");
}

TEST(FontElements, WindowsFaceNamesBeyondTheCoreThreeAreChosen) {
  // Courier is a Windows face of its own; before the platform knew it, these
  // runs fell back to the default Times New Roman and lost their fixed pitch.
  auto document = Parse("<font face=\"Courier\">a</font><span style=\"font-family: Courier\">b</span>"
                        "<font face=\"Verdana, Arial\">c</font>");
  const TSection& section = *TextSections(*document.root)[0];
  std::string names;
  for (int i = 0; i < section.Fonts.Count(); ++i) names += section.Fonts.Items(i)->Font->Name() + ";";
  EXPECT_EQ(names, "Courier;courier;Verdana;Times New Roman;");
  const TMyFont& courier = *section.Fonts.Items(0)->Font;
  EXPECT_EQ(courier.tmAveCharWidth, courier.tmMaxCharWidth);
}

}  // namespace
}  // namespace engine
