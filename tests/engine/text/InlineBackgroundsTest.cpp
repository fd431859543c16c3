// Backgrounds of inline elements painted on a real surface with the real
// fonts: an element's own background reaches the fonts of its runs, which draw
// on it; a bordered element's box paints it instead; a selected run draws as
// selection; printing without backgrounds leaves them out.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/css/CssColors.h"
#include "engine/css/TMyFont.h"
#include "engine/document/TSectionList.h"
#include "engine/text/TInlineList.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 200;
// Colours as the canvas holds them (blue in the high byte).
constexpr std::uint32_t kYellow = 0x00FFFF;
constexpr std::uint32_t kGreen = 0xCCFFCC;
constexpr std::uint32_t kPink = 0xCCCCFF;
constexpr std::uint32_t kBlack = 0x000000;

class InlineBackgrounds : public ::testing::Test {
 protected:
  void SetUp() override { InstallInlineBoxHooks(); }
  void TearDown() override { RemoveInlineBoxHooks(); }

  void Load(const std::string& html) {
    document_ = testing::Parse(html);
    bitmap_.SetSize(kWidth, kHeight);
    int maxWidth = 0;
    int curs = 0;
    root().LayoutContent(&bitmap_.Canvas(), 0, kWidth, kHeight, 0, maxWidth, curs);
    Paint(root());
  }
  void Paint(TSectionList& document) {
    bitmap_.Canvas().Brush().SetColor(gui::clWhite);
    bitmap_.Canvas().FillRect(win::RECT{0, 0, kWidth, kHeight});
    document.PaintContent(&bitmap_.Canvas(), win::RECT{0, 0, kWidth, kHeight}, 6000, 0, 0, 0, 0);
  }
  TSectionList& root() { return *document_.root; }
  const TSection& Text() { return *testing::TextSections(root()).front(); }

  // The background colour of the font run at the first occurrence of word.
  TColor RunBackground(const std::u16string& word) {
    const std::size_t at = Text().Text.find(word);
    if (at == std::u16string::npos) return 0x12345678;
    int index = 0;
    const TFontObj* run = const_cast<TSection&>(Text()).Fonts.RunAt(static_cast<int>(at), index);
    return run && run->Font ? run->Font->bgColor : 0x12345678;
  }
  // Pixels of colour in the band of word's line, between the word's first and
  // last character.
  int CountIn(const std::u16string& word, std::uint32_t colour) {
    const TSection& text = Text();
    const std::size_t at = text.Text.find(word);
    if (at == std::u16string::npos) return -1;
    int left = 0;
    int right = 0;
    int top = 0;
    const int start = text.FirstCharPos + static_cast<int>(at);
    if (!root().CursorToXY(&bitmap_.Canvas(), start, left, top) ||
        !root().CursorToXY(&bitmap_.Canvas(), start + static_cast<int>(word.size()) - 1, right, top))
      return -1;
    for (const auto& line : text.Lines) {
      if (line.Start + line.Ln <= static_cast<int>(at)) continue;
      int count = 0;
      for (int y = line.DrawY; y < line.DrawY + line.LineHt; ++y)
        for (int x = left; x < right; ++x) count += (bitmap_.Canvas().Pixels(x, y) & 0xFFFFFF) == colour;
      return count;
    }
    return -1;
  }

  testing::ParsedDocument document_;
  gui::TBitmap bitmap_;
};

TEST_F(InlineBackgrounds, AnElementsOwnBackgroundReachesItsRunsAndIsPainted) {
  Load(
      "<style>.add { background-color: #CCFFCC }</style>"
      "<p>one <span style=\"background: yellow\">two</span> <font class=\"add\">three</font> "
      "<b style=\"background-color: #FFCCCC\">four <i>five</i></b> <code class=\"add\">six</code> seven</p>");
  EXPECT_EQ(RunBackground(u"one"), kNoColor);
  EXPECT_EQ(RunBackground(u"two"), 0x00FFFFu);
  EXPECT_EQ(RunBackground(u"three"), 0xCCFFCCu);
  EXPECT_EQ(RunBackground(u"four"), 0xCCCCFFu);
  EXPECT_EQ(RunBackground(u"five"), 0xCCCCFFu);  // inherited from the element around it
  EXPECT_EQ(RunBackground(u"six"), 0xCCFFCCu);
  EXPECT_EQ(RunBackground(u"seven"), kNoColor);  // ended with its element
  EXPECT_EQ(InlineListOf(&root()), nullptr);     // no box: the runs paint it

  // Behind the text, the colour fills most of the word's band; none outside it.
  EXPECT_GT(CountIn(u"two", kYellow), CountIn(u"two", kBlack));
  EXPECT_GT(CountIn(u"three", kGreen), CountIn(u"three", kBlack));
  EXPECT_GT(CountIn(u"five", kPink), CountIn(u"five", kBlack));
  EXPECT_EQ(CountIn(u"one", kYellow), 0);
  EXPECT_EQ(CountIn(u"seven", kGreen) + CountIn(u"seven", kPink), 0);
}

// A bordered element's box paints its background; its runs do not as well,
// nor do the runs of elements inside it. In preformatted text, where there is
// no box, the runs paint it.
TEST_F(InlineBackgrounds, ABorderedElementsBoxPaintsItsBackgroundOnce) {
  Load("<p>one <span style=\"border: 1px solid red; background: yellow\">two <b>three</b></span> four</p>");
  EXPECT_EQ(RunBackground(u"two"), kNoColor);
  EXPECT_EQ(RunBackground(u"three"), kNoColor);
  ASSERT_NE(InlineListOf(&root()), nullptr);
  EXPECT_GT(CountIn(u"two", kYellow), CountIn(u"two", kBlack));

  Load(
      "<pre>one <span style=\"border: 1px solid red; background: yellow\">two</span> "
      "<span class=\"x\" style=\"background-color: #CCFFCC\">three</span></pre>");
  EXPECT_EQ(RunBackground(u"two"), 0x00FFFFu);
  EXPECT_EQ(RunBackground(u"three"), 0xCCFFCCu);
  EXPECT_GT(CountIn(u"two", kYellow), CountIn(u"two", kBlack));
}

// A link takes its own background, or else keeps the one around it, in
// each of its looks.
TEST_F(InlineBackgrounds, ALinkKeepsTheBackgroundAroundIt) {
  Load(
      "<p><b style=\"background-color: #FFCCCC\">bold <a href=\"x.html\">inside</a></b> "
      "<a href=\"y.html\" style=\"background: yellow\">own</a> <a href=\"z.html\">none</a></p>");
  EXPECT_EQ(RunBackground(u"inside"), 0xCCCCFFu);
  EXPECT_EQ(RunBackground(u"own"), 0x00FFFFu);
  EXPECT_EQ(RunBackground(u"none"), kNoColor);
  EXPECT_GT(CountIn(u"inside", kPink), CountIn(u"inside", kBlack));
}

// Elements closed out of order keep their own background and lose the one they inherited.
TEST_F(InlineBackgrounds, MisnestedElementsKeepTheirOwnBackground) {
  Load("<p>a <span style=\"background: yellow\">b <i style=\"background-color: #CCFFCC\">c</span> d</i> e</p>");
  EXPECT_EQ(RunBackground(u"b"), 0x00FFFFu);
  EXPECT_EQ(RunBackground(u"c"), 0xCCFFCCu);
  EXPECT_EQ(RunBackground(u"d"), 0xCCFFCCu);
  EXPECT_EQ(RunBackground(u"e"), kNoColor);
}

// Selected text draws on the text colour, in the run's background colour.
TEST_F(InlineBackgrounds, ASelectedHighlightedRunDrawsAsSelection) {
  Load("<p>one <span style=\"background: yellow\">highlighted</span> two</p>");
  const int unselectedYellow = CountIn(u"highlighted", kYellow);
  const int at = Text().FirstCharPos + static_cast<int>(Text().Text.find(u"highlighted"));
  root().SelB = at;
  root().SelE = at + 11;
  Paint(root());
  EXPECT_GT(CountIn(u"highlighted", kBlack), CountIn(u"highlighted", kYellow));
  EXPECT_GT(CountIn(u"highlighted", kYellow), 0);  // the letters
  EXPECT_LT(CountIn(u"highlighted", kYellow), unselectedYellow);
}

// Printed without backgrounds, runs and boxes leave theirs out, as blocks do;
// with backgrounds they print.
TEST_F(InlineBackgrounds, PrintingWithoutBackgroundsLeavesThemOut) {
  Load(
      "<p>one <span style=\"background: yellow\">two</span> "
      "<span style=\"border: 1px solid red; background-color: #CCFFCC\">three</span></p>");
  for (const bool withBackgrounds : {false, true}) {
    SCOPED_TRACE(withBackgrounds ? "with backgrounds" : "without backgrounds");
    root().PrintBackground = withBackgrounds;
    auto copy = TSectionList::CreateCopy(root());
    copy->Printing = true;
    int maxWidth = 0;
    int curs = 0;
    copy->LayoutContent(&bitmap_.Canvas(), 0, kWidth, kHeight, 0, maxWidth, curs);
    copy->VisibleBottom = kHeight;
    Paint(*copy);
    int yellow = 0;
    int green = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        yellow += (bitmap_.Canvas().Pixels(x, y) & 0xFFFFFF) == kYellow;
        green += (bitmap_.Canvas().Pixels(x, y) & 0xFFFFFF) == kGreen;
      }
    EXPECT_EQ(yellow > 0, withBackgrounds);
    EXPECT_EQ(green > 0, withBackgrounds);
  }
}

}  // namespace
}  // namespace engine
