#include <gtest/gtest.h>

#include "GuiControlTestSupport.h"
#include "platform/gui/ClassicLook.h"
#include "platform/gui/TMemo.h"
#include "platform/win/user/Caret.h"

namespace gui {
namespace {

using guitest::GuiControlTest;

class GuiMemo : public GuiControlTest {
 protected:
  // A memo whose text area is exactly Width pixels wide (plus the margins).
  TMemo* memoWithTextWidth(int width) {
    auto* memo = make<TMemo>(10, 10, 100, 100);
    memo->SetClientWidth(width + 2);
    return memo;
  }
  using Lines = std::vector<std::u16string>;
};

TEST_F(GuiMemo, WrapsAfterTheLastBlankThatFits) {
  TMemo* memo = make<TMemo>(10, 10, 100, 100);
  FontMeasure measure(memo->Font());
  memo->SetClientWidth(measure.Width(u"aaaa b") + 2);
  memo->SetText(u"aaaa bbbb");
  EXPECT_EQ(memo->Lines(), (Lines{u"aaaa ", u"bbbb"}));
  // Blanks hang past the edge instead of starting the next row.
  memo->SetText(u"aaaa     bbbb");
  EXPECT_EQ(memo->Lines(), (Lines{u"aaaa     ", u"bbbb"}));
  // Hard breaks of every kind; a final break adds no line.
  memo->SetText(u"a\r\nb\nc\rd\r\n");
  EXPECT_EQ(memo->Lines(), (Lines{u"a", u"b", u"c", u"d"}));
  memo->SetText(u"");
  EXPECT_EQ(memo->Lines(), Lines{});
  memo->SetText(u"\r\n\r\n");
  EXPECT_EQ(memo->Lines(), (Lines{u"", u""}));
}

TEST_F(GuiMemo, AWordWiderThanTheRowBreaksWhereItMust) {
  TMemo* memo = make<TMemo>(10, 10, 100, 100);
  FontMeasure measure(memo->Font());
  memo->SetClientWidth(measure.Width(u"mmm") + 2);
  memo->SetText(u"mmmmmmmm");
  EXPECT_EQ(memo->Lines(), (Lines{u"mmm", u"mmm", u"mm"}));
  memo->SetClientWidth(1 + 2);  // narrower than any character: one per row
  memo->SetText(u"ab");
  EXPECT_EQ(memo->Lines(), (Lines{u"a", u"b"}));
  memo->SetText(u"\U0001F600x");  // a surrogate pair stays together
  EXPECT_EQ(memo->Lines()[0].size(), 2u);
}

TEST_F(GuiMemo, WithoutWrapOrWithAHorizontalBarLinesStayWhole) {
  TMemo* memo = memoWithTextWidth(20);
  memo->SetText(u"one two three");
  memo->SetWordWrap(false);
  EXPECT_EQ(memo->Lines(), (Lines{u"one two three"}));
  memo->SetWordWrap(true);
  EXPECT_GT(memo->Lines().size(), 1u);
  memo->SetScrollBars(ssBoth);
  EXPECT_EQ(memo->Lines(), (Lines{u"one two three"}));
}

TEST_F(GuiMemo, EnterTypesALineBreakAndArrowsMoveBetweenRows) {
  TMemo* memo = make<TMemo>(10, 10, 200, 100);
  memo->SetFocus();
  type(u"first\rsecond");
  EXPECT_EQ(memo->Text(), u"first\r\nsecond");
  key(win::VK_UP);
  EXPECT_EQ(memo->CaretRow(), 0);
  EXPECT_EQ(memo->SelStart(), 5);  // the end of the shorter row above
  key(win::VK_DOWN);
  key(win::VK_HOME);
  type(u"\b");  // joins the lines, taking CR and LF together
  EXPECT_EQ(memo->Text(), u"firstsecond");
  key(win::VK_RIGHT);
  EXPECT_EQ(memo->SelStart(), 6);
  memo->SetText(u"a\r\nb");
  memo->SetSelStart(1);
  key(win::VK_RIGHT);  // over the break in one step
  EXPECT_EQ(memo->SelStart(), 3);
  // OnKeyPress can keep Enter from the memo.
  memo->OnKeyPress = [](TObject*, char& key) {
    if (key == '\r') key = 0;
  };
  type(u"\r");
  EXPECT_EQ(memo->Text(), u"a\r\nb");
}

TEST_F(GuiMemo, TheVerticalBarScrollsRowsAndTheCaretStaysInView) {
  TMemo* memo = make<TMemo>(10, 10, 150, 0);
  const int line = FontMeasure(memo->Font()).LineHeight();
  memo->SetScrollBars(ssVertical);
  memo->SetClientHeight(line * 3 + 1);
  std::u16string text;
  for (int i = 0; i < 10; ++i) text += u"row " + std::u16string(1, char16_t(u'0' + i)) + u"\r\n";
  memo->SetText(text);
  memo->SetFocus();
  EXPECT_EQ(memo->ClientWidth(), 150 - 4 - 16);
  // The down arrow of the bar at the right, inside the border.
  const int barX = 150 - 2 - 8;
  const int downArrowY = memo->Height() - 2 - 8;
  click(*memo, barX, downArrowY);
  EXPECT_EQ(memo->CaretPoint().y, 2 + 1 - line);  // the first row went up out of view
  memo->SetSelStart(memo->GetTextLen());
  EXPECT_EQ(memo->CaretRow(), 10);
  EXPECT_EQ(memo->CaretPoint().y, 2 + 1 + 2 * line);  // scrolled to the last row
  // The wheel moves three rows a notch.
  win::SendMessageW(memo->Handle(), win::WM_MOUSEWHEEL, win::MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(memo->CaretPoint().y, 2 + 1 + 5 * line);
}

TEST_F(GuiMemo, ClickingSetsTheCaretOnTheRowUnderThePointer) {
  TMemo* memo = make<TMemo>(10, 10, 200, 100);
  const FontMeasure measure(memo->Font());
  memo->SetText(u"abc\r\ndef\r\nghi");
  memo->SetFocus();
  const int rowTwoY = 2 + 1 + measure.LineHeight() + 2;
  click(*memo, 3 + measure.Width(u"d") + 1, rowTwoY);
  EXPECT_EQ(memo->SelStart(), 6);
  click(*memo, 150, 95);  // below the text: the end of the last row
  EXPECT_EQ(memo->SelStart(), memo->GetTextLen());
}

}  // namespace
}  // namespace gui
