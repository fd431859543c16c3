// Inline boxes: bordered inline elements parsed from markup, laid out and
// painted on a real surface: which lines their boxes meet and which sides stay
// open, where the boxes stand, what they paint, and that the first paint of a
// line draws what every later paint draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/document/TSectionList.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "engine/text/TInlineList.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

constexpr int kWidth = 220;
constexpr int kHeight = 300;

class InlineBoxes : public ::testing::Test {
 protected:
  void SetUp() override { InstallInlineBoxHooks(); }
  void TearDown() override { RemoveInlineBoxHooks(); }

  void Load(const std::string& html, int width = kWidth) {
    document_ = testing::Parse(html);
    bitmap_.SetSize(width + 40, kHeight);
    Layout(width);
  }
  void Layout(int width) {
    int maxWidth = 0;
    int curs = 0;
    root().LayoutContent(&bitmap_.Canvas(), 0, width, kHeight, 0, maxWidth, curs);
  }
  void Paint(gui::TBitmap& target) {
    target.SetSize(bitmap_.Width(), bitmap_.Height());
    target.Canvas().Brush().SetColor(gui::clWhite);
    target.Canvas().FillRect(win::RECT{0, 0, target.Width(), target.Height()});
    root().PaintContent(&target.Canvas(), win::RECT{0, 0, target.Width(), target.Height()}, 6000, 0, 0, 0, 0);
  }
  TSectionList& root() { return *document_.root; }
  TSection& text(int index = 0) {
    return const_cast<TSection&>(*testing::TextSections(root())[static_cast<std::size_t>(index)]);
  }
  // The boxes of every line of the first text section, one string per line:
  // "[start,end) open-start open-end" per box.
  std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& line : text().Lines) {
      std::string boxes;
      if (line.BorderList) {
        for (const BorderRec& box : *line.BorderList)
          boxes += "[" + std::to_string(box.BStart) + "," + std::to_string(box.BEnd) + ")" +
                   (box.OpenStart ? " <" : "") + (box.OpenEnd ? " >" : "") + ";";
      }
      out.push_back(boxes);
    }
    return out;
  }
  std::uint32_t Pixel(gui::TBitmap& target, int x, int y) { return target.Canvas().Pixels(x, y) & 0xFFFFFF; }

  testing::ParsedDocument document_;
  gui::TBitmap bitmap_;
};

const char kThreeLines[] =
    "<p>Before the box <span style=\"border: 2px solid #0000FF; background-color: #FFFF00\">a bordered span that "
    "runs over <b>three</b> lines of this narrow paragraph</span> after.</p>";

TEST_F(InlineBoxes, ABoxAcrossThreeLinesIsOpenWhereItGoesOn) {
  Load(kThreeLines);
  ASSERT_GE(text().Lines.size(), 3u);
  for (const auto& line : text().Lines) EXPECT_TRUE(line.FirstDraw);
  gui::TBitmap painted;
  Paint(painted);
  const std::vector<std::string> boxes = Boxes();
  const int start = static_cast<int>(text().Text.find(u"a bordered"));
  const int end = static_cast<int>(text().Text.find(u" after"));
  const LineRec& first = text().Lines[0];
  const LineRec& last = text().Lines.back();
  EXPECT_EQ(boxes.front(), "[" + std::to_string(start) + "," + std::to_string(first.Start + first.Ln) + ") >;");
  for (std::size_t i = 1; i + 1 < boxes.size(); ++i) {
    const LineRec& line = text().Lines[i];
    EXPECT_EQ(boxes[i], "[" + std::to_string(line.Start) + "," + std::to_string(line.Start + line.Ln) + ") < >;");
  }
  EXPECT_EQ(boxes.back(), "[" + std::to_string(last.Start) + "," + std::to_string(end) + ") <;");
  for (const auto& line : text().Lines) EXPECT_FALSE(line.FirstDraw);
}

TEST_F(InlineBoxes, BoxesStandAroundTheirTextAndPaintBordersOnlyOnClosedSides) {
  Load(kThreeLines);
  gui::TBitmap painted;
  Paint(painted);
  const LineRec& first = text().Lines[0];
  const BorderRec& opening = first.BorderList->front();
  // The left edge is where the span's text starts; the box spans the font's height on the baseline.
  const int baseline = first.Y + first.SpaceBefore + first.LineHt - first.Descent;
  EXPECT_GT(opening.BRect.left, first.DrawX);
  EXPECT_LT(opening.BRect.top, baseline);
  EXPECT_GT(opening.BRect.bottom, baseline);
  const int midY = (opening.BRect.top + opening.BRect.bottom) / 2;
  EXPECT_EQ(Pixel(painted, opening.BRect.left - 1, midY), 0xFF0000u);  // left border (BGR blue)
  EXPECT_EQ(Pixel(painted, opening.BRect.left + 1, opening.BRect.top), 0x00FFFFu);  // yellow background
  EXPECT_EQ(Pixel(painted, opening.BRect.left + 1, opening.BRect.top - 1), 0xFF0000u);  // top border
  // The middle line has neither a left nor a right border.
  const LineRec& middle = text().Lines[1];
  const BorderRec& through = middle.BorderList->front();
  const int throughY = (through.BRect.top + through.BRect.bottom) / 2;
  EXPECT_EQ(through.BRect.left, middle.DrawX);
  EXPECT_NE(Pixel(painted, through.BRect.left - 1, throughY), 0xFF0000u);
  EXPECT_NE(Pixel(painted, through.BRect.right, throughY), 0xFF0000u);
  EXPECT_EQ(Pixel(painted, through.BRect.left + 1, through.BRect.top - 1), 0xFF0000u);
  // The last line closes the box on the right.
  const LineRec& last = text().Lines.back();
  const BorderRec& closing = last.BorderList->front();
  EXPECT_EQ(Pixel(painted, closing.BRect.right, (closing.BRect.top + closing.BRect.bottom) / 2), 0xFF0000u);
}

TEST_F(InlineBoxes, TheFirstPaintDrawsWhatEveryLaterPaintDraws) {
  Load("<p style=\"text-align: justify\">Justified words <span style=\"border: 1px dotted #CC0000\">with a "
       "dotted box around <b>bold and</b> plain words</span> and more words after it to fill lines.</p>");
  gui::TBitmap first;
  gui::TBitmap second;
  Paint(first);
  Paint(second);
  int differing = 0;
  int boxInk = 0;
  for (int y = 0; y < first.Height(); ++y)
    for (int x = 0; x < first.Width(); ++x) {
      differing += Pixel(first, x, y) != Pixel(second, x, y);
      boxInk += Pixel(first, x, y) == 0x0000CCu;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(boxInk, 0);
  // Scrolled and shifted: boxes move with the text.
  const BorderRec box = text().Lines[0].BorderList->front();
  root().SetYOffset(3);
  gui::TBitmap moved;
  moved.SetSize(first.Width(), first.Height());
  moved.Canvas().Brush().SetColor(gui::clWhite);
  moved.Canvas().FillRect(win::RECT{0, 0, moved.Width(), moved.Height()});
  root().PaintContent(&moved.Canvas(), win::RECT{0, 0, moved.Width(), moved.Height()}, 6000, 5, 0, 0, 0);
  for (int y = box.BRect.top - 1; y <= box.BRect.bottom; ++y)
    EXPECT_EQ(Pixel(first, box.BRect.left - 1, y), Pixel(moved, box.BRect.left + 4, y - 3)) << y;
}

TEST_F(InlineBoxes, EmptyUnclosedAndMisnestedElementsStillGetTheirBoxes) {
  // An empty element: one character wide.
  Load("<p>ab<span style=\"border: 1px solid red\"></span>cd</p>");
  TInlineList* list = InlineListOf(&root());
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->EndOf(0) - list->StartOf(0), 1);
  EXPECT_EQ(list->StartOf(-1), kNoInlinePosition);
  EXPECT_EQ(list->EndOf(1), kNoInlinePosition);
  // Never closed: to the end of the document.
  Load("<p>ab <span style=\"border: 1px solid red\">cd</p><p>ef gh</p>");
  list = InlineListOf(&root());
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->StartOf(0), 3);
  EXPECT_EQ(list->EndOf(0), root().CharCount);
  // Closed after an element opened inside it ends: the end still finds it.
  Load("<p>ab <b>cd <span style=\"border: 1px solid red\">ef</b> gh</span> ij</p>");
  list = InlineListOf(&root());
  ASSERT_EQ(list->Count(), 1);
  const std::u16string_view chars = text().Text;
  EXPECT_EQ(list->StartOf(0), static_cast<int>(chars.find(u"ef")));
  EXPECT_EQ(list->EndOf(0), static_cast<int>(chars.find(u" ij")));
}

TEST_F(InlineBoxes, DocumentsWithoutBordersDrawLinesInOnePass) {
  Load("<p>plain <span style=\"background-color: #FFFF00\">marked</span> <b>bold</b> text</p>");
  EXPECT_EQ(InlineListOf(&root()), nullptr);
  for (const auto& line : text().Lines) EXPECT_FALSE(line.FirstDraw);
}

TEST_F(InlineBoxes, BoxesFollowANewLayoutAndCopiesDrawThemToo) {
  Load(kThreeLines);
  gui::TBitmap painted;
  Paint(painted);
  const int linesAtFirst = static_cast<int>(text().Lines.size());
  Layout(600);
  ASSERT_LT(static_cast<int>(text().Lines.size()), linesAtFirst);
  Paint(painted);
  EXPECT_EQ(Boxes().front().find('<'), std::string::npos);  // now one line holds the whole box
  EXPECT_NE(Boxes().front().find(')'), std::string::npos);
  {
    auto copy = TSectionList::CreateCopy(root());
    int maxWidth = 0;
    int curs = 0;
    copy->LayoutContent(&bitmap_.Canvas(), 0, kWidth, kHeight, 0, maxWidth, curs);
    gui::TBitmap printed;
    printed.SetSize(bitmap_.Width(), bitmap_.Height());
    copy->PaintContent(&printed.Canvas(), win::RECT{0, 0, printed.Width(), printed.Height()}, 6000, 0, 0, 0, 0);
    const auto copied = testing::TextSections(*copy);
    ASSERT_FALSE(copied.empty());
    EXPECT_TRUE(copied.front()->Lines.front().BorderList);
  }
  // The document laid out again, then a copy laid out and freed before the
  // document paints: the document still finds its boxes.
  Layout(kWidth);
  {
    auto copy = TSectionList::CreateCopy(root());
    int maxWidth = 0;
    int curs = 0;
    copy->LayoutContent(&bitmap_.Canvas(), 0, kWidth, kHeight, 0, maxWidth, curs);
  }
  Paint(painted);
  EXPECT_NE(Boxes().front().find('>'), std::string::npos);
  EXPECT_NE(Boxes().back().find('<'), std::string::npos);
}

TEST_F(InlineBoxes, ImagesInsideABoxStretchItToTheirHeight) {
  Load("<p>a <span style=\"border: 1px solid red\">b <img src=\"x.gif\" width=\"10\" height=\"40\"> c</span> "
       "<span style=\"border: 1px solid red\">d <img src=\"y.gif\" width=\"10\" height=\"40\" align=\"top\"></span> "
       "e</p>", 400);
  gui::TBitmap painted;
  Paint(painted);
  const LineRec& line = text().Lines.front();
  ASSERT_TRUE(line.BorderList);
  ASSERT_EQ(line.BorderList->size(), 2u);
  const int baseline = line.Y + line.SpaceBefore + line.LineHt - line.Descent;
  const BorderRec& bottom = (*line.BorderList)[0];
  EXPECT_EQ(bottom.BRect.top, baseline - 40);  // a bottom-aligned image stands on the baseline
  EXPECT_GE(bottom.BRect.bottom, baseline);
  const BorderRec& top = (*line.BorderList)[1];
  EXPECT_LE(top.BRect.top, line.Y + line.SpaceBefore);
  EXPECT_EQ(top.BRect.bottom, line.Y + line.SpaceBefore + 40);  // a top-aligned one hangs from the line top
}

TEST_F(InlineBoxes, ABorderedControlOrImageIsBoxedRoundItselfNotItsMargins) {
  InstallFormHooks();
  Load("<p>Name <input type=\"text\" style=\"border: 3px solid #C00000; margin-left: 6px\"> and "
       "<img src=\"x.gif\" width=\"30\" height=\"20\" hspace=\"8\" style=\"border: 2px solid green\"></p>",
       400);
  gui::TBitmap painted;
  Paint(painted);
  RemoveFormHooks();
  const LineRec& line = text().Lines.front();
  ASSERT_TRUE(line.BorderList);
  ASSERT_EQ(line.BorderList->size(), 2u);
  ASSERT_EQ(text().FormControls().size(), 1u);
  const TInlineObject& control = *text().FormControls().front();
  const BorderRec& controlBox = (*line.BorderList)[0];
  EXPECT_EQ(controlBox.BRect.right - controlBox.BRect.left, control.Place.ImageWidth);
  EXPECT_EQ(controlBox.BRect.bottom - controlBox.BRect.top, control.Place.ImageHeight);
  EXPECT_EQ(Pixel(painted, controlBox.BRect.left - 1, (controlBox.BRect.top + controlBox.BRect.bottom) / 2),
            0x0000C0u);
  const BorderRec& imageBox = (*line.BorderList)[1];
  EXPECT_EQ(imageBox.BRect.left, text().ImageObjs().front()->LeftX);
  EXPECT_EQ(imageBox.BRect.right - imageBox.BRect.left, text().ImageObjs().front()->Place.ImageWidth);
}

}  // namespace
}  // namespace engine
