#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "engine/css/CssColors.h"
#include "engine/css/CssReader.h"
#include "engine/css/CssValues.h"
#include "engine/common/EngineStartup.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TPropStack.h"
#include "engine/css/TProperties.h"
#include "engine/css/TStyleList.h"
#include "platform/gui/TScreen.h"

namespace engine {
namespace {

constexpr TColor kBlack = 0x000000;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kPurple = 0x800080;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x008000;

class Cascade : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColorCache();
    styles.BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, kBlack, kBlue, kPurple, kRed, true, 1, 5,
                                  10);
    auto bottom = std::make_unique<TProperties>();
    bottom->CopyDefault(*styles.DefProp);
    stack.Add(std::move(bottom));
  }

  void Sheet(const std::string& css) {
    TStringCssSource source(css);
    char current = ' ';
    ParseStyleSheet(styles, current, source, "", true);
  }

  TProperties& Push(const std::string& tag, const std::string& classes = "", const std::string& id = "",
                    const std::string& pseudo = "", TProperties* inlineStyle = nullptr) {
    auto element = std::make_unique<TProperties>();
    element->Inherit(tag, *stack.Last());
    TProperties* pushed = stack.Add(std::move(element));
    styles.Cascade(*pushed, tag, classes, id, pseudo, "", inlineStyle, &stack, stack.TopIndex());
    return *pushed;
  }
  void Pop() { stack.Delete(stack.TopIndex()); }

  std::string Text(const TProperties& p, Prop which) {
    const std::string* text = TextOf(p.Value(which));
    return text ? *text : "<no text>";
  }

  bool overLinks = false;
  TStyleList styles{&overLinks};
  TPropStack stack;
};

TEST_F(Cascade, DefaultSheet) {
  EXPECT_EQ(styles.SequenceCounter(), 10);
  TProperties& p = Push("p");
  EXPECT_EQ(std::get<int>(p.Value(Prop::MarginTop)), kParagraphSpace);
  EXPECT_EQ(p.GetColor(), kBlack);
  Pop();
  Push("pre");
  TProperties& inPre = Push("p");
  EXPECT_EQ(std::get<int>(inPre.Value(Prop::MarginTop)), 0);
  EXPECT_EQ(std::get<int>(inPre.Value(Prop::MarginBottom)), kParagraphSpace);
  EXPECT_DOUBLE_EQ(std::get<double>(inPre.Value(Prop::FontSize)), 10);
  Pop();
  Pop();
  TProperties& h1 = Push("h1");
  EXPECT_DOUBLE_EQ(std::get<double>(h1.Value(Prop::FontSize)), 24);
  EXPECT_EQ(Text(h1, Prop::FontWeight), "bold");
  TProperties& small = Push("small");
  EXPECT_DOUBLE_EQ(std::get<double>(small.Value(Prop::FontSize)), 18);  // relative to the heading
}

TEST_F(Cascade, DefaultSheetFollowsThePlatformAndDisplay) {
  TProperties& textarea = Push("textarea");
  EXPECT_EQ(Text(textarea, Prop::FontFamily), "Courier New");
  Pop();
  IsWin9x = true;
  PaletteRGBFlag = kPaletteRgbFlag;
  styles.BuildDefaultStyleSheet("Arial", "Courier New", 12, kBlack, kBlue, kPurple, kRed, true, 1, 5, 10);
  IsWin9x = false;
  PaletteRGBFlag = 0;
  EXPECT_EQ(Text(Push("textarea"), Prop::FontFamily), "Arial Unicode MS, Arial");
  Pop();
  EXPECT_EQ(Push("a", "", "", "link").GetColor(), kBlue | kPaletteRgbFlag);
}

TEST_F(Cascade, SpecificityOrderOfSimpleKeys) {
  Sheet("#main { color: green } p.note { color: blue } .note { color: red } p { color: purple }");
  EXPECT_EQ(Push("p", "note", "main").GetColor(), kGreen);
  Pop();
  EXPECT_EQ(Push("p", "note").GetColor(), kBlue);
  Pop();
  EXPECT_EQ(Push("div", "note").GetColor(), kRed);
  Pop();
  EXPECT_EQ(Push("p").GetColor(), kPurple);
}

TEST_F(Cascade, SeveralClassesTakeEachClassAndTheirCompound) {
  Sheet("p { color: red; margin-left: 1px } .x { color: blue } .y { margin-left: 7px } .x.y { font-weight: bold }");
  TProperties& p = Push("p", "x.y");
  EXPECT_EQ(p.GetColor(), kBlue);  // the class rule stays over the tag rule
  EXPECT_EQ(Text(p, Prop::MarginLeft), "7px");
  EXPECT_EQ(Text(p, Prop::FontWeight), "bold");
  EXPECT_EQ(p.PropClass, "x.y");
}

TEST_F(Cascade, IdRulesStayAboveClassRulesWhateverTheClassOrder) {
  Sheet(".y { color: blue; margin-left: 3px } #i { color: green } p#i { margin-left: 9px } "
        "#i:hover { font-weight: bold } .x { font-weight: normal }");
  for (const char* classes : {"x.y", "y.x"}) {
    SCOPED_TRACE(classes);
    TProperties& p = Push("p", classes, "i");
    EXPECT_EQ(p.GetColor(), kGreen);
    EXPECT_EQ(Text(p, Prop::MarginLeft), "9px");
    Pop();
    EXPECT_EQ(Text(Push("p", classes, "i", "hover"), Prop::FontWeight), "bold");
    Pop();
  }
}

TEST_F(Cascade, SameSelectorTwiceSharesOneEntry) {
  Sheet("p { color: red; margin-top: 1px } p { color: blue }");
  TProperties& p = Push("p");
  EXPECT_EQ(p.GetColor(), kBlue);
  EXPECT_EQ(Text(p, Prop::MarginTop), "1px");
  Pop();

  // A value added to a rule that has been merged already, by a later sheet.
  Sheet("p { text-align: right } p.x, div p { letter-spacing: 3px }");
  TProperties& later = Push("p");
  EXPECT_EQ(later.GetColor(), kBlue);
  EXPECT_EQ(Text(later, Prop::TextAlign), "right");
  Pop();
  Sheet("p { margin-bottom: 2px } p.x, div p { word-wrap: break-word }");
  TProperties& last = Push("p", "x");
  EXPECT_EQ(Text(last, Prop::MarginBottom), "2px");
  EXPECT_EQ(Text(last, Prop::LetterSpacing), "3px");
  EXPECT_EQ(Text(last, Prop::WordWrap), "break-word");
}

TEST_F(Cascade, ContextualAndChildSelectors) {
  Sheet("pre p { color: red } div > p { color: blue } ul li a { color: green } .menu a:hover { color: purple }");
  Push("pre");
  Push("div");
  EXPECT_EQ(Push("p").GetColor(), kBlue);
  Pop();
  Push("span");
  EXPECT_EQ(Push("p").GetColor(), kRed);  // pre at any depth; the div is no parent here
  Pop();
  Pop();
  Pop();
  Pop();
  Push("ul");
  Push("li");
  Push("b");
  EXPECT_EQ(Push("a").GetColor(), kGreen);
  Pop();
  Pop();
  Pop();
  Pop();
  Push("div", "menu");
  EXPECT_EQ(Push("a", "", "", "hover").GetColor(), kPurple);
  Pop();
  EXPECT_EQ(Push("a").GetColor(), kBlack);
}

TEST_F(Cascade, IdSubjectsOfContextualSelectorsApply) {
  Sheet("div #main { color: red }");
  Push("div");
  EXPECT_EQ(Push("p", "", "main").GetColor(), kRed);
}

// Elements whose id no key names take the plan of their names without the id;
// an id that a key names, in any case, keeps its own lookups.
TEST_F(Cascade, IdsTheSheetNamesApplyAndOthersChangeNothing) {
  Sheet("p { margin-left: 1px } #Main { color: green } p.x#main { margin-left: 9px } #mainly p { color: red }");
  EXPECT_EQ(Push("p", "x", "main").GetColor(), kGreen);
  EXPECT_EQ(Text(*stack.Last(), Prop::MarginLeft), "9px");
  Pop();
  TProperties& other = Push("p", "x", "other");
  EXPECT_EQ(other.GetColor(), kBlack);
  EXPECT_EQ(Text(other, Prop::MarginLeft), "1px");
  EXPECT_EQ(other.PropID, "other");
  Pop();
  // A rule whose ancestor has an id selects elements with other ids or none.
  Push("div", "", "mainly");
  EXPECT_EQ(Push("p", "", "other").GetColor(), kRed);
  Pop();
  Pop();
  EXPECT_EQ(Push("p", "", "mainl").GetColor(), kBlack);
}

TEST_F(Cascade, LaterContextualRulesWinBeyondNinetySelectors) {
  std::string sheet;
  for (int rule = 0; rule < 95; ++rule) sheet += "div em" + std::to_string(rule) + " { color: red } ";
  sheet += "div p { color: red } div p { color: blue }";  // both before and after the counter reaches 100
  Sheet("div p { color: green } " + sheet);
  Push("div");
  EXPECT_EQ(Push("p").GetColor(), kBlue);
  EXPECT_LT(CompareStyleKeys("p 199div ", "p 1100div "), 0);
  EXPECT_LT(CompareStyleKeys("p 110div ", "p 210div "), 0);
  EXPECT_LT(CompareStyleKeys("p", "p 110div "), 0);
  EXPECT_LT(CompareStyleKeys("p 11pre", "p 110div "), 0);
}

// Contextual rules are taken in the sheet's order whatever order they were added in and
// whatever plain rules and other subjects lie between them.
TEST_F(Cascade, ContextualRulesKeepTheSheetsOrderAcrossSheets) {
  Sheet("body div p { color: green } pre p { color: red } p { color: black } div p { color: red }");
  Sheet("div p.x { color: red } div p { color: blue } pre { color: red } .x p { color: red }");
  Push("body");
  Push("div");
  EXPECT_EQ(Push("p").GetColor(), kGreen);  // two ancestors go after one
  Pop();
  Sheet("body div p { color: purple }");
  EXPECT_EQ(Push("p").GetColor(), kPurple);
  Pop();
  Pop();
  Pop();
  Push("div");
  EXPECT_EQ(Push("p").GetColor(), kBlue);
  EXPECT_EQ(Push("pre").GetColor(), kRed);
}

TEST_F(Cascade, InlineStyleComesLast) {
  Sheet("#x { color: red } p { margin-left: 3px }");
  TProperties inlineStyle;
  ParseInlineStyle("color: blue", inlineStyle);
  TProperties& p = Push("p", "", "x", "", &inlineStyle);
  EXPECT_EQ(p.GetColor(), kBlue);
  EXPECT_EQ(Text(p, Prop::MarginLeft), "3px");
  EXPECT_EQ(p.PropStyle, &inlineStyle);
}

TEST_F(Cascade, FontSizesResolveAgainstTheParent) {
  Sheet("div { font-size: 20pt } p { font-size: 50% } em { font-size: larger } b { font-size: medium }");
  Push("div");
  TProperties& p = Push("p");
  EXPECT_DOUBLE_EQ(std::get<double>(p.Value(Prop::FontSize)), 10);
  TProperties& em = Push("em");
  EXPECT_DOUBLE_EQ(std::get<double>(em.Value(Prop::FontSize)), 12.5);
  // The same rule's size again, under another parent size and another default size.
  EXPECT_DOUBLE_EQ(std::get<double>(Push("p").Value(Prop::FontSize)), 6.25);
  Pop();
  Pop();
  Pop();
  Pop();
  EXPECT_DOUBLE_EQ(std::get<double>(Push("p").Value(Prop::FontSize)), 6);
  Pop();
  EXPECT_DOUBLE_EQ(std::get<double>(Push("b").Value(Prop::FontSize)), DefaultFontSize() * 1.2);
  Pop();
  const double defaultSize = DefaultFontSize();
  SetDefaultFontSize(15);
  EXPECT_DOUBLE_EQ(std::get<double>(Push("b").Value(Prop::FontSize)), 18);
  SetDefaultFontSize(defaultSize);
}

TEST_F(Cascade, LinkColoursAndLooks) {
  Sheet("a { color: red } :visited { color: green }");
  TProperties& link = Push("a", "", "", "link");
  EXPECT_EQ(link.GetColor(), kRed);
  ASSERT_TRUE(link.HasLinkFonts);
  const auto& looks = link.LinkFonts->Ar;
  EXPECT_EQ(looks[TFontInfoArray::Normal]->iColor, kRed);
  EXPECT_TRUE(looks[TFontInfoArray::Normal]->iStyle & fsUnderline);
  EXPECT_EQ(looks[TFontInfoArray::Visited]->iColor, kGreen);  // visited links skip the tag rule
  EXPECT_EQ(stack.Count(), 2);  // the temporary entries are gone
}

TEST_F(Cascade, PseudoClassLinkRulesColourEveryState) {
  Sheet(":link { color: green }");
  TProperties& link = Push("a", "", "", "link");
  EXPECT_EQ(link.GetColor(), kGreen);
  const auto& looks = link.LinkFonts->Ar;
  EXPECT_EQ(looks[TFontInfoArray::Visited]->iColor, kGreen);
  EXPECT_EQ(looks[TFontInfoArray::Hover]->iColor, kGreen);
  EXPECT_EQ(looks[TFontInfoArray::VisitedHover]->iColor, kGreen);
}

TEST_F(Cascade, HoverRulesAndLinkColourChanges) {
  EXPECT_FALSE(overLinks);
  styles.ModifyLinkColor("visited", kGreen);
  Sheet("a:hover { text-decoration: none }");
  EXPECT_TRUE(overLinks);
  TProperties& link = Push("a", "", "", "link");
  const auto& looks = link.LinkFonts->Ar;
  EXPECT_EQ(looks[TFontInfoArray::Visited]->iColor, kGreen);
  EXPECT_EQ(looks[TFontInfoArray::Hover]->iColor, kRed);
  EXPECT_FALSE(looks[TFontInfoArray::Hover]->iStyle & fsUnderline);
  EXPECT_TRUE(looks[TFontInfoArray::Visited]->iStyle & fsUnderline);
  EXPECT_FALSE(looks[TFontInfoArray::VisitedHover]->iStyle & fsUnderline);
}

// Links alike share their computed looks; a rule added between them, or a contextual
// rule that depends on what surrounds the link, must still be honoured.
TEST_F(Cascade, AlikeLinksKeepTheirOwnLooksWhenSheetOrContextDiffers) {
  Sheet("a:hover { color: green } .menu a:visited { color: blue }");
  TProperties& first = Push("a", "", "", "link");
  EXPECT_EQ(first.LinkFonts->Ar[TFontInfoArray::Hover]->iColor, kGreen);
  Pop();
  Sheet("a:hover { color: red }");
  TProperties& second = Push("a", "", "", "link");
  EXPECT_EQ(second.LinkFonts->Ar[TFontInfoArray::Hover]->iColor, kRed);
  EXPECT_NE(second.LinkFonts->Ar[TFontInfoArray::Visited]->iColor, kBlue);
  Pop();
  Push("div", "menu");
  TProperties& inMenu = Push("a", "", "", "link");
  EXPECT_EQ(inMenu.LinkFonts->Ar[TFontInfoArray::Visited]->iColor, kBlue);
  Pop();
  Pop();
  TProperties& outside = Push("a", "", "", "link");
  EXPECT_NE(outside.LinkFonts->Ar[TFontInfoArray::Visited]->iColor, kBlue);
}

TEST_F(Cascade, AlikeLinksKeepTheirOwnLooksWhenAnInheritedValueDiffers) {
  Sheet("div.wide { letter-spacing: 2px }");
  TProperties& plain = Push("a", "", "", "link");
  const TPropValue plainSpace = plain.LinkFonts->Ar[TFontInfoArray::Visited]->iSpace;
  Pop();
  Push("div", "wide");
  TProperties& wide = Push("a", "", "", "link");
  EXPECT_EQ(wide.LinkFonts->Ar[TFontInfoArray::Visited]->iSpace, TPropValue(std::string("2px")));
  Pop();
  Pop();
  TProperties& plainAgain = Push("a", "", "", "link");
  EXPECT_EQ(plainAgain.LinkFonts->Ar[TFontInfoArray::Visited]->iSpace, plainSpace);
}

// A contextual rule whose ancestor is first named late, or whose rule comes after its
// ancestor was opened, still applies where its ancestors are.
TEST_F(Cascade, ContextualRulesApplyOnceTheirAncestorsAppear) {
  Sheet(".late span { color: red }");
  EXPECT_NE(Push("span").GetColor(), kRed);
  Pop();
  Push("div", "late");
  EXPECT_EQ(Push("span").GetColor(), kRed);
  Pop();
  Push("p", "early");
  EXPECT_NE(Push("em").GetColor(), kGreen);
  Pop();
  Sheet(".early em { color: green }");
  EXPECT_EQ(Push("em").GetColor(), kGreen);
  EXPECT_EQ(Push("span").GetColor(), kRed);
}

// A remembered link's normal look names the family the screen has now: one installed
// between two alike links is taken by the second.
TEST_F(Cascade, AlikeLinksTakeAFamilyInstalledBetweenThem) {
  Sheet("a { font-family: 'Made Up Face', Arial }");
  TProperties& before = Push("a", "", "", "link");
  // The sheet's reader lowers the family names.
  EXPECT_EQ(before.LinkFonts->Ar[TFontInfoArray::Normal]->iName, "arial");
  Pop();
  gui::TStrings& installed = gui::Screen->Fonts();
  installed.Add("Made Up Face");
  TProperties& after = Push("a", "", "", "link");
  EXPECT_EQ(after.LinkFonts->Ar[TFontInfoArray::Normal]->iName, "made up face");
  Pop();
  installed.Delete(installed.IndexOf("Made Up Face"));
  TProperties& gone = Push("a", "", "", "link");
  EXPECT_EQ(gone.LinkFonts->Ar[TFontInfoArray::Normal]->iName, "arial");
}

// Remembered link looks against looks cascaded afresh for every link, over random nestings
// under a sheet whose contextual rules reach links through their states, classes and ids.
TEST(LinkLooks, RememberedLooksMatchFreshCascades) {
  const std::string sheet =
      "a:hover { color: red } .x a:visited { color: green } div.y a { font-weight: bold } "
      "#n a:hover { text-decoration: none } a.x:visited { font-style: italic } li > a:hover { color: blue } "
      "a:visited a:hover { letter-spacing: 2px } a:link a:hover { font-size: 20px } .y .x a { color: purple } "
      "span a.y:visited { font-family: Arial } div.x { font-style: oblique } #n span { font-size: 9pt } "
      "li a:visited a:hover { color: #123456 }";
  struct Side {
    TStyleList styles;
    TPropStack stack;
  };
  Side sides[2];
  for (Side& side : sides) {
    side.styles.BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, kBlack, kBlue, kPurple, kRed, true, 1, 5,
                                       10);
    TStringCssSource source(sheet);
    char current = ' ';
    ParseStyleSheet(side.styles, current, source, "", true);
  }
  sides[1].styles.SetRememberLinkLooks(false);
  const char* const tags[] = {"div", "p", "span", "li", "a"};
  const char* const classes[] = {"", "x", "y", "x.y"};
  std::mt19937 random(7);
  auto push = [&](Side& side, const std::string& tag, const std::string& cls, const std::string& id,
                  const std::string& pseudo) -> TProperties& {
    TProperties* pushed = side.stack.Add(side.stack.NewEntry(tag, *side.stack.Last()));
    side.styles.Cascade(*pushed, tag, cls, id, pseudo, "", nullptr, &side.stack, side.stack.TopIndex());
    return *pushed;
  };
  for (int number = 0; number < 400; ++number) {
    for (Side& side : sides) {
      while (side.stack.Count() > 0) side.stack.Delete(side.stack.TopIndex());
      auto bottom = std::make_unique<TProperties>();
      bottom->CopyDefault(*side.styles.DefProp);
      side.stack.Add(std::move(bottom));
    }
    const int depth = static_cast<int>(random() % 5);
    for (int level = 0; level <= depth; ++level) {
      const bool link = level == depth;
      const std::string tag = link ? "a" : tags[random() % 5];
      const std::string cls = classes[random() % 4];
      const std::string id = random() % 4 == 0 ? "n" : "";
      const std::string pseudo = tag == "a" && (link || random() % 2) ? "link" : "";
      TProperties& remembered = push(sides[0], tag, cls, id, pseudo);
      TProperties& fresh = push(sides[1], tag, cls, id, pseudo);
      if (pseudo != "link") continue;
      ASSERT_TRUE(remembered.LinkFonts && fresh.LinkFonts) << "case " << number;
      for (int look = 0; look < 4; ++look) {
        const ThtFontInfo& a = *remembered.LinkFonts->Ar[static_cast<std::size_t>(look)];
        const ThtFontInfo& b = *fresh.LinkFonts->Ar[static_cast<std::size_t>(look)];
        ASSERT_TRUE(a.iName == b.iName && a.iSize == b.iSize && a.iStyle == b.iStyle && a.iColor == b.iColor &&
                    a.ibgColor == b.ibgColor && a.iCharset == b.iCharset && a.iSpace == b.iSpace)
            << "case " << number << ", level " << level << ", look " << look;
      }
    }
  }
}

// What one style list remembers between cascades (plans per element names, the names of the
// open elements, link looks) against a fresh list for every stack, over random nestings that
// grow, shrink and lose elements in the middle, under a sheet whose contextual rules reach
// elements and links through their states, classes and ids.
TEST(CascadeMemory, RememberedCascadesMatchFreshOnes) {
  const std::string sheet =
      "a:hover { color: red } .x a:visited { color: green } div.y a { font-weight: bold } "
      "#n a:hover { text-decoration: none } a.x:visited { font-style: italic } li > a:hover { color: blue } "
      "a:visited a:hover { letter-spacing: 2px } a:link a:hover { font-size: 20px } .y .x a { color: purple } "
      "span a.y:visited { font-family: Arial } div.x { font-style: oblique } #n span { font-size: 9pt } "
      "li a:visited a:hover { color: #123456 } div > p { margin-left: 3px } .x.y li { text-align: right } "
      "#n .y p { word-wrap: break-word } .y { letter-spacing: 1px } span.x { color: #00ff00 }";
  auto newList = [&](bool rememberLinkLooks) {
    auto styles = std::make_unique<TStyleList>();
    styles->BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, kBlack, kBlue, kPurple, kRed, true, 1, 5, 10);
    TStringCssSource source(sheet);
    char current = ' ';
    ParseStyleSheet(*styles, current, source, "", true);
    styles->SetRememberLinkLooks(rememberLinkLooks);
    return styles;
  };
  struct Names {
    std::string tag, classes, id, pseudo;
  };
  auto cascadeAt = [](TStyleList& styles, TPropStack& stack, int index, const Names& names) {
    stack.Insert(index, stack.NewEntry(names.tag, *stack.Items(index - 1)));
    styles.Cascade(*stack.Items(index), names.tag, names.classes, names.id, names.pseudo, "", nullptr, &stack, index);
  };
  auto newStack = [](TStyleList& styles, TPropStack& stack) {
    auto bottom = std::make_unique<TProperties>();
    bottom->CopyDefault(*styles.DefProp);
    stack.Add(std::move(bottom));
  };
  auto sameLooks = [](const TProperties& a, const TProperties& b) {
    if (!a.LinkFonts || !b.LinkFonts) return !a.LinkFonts && !b.LinkFonts;
    for (std::size_t look = 0; look < 4; ++look) {
      const ThtFontInfo& x = *a.LinkFonts->Ar[look];
      const ThtFontInfo& y = *b.LinkFonts->Ar[look];
      if (!(x.iName == y.iName && x.iSize == y.iSize && x.iStyle == y.iStyle && x.iColor == y.iColor &&
            x.ibgColor == y.ibgColor && x.iCharset == y.iCharset && x.iSpace == y.iSpace))
        return false;
    }
    return true;
  };

  const char* const tags[] = {"div", "p", "span", "li", "a"};
  const char* const classes[] = {"", "x", "y", "x.y", "y.x"};
  std::mt19937 random(7);
  std::unique_ptr<TStyleList> kept = newList(true);
  TPropStack keptStack;
  newStack(*kept, keptStack);
  std::vector<Names> open;
  for (int number = 0; number < 400; ++number) {
    if (!open.empty() && random() % 3 == 0) {
      // An element in the middle goes; the ones above it are cascaded again, in place.
      const int gone = 1 + static_cast<int>(random() % open.size());
      open.erase(open.begin() + (gone - 1));
      keptStack.Delete(gone);
      for (int index = gone; index <= static_cast<int>(open.size()); ++index) {
        keptStack.Delete(index);
        cascadeAt(*kept, keptStack, index, open[static_cast<std::size_t>(index - 1)]);
      }
    }
    for (int pop = static_cast<int>(random() % 3); pop > 0 && !open.empty(); --pop) {
      open.pop_back();
      keptStack.Delete(keptStack.TopIndex());
    }
    for (int push = 1 + static_cast<int>(random() % 3); push > 0; --push) {
      Names names{tags[random() % 5], classes[random() % 5], random() % 4 == 0 ? "n" : "", ""};
      if (names.tag == "a" && random() % 3 != 0) names.pseudo = "link";
      open.push_back(names);
      cascadeAt(*kept, keptStack, keptStack.Count(), names);
    }

    std::unique_ptr<TStyleList> fresh = newList(false);
    TPropStack freshStack;
    newStack(*fresh, freshStack);
    for (const Names& names : open) cascadeAt(*fresh, freshStack, freshStack.Count(), names);
    ASSERT_EQ(keptStack.Count(), freshStack.Count());
    for (int index = 1; index < keptStack.Count(); ++index) {
      const TProperties& a = *keptStack.Items(index);
      const TProperties& b = *freshStack.Items(index);
      ASSERT_TRUE(a.Props == b.Props && a.Assigned == b.Assigned && sameLooks(a, b))
          << "case " << number << ", level " << index;
    }
  }
}

TEST_F(Cascade, NewDefaultsDropEarlierSheets) {
  Sheet("div p { color: red } q { color: red }");
  EXPECT_EQ(styles.SequenceCounter(), 11);
  styles.BuildDefaultStyleSheet("Arial", "Courier New", 10, kBlack, kBlue, kPurple, kRed, false, 1, 5, 10);
  int index = 0;
  EXPECT_FALSE(styles.Find("q", index));
  EXPECT_EQ(styles.SequenceCounter(), 10);
  EXPECT_DOUBLE_EQ(DefaultFontSize(), 10);
  ASSERT_TRUE(styles.Find("::link", index));
  EXPECT_EQ(std::get<TPropText>(styles.Objects(index)->Value(Prop::TextDecoration)).Text(), "none");
  SetDefaultFontSize(12);
}

TEST_F(Cascade, AuthorRulesOnBuiltInKeysStayInTheirSheet) {
  // A second sheet of the same defaults starts from the same built-in rules as this one.
  TStyleList other;
  other.BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, kBlack, kBlue, kPurple, kRed, true, 1, 5, 10);
  Sheet("p { margin-top: 3px; color: green } a { color: green } :visited { color: red } default { color: red }");
  EXPECT_EQ(Push("p").GetColor(), kGreen);
  Pop();
  EXPECT_EQ(Push("a", "", "", "link").GetColor(), kGreen);
  Pop();

  auto ruleOf = [](const TStyleList& sheet, const std::string& key) {
    int index = 0;
    return sheet.Find(key, index) ? sheet.Objects(index) : nullptr;
  };
  for (const TStyleList* sheet : {static_cast<const TStyleList*>(&other), static_cast<const TStyleList*>(nullptr)}) {
    TStyleList fresh;
    if (!sheet) {
      // One built afterwards, from the rules the first sheets share.
      fresh.BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, kBlack, kBlue, kPurple, kRed, true, 1, 5,
                                   10);
      sheet = &fresh;
    }
    const TProperties* p = ruleOf(*sheet, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::get<int>(p->Value(Prop::MarginTop)), kParagraphSpace);
    EXPECT_EQ(p->Value(Prop::Color).index(), 0u);
    EXPECT_EQ(std::get<int>(ruleOf(*sheet, "::link")->Value(Prop::Color)), static_cast<int>(kBlue));
    EXPECT_EQ(std::get<int>(ruleOf(*sheet, "::visited")->Value(Prop::Color)), static_cast<int>(kPurple));
    EXPECT_EQ(std::get<int>(ruleOf(*sheet, "::hover")->Value(Prop::Color)), static_cast<int>(kRed));
    ASSERT_NE(sheet->DefProp, nullptr);
    EXPECT_EQ(sheet->DefProp, ruleOf(*sheet, "default"));
    EXPECT_EQ(sheet->DefProp->GetColor(), kBlack);
  }
  // This sheet's default entry is its own changed one.
  EXPECT_EQ(styles.DefProp, ruleOf(styles, "default"));
  EXPECT_EQ(styles.DefProp->GetColor(), kRed);
}

TEST_F(Cascade, DuplicateKeysGoBeforeTheExistingOnes) {
  TProperties first;
  first.SetPropertyByName("color", "red");
  TProperties second;
  second.SetPropertyByName("color", "blue");
  styles.AddDuplicate("q", first);
  TProperties* added = styles.AddDuplicate("q", second);
  int index = 0;
  ASSERT_TRUE(styles.Find("q", index));
  EXPECT_EQ(styles.Objects(index), added);
  EXPECT_EQ(added->PropTag, "q");
  EXPECT_EQ(Push("q").GetColor(), kRed);  // merged in list order: the older one last
  Pop();

  // A key that differs only in case is the same key.
  TProperties third;
  third.SetPropertyByName("color", "green");
  third.SetPropertyByName("text-align", "right");
  styles.AddDuplicate("Q", third);
  TProperties& again = Push("q");
  EXPECT_EQ(again.GetColor(), kRed);
  EXPECT_EQ(Text(again, Prop::TextAlign), "right");
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST(StyleListLimits, HugeSheetsStopAddingEntries) {
  TStyleList styles;
  styles.SetEntryLimit(100);
  std::string sheet;
  for (int rule = 0; rule < 110; ++rule) sheet += "div p" + std::to_string(rule) + ",x{color:red}";
  TStringCssSource source(sheet);
  char current = ' ';
  ParseStyleSheet(styles, current, source, "", true);
  EXPECT_EQ(styles.Count(), 100);
  int index = 0;
  EXPECT_TRUE(styles.Find("x", index));
}

}  // namespace
}  // namespace engine
