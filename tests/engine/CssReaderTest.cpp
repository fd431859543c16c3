#include <gtest/gtest.h>

#include "engine/css/CssColors.h"
#include "engine/css/CssReader.h"
#include "engine/css/TProperties.h"
#include "engine/css/TStyleList.h"

namespace engine {
namespace {

class CssReader : public ::testing::Test {
 protected:
  void SetUp() override { ResetColorCache(); }

  // Reads a sheet as a STYLE element does: from the ">" of the tag; returns where it stopped.
  std::string ReadStyleElement(const std::string& content) {
    TStringCssSource source(content);
    char current = '>';
    ParseStyleSheet(styles, current, source, "", false);
    std::string rest(1, current);
    for (char c = source.Next(); c != '\0'; c = source.Next()) rest += c;
    return rest;
  }
  void ReadLinkedSheet(const std::string& content, const std::string& base) {
    TStringCssSource source(content);
    char current = ' ';
    ParseStyleSheet(styles, current, source, base, true);
  }
  const TProperties* Entry(const std::string& key) {
    int index = 0;
    return styles.Find(key, index) ? styles.Objects(index) : nullptr;
  }
  std::string TextOf(const std::string& key, Prop p) {
    const TProperties* entry = Entry(key);
    if (!entry) return "<no entry>";
    const std::string* text = engine::TextOf(entry->Value(p));
    return text ? *text : "<no text>";
  }
  TColor ColourOf(const std::string& key) {
    const TProperties* entry = Entry(key);
    return entry ? entry->GetColor() : 0xBAD;
  }

  TStyleList styles;
};

TEST_F(CssReader, RulesAndTheClosingTag) {
  EXPECT_EQ(ReadStyleElement("\n<!-- p { color: red } h1,H2{margin:1px 2px} -->\n</style><p>text"), "</style><p>text");
  EXPECT_EQ(ColourOf("p"), 0x0000FFu);
  for (const char* key : {"h1", "h2"}) {
    EXPECT_EQ(TextOf(key, Prop::MarginTop), "1px");
    EXPECT_EQ(TextOf(key, Prop::MarginRight), "2px");
    EXPECT_EQ(TextOf(key, Prop::MarginBottom), "1px");
    EXPECT_EQ(TextOf(key, Prop::MarginLeft), "2px");
  }
}

TEST_F(CssReader, EmptyStyleElementsLeaveTheDocumentAlone) {
  EXPECT_EQ(ReadStyleElement("</style><p>text</p>"), "</style><p>text</p>");
  EXPECT_EQ(ReadStyleElement("/* only a comment */</style>x"), "</style>x");
  EXPECT_EQ(ReadStyleElement("<!-- --></style>y"), "</style>y");
  EXPECT_EQ(ReadStyleElement("p { color: /* unclosed </style>z"), "</style>z");
  EXPECT_EQ(ReadStyleElement("p { color: red </style>w"), "</style>w");
  EXPECT_EQ(ReadStyleElement("@media screen { p { </style>v"), "</style>v");
  EXPECT_EQ(ReadStyleElement("p, </style>u"), "</style>u");
  EXPECT_EQ(styles.Count(), 1);  // only "p" from the unclosed rule with a colour
}

TEST_F(CssReader, LinkedSheetsGoOnPastLessThan) {
  ReadLinkedSheet("p { color: red } <junk> h3 { color: lime }", "");
  EXPECT_EQ(ColourOf("h3"), 0x00FF00u);
}

TEST_F(CssReader, CommentsAndAtRules) {
  ReadStyleElement("/* a comment } */ p { color: red } @import url(x.css); "
                   "@media print { h1 { color: red } } @media screen, print { h2 { color: blue } } "
                   "@font-face { font-family: x; src: url(a) } h3 { color: lime }</style>");
  EXPECT_EQ(ColourOf("p"), 0x0000FFu);
  EXPECT_EQ(Entry("h1"), nullptr);
  EXPECT_EQ(ColourOf("h2"), 0xFF0000u);
  EXPECT_EQ(ColourOf("h3"), 0x00FF00u);
  EXPECT_EQ(Entry("src"), nullptr);
}

TEST_F(CssReader, ImportantIsDropped) {
  ReadStyleElement("p { margin-top: 5px !important; color: red ! important }</style>");
  EXPECT_EQ(TextOf("p", Prop::MarginTop), "5px");
  EXPECT_EQ(ColourOf("p"), 0x0000FFu);
}

TEST_F(CssReader, SelectorKeys) {
  ReadStyleElement("A:Hover.X#Y { color: red } *.x { color: red } div p { color: red } "
                   "div > p { color: red } ul li a { color: red } .b.a { color: red }</style>");
  EXPECT_NE(Entry("a.x#y:hover"), nullptr);
  EXPECT_NE(Entry(".x"), nullptr);
  EXPECT_NE(Entry("p 110div "), nullptr);
  EXPECT_NE(Entry("p 111div> "), nullptr);
  EXPECT_NE(Entry("a 212li ul "), nullptr);
  EXPECT_NE(Entry(".a.b"), nullptr);
  EXPECT_EQ(styles.SequenceCounter(), 13);
}

TEST_F(CssReader, SelectorsKeysCannotExpressAreSkipped) {
  ReadStyleElement("input[type=text] { color: red } h1 + p, h2 ~ p { color: red } "
                   "li:nth-child(2) { color: red } em, a[href] { color: lime }</style>");
  EXPECT_EQ(Entry("input"), nullptr);
  EXPECT_EQ(Entry("h1"), nullptr);
  EXPECT_EQ(Entry("h2"), nullptr);
  EXPECT_EQ(Entry("p"), nullptr);
  EXPECT_EQ(Entry("li:nth-child"), nullptr);
  EXPECT_EQ(Entry("a"), nullptr);
  EXPECT_EQ(ColourOf("em"), 0x00FF00u);
}

TEST_F(CssReader, SortSelectorParts) {
  EXPECT_EQ(SortSelectorParts(".b.a"), ".a.b");
  EXPECT_EQ(SortSelectorParts("a:hover.x#y"), "a.x#y:hover");
  EXPECT_EQ(SortSelectorParts("td.z.m.a"), "td.a.m.z");
  EXPECT_EQ(SortSelectorParts("p"), "p");
  EXPECT_EQ(SortSelectorParts(""), "");
}

TEST_F(CssReader, BorderShorthand) {
  ReadStyleElement("p { border: 2px dashed #f00 } h1 { border-left: thick rgb(0, 0, 255) }</style>");
  for (Prop side : {Prop::BorderTopWidth, Prop::BorderRightWidth, Prop::BorderBottomWidth, Prop::BorderLeftWidth})
    EXPECT_EQ(TextOf("p", side), "2px");
  for (Prop side : {Prop::BorderStyle, Prop::BorderTopStyle, Prop::BorderLeftStyle})
    EXPECT_EQ(TextOf("p", side), "dashed");
  const TProperties* p = Entry("p");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(static_cast<TColor>(std::get<int>(p->Value(Prop::BorderBottomColor))), 0x0000FFu);
  EXPECT_EQ(TextOf("h1", Prop::BorderLeftWidth), "thick");
  EXPECT_EQ(static_cast<TColor>(std::get<int>(Entry("h1")->Value(Prop::BorderLeftColor))), 0xFF0000u);
}

TEST_F(CssReader, FontShorthand) {
  ReadStyleElement("p { font: italic bold 12px/14px arial } "
                   "h1 { font: small-caps 600 10pt Times New Roman, serif } "
                   "h2 { font: 9pt 'Courier New' }</style>");
  EXPECT_EQ(TextOf("p", Prop::FontStyle), "italic");
  EXPECT_EQ(TextOf("p", Prop::FontWeight), "bold");
  EXPECT_EQ(TextOf("p", Prop::FontSize), "12px");
  EXPECT_EQ(TextOf("p", Prop::LineHeight), "14px");
  EXPECT_EQ(TextOf("p", Prop::FontFamily), "arial");
  EXPECT_EQ(TextOf("h1", Prop::FontVariant), "small-caps");
  EXPECT_EQ(TextOf("h1", Prop::FontSize), "10pt");
  EXPECT_EQ(TextOf("h1", Prop::FontFamily), "times new roman,serif");
  EXPECT_EQ(TextOf("h2", Prop::FontFamily), "'courier new'");
}

TEST_F(CssReader, FontShorthandSizesOfAHundredOrMoreWithAUnit) {
  // A word is a weight only when it is a whole number: "120%" and "100px" are sizes.
  ReadStyleElement("p { font: 100%/1.4 Arial } h1 { font: bold 150%/1.2 georgia, serif } "
                   "h2 { font: 100px x } h3 { font: 700 12px a } h4 { font: 120 b }</style>");
  EXPECT_EQ(TextOf("p", Prop::FontSize), "100%");
  EXPECT_EQ(TextOf("p", Prop::LineHeight), "1.4");
  EXPECT_EQ(TextOf("p", Prop::FontFamily), "arial");
  EXPECT_EQ(TextOf("h1", Prop::FontSize), "150%");
  EXPECT_EQ(TextOf("h1", Prop::FontWeight), "bold");
  EXPECT_EQ(TextOf("h2", Prop::FontSize), "100px");
  EXPECT_EQ(TextOf("h3", Prop::FontSize), "12px");
  EXPECT_EQ(TextOf("h3", Prop::FontWeight), "<no text>");  // numeric weights are dropped
  EXPECT_EQ(TextOf("h4", Prop::FontSize), "<no text>");
  TProperties attribute;
  ParseInlineStyle("FONT: 120% sans-serif", attribute);
  const std::string* size = engine::TextOf(attribute.Value(Prop::FontSize));
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(*size, "120%");
}

TEST_F(CssReader, BackgroundAndListStyleShorthands) {
  ReadLinkedSheet("body { background: #FFF URL(Img/Back.GIF) no-repeat fixed right top } "
                  "ul { list-style: square inside } ol { list-style: url(n.png) decimal } "
                  "div { background: none }",
                  "/home/u/site/");
  EXPECT_EQ(ColourOf("body"), 0x1FFFFFFFu);
  const TProperties* body = Entry("body");
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->GetBackgroundColor(), 0xFFFFFFu);
  EXPECT_EQ(TextOf("body", Prop::BackgroundImage), "url(/home/u/site/Img/Back.GIF)");
  EXPECT_EQ(TextOf("body", Prop::BackgroundRepeat), "no-repeat");
  EXPECT_EQ(TextOf("body", Prop::BackgroundAttachment), "fixed");
  EXPECT_EQ(TextOf("body", Prop::BackgroundPosition), "right top");
  EXPECT_EQ(TextOf("ul", Prop::ListStyleType), "square");
  EXPECT_EQ(TextOf("ol", Prop::ListStyleType), "decimal");
  EXPECT_EQ(TextOf("ol", Prop::ListStyleImage), "url(/home/u/site/n.png)");
  EXPECT_EQ(TextOf("div", Prop::BackgroundImage), "none");
  EXPECT_EQ(Entry("div")->GetBackgroundColor(), kNoColor);
}

TEST_F(CssReader, UrlsResolveAgainstTheBase) {
  EXPECT_EQ(ResolveUrlValue("url('../Pic.png')", "http://h/css/"), "url(http://h/Pic.png)");
  EXPECT_EQ(ResolveUrlValue("url(http://k/x.png)", "http://h/css/"), "url(http://k/x.png)");
  EXPECT_EQ(ResolveUrlValue("url(a%20b.png)", "/home/u/"), "url(/home/u/a b.png)");
  EXPECT_EQ(ResolveUrlValue("url(file:///srv/x.png)", "/home/u/"), "url(/srv/x.png)");
  ReadLinkedSheet("p { background-image: url(Sub/Pic.PNG) }", "http://h/css/");
  EXPECT_EQ(TextOf("p", Prop::BackgroundImage), "url(http://h/css/Sub/Pic.PNG)");
}

TEST_F(CssReader, InlineStyle) {
  TProperties target;
  ParseInlineStyle("COLOR: Red; margin: 1px 2px 3px; Background-Image: url(Pics/A.png);; font-weight:bold",
                   target);
  EXPECT_EQ(target.GetColor(), 0x0000FFu);
  EXPECT_EQ(std::get<TPropText>(target.Value(Prop::MarginTop)).Text(), "1px");
  EXPECT_EQ(std::get<TPropText>(target.Value(Prop::MarginLeft)).Text(), "2px");
  EXPECT_EQ(std::get<TPropText>(target.Value(Prop::MarginBottom)).Text(), "3px");
  EXPECT_EQ(std::get<TPropText>(target.Value(Prop::BackgroundImage)).Text(), "url(Pics/A.png)");
  EXPECT_EQ(std::get<TPropText>(target.Value(Prop::FontWeight)).Text(), "bold");

  TProperties odd;
  ParseInlineStyle(std::string("color\0: red", 11), odd);  // ends at the zero byte
  EXPECT_TRUE(std::holds_alternative<std::monostate>(odd.Value(Prop::Color)));
  ParseInlineStyle(": ; ;; width:", odd);
  ParseInlineStyle("", odd);
  EXPECT_EQ(std::get<TPropText>(odd.Value(Prop::Width)).Text(), "");
}

}  // namespace
}  // namespace engine
