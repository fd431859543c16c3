#include <gtest/gtest.h>

#include "GuiControlTestSupport.h"
#include "platform/gui/ClassicLook.h"
#include "platform/gui/ClipboardText.h"
#include "platform/gui/TEdit.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Clipboard.h"

namespace gui {
namespace {

using guitest::GuiControlTest;

class GuiEdit : public GuiControlTest {
 protected:
  void TearDown() override {
    win::resetClipboard();
    GuiControlTest::TearDown();
  }
  TEdit* focusedEdit(const std::u16string& text = u"") {
    auto* edit = make<TEdit>(10, 10, 150, 21);
    edit->SetText(text);
    edit->SetFocus();
    return edit;
  }
};

TEST_F(GuiEdit, TypingBackspaceAndDeleteEditAtTheCaret) {
  TEdit* edit = focusedEdit();
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  type(u"helo");
  key(win::VK_LEFT);
  type(u"l");
  EXPECT_EQ(edit->Text(), u"hello");
  EXPECT_EQ(edit->SelStart(), 4);
  key(win::VK_HOME);
  key(win::VK_DELETE);
  type(u"\b");  // nothing before the caret
  key(win::VK_END);
  type(u"\bp!");
  EXPECT_EQ(edit->Text(), u"ellp!");
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(changes, 9);  // every change but the backspace at the start
  // Control characters type nothing.
  type(u"\x01\x1b");
  EXPECT_EQ(edit->Text(), u"ellp!");
}

TEST_F(GuiEdit, ShiftedKeysSelectAndTypingReplacesTheSelection) {
  TEdit* edit = focusedEdit(u"one two three");
  key(win::VK_END);
  keyDown(win::VK_SHIFT);
  keyDown(win::VK_CONTROL);
  key(win::VK_LEFT);  // word by word
  keyUp(win::VK_CONTROL);
  key(win::VK_LEFT);
  keyUp(win::VK_SHIFT);
  EXPECT_EQ(edit->SelText(), u" three");
  type(u"!");
  EXPECT_EQ(edit->Text(), u"one two!");
  edit->SetSelStart(4);
  edit->SetSelLength(100);
  EXPECT_EQ(edit->SelText(), u"two!");
  edit->SetSelLength(-2);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 2);
}

TEST_F(GuiEdit, KeyPressSeesTheKeyFirstAndCanChangeOrSwallowIt) {
  TEdit* edit = focusedEdit();
  std::string seen;
  edit->OnKeyPress = [&](TObject*, char& key) {
    seen += key;
    if (key == '\r') key = 0;
    if (key == 'x') key = 'y';
  };
  type(u"ax\r\u65E5");
  EXPECT_EQ(edit->Text(), u"ay\u65E5");  // a character outside the ANSI page is typed as it came
  EXPECT_EQ(seen, "ax\r?");
}

TEST_F(GuiEdit, MaxLengthLimitsTheUserButNotTheProgram) {
  TEdit* edit = focusedEdit();
  edit->SetMaxLength(3);
  type(u"abcdef");
  EXPECT_EQ(edit->Text(), u"abc");
  edit->SetText(u"longer text");
  EXPECT_EQ(edit->Text(), u"longer text");
  edit->SelectAll();
  SetClipboardText(0, u"12345");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), u"123");
  // A surrogate pair is never cut in half.
  edit->SetText(u"ab");
  edit->SetSelStart(2);
  type(u"\U0001F600");
  EXPECT_EQ(edit->Text(), u"ab");
}

TEST_F(GuiEdit, ReadOnlyKeepsTheTextButNotTheCaret) {
  TEdit* edit = focusedEdit(u"fixed");
  edit->SetReadOnly(true);
  type(u"x\b");
  key(win::VK_DELETE);
  EXPECT_EQ(edit->Text(), u"fixed");
  chord(win::VK_SHIFT, win::VK_RIGHT);
  EXPECT_EQ(edit->SelText(), u"f");
  chord(win::VK_CONTROL, 'C');
  EXPECT_EQ(GetClipboardText(0), u"f");
  chord(win::VK_CONTROL, 'X');
  EXPECT_EQ(edit->Text(), u"fixed");
}

TEST_F(GuiEdit, ClipboardKeysCopyCutAndPasteOneLine) {
  TEdit* edit = focusedEdit(u"copy me");
  chord(win::VK_CONTROL, 'A');
  chord(win::VK_CONTROL, 'X');
  EXPECT_EQ(edit->Text(), u"");
  SetClipboardText(0, u"first\r\nsecond");
  chord(win::VK_CONTROL, 'V');
  EXPECT_EQ(edit->Text(), u"first");
  // A password's characters stay in the control.
  edit->SetPasswordChar(u'*');
  edit->SelectAll();
  chord(win::VK_CONTROL, 'C');
  EXPECT_EQ(GetClipboardText(0), u"first\r\nsecond");
}

TEST_F(GuiEdit, MouseSetsTheCaretBetweenCharactersAndDragSelects) {
  TEdit* edit = focusedEdit(u"abcdef");
  FontMeasure measure(edit->Font());
  const int textLeft = 2 + 1;  // border, then the margin
  const int afterB = textLeft + measure.Width(u"ab");
  const int afterE = textLeft + measure.Width(u"abcde");
  click(*edit, afterB + 1, 10);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(win::caretState().position.x, afterB);
  mouse(*edit, win::WM_LBUTTONDOWN, afterB - 1, 10);
  mouse(*edit, win::WM_MOUSEMOVE, afterE + 1, 10);
  mouse(*edit, win::WM_LBUTTONUP, afterE + 1, 10);
  EXPECT_EQ(edit->SelText(), u"cde");
  win::SendMessageW(edit->Handle(), win::WM_LBUTTONDBLCLK, win::MK_LBUTTON, win::MAKELPARAM(afterB + 1, 10));
  EXPECT_EQ(edit->SelText(), u"abcdef");
}

TEST_F(GuiEdit, TheCaretStaysInViewInALongLine) {
  TEdit* edit = focusedEdit();
  type(u"a rather long line of text that cannot fit in the box at all");
  const win::POINT caret = win::caretState().position;
  EXPECT_GE(caret.x, 2);
  EXPECT_LT(caret.x, edit->Width() - 2);
  key(win::VK_HOME);
  EXPECT_EQ(win::caretState().position.x, 3);
}

TEST_F(GuiEdit, HeightFollowsTheFontAndTheBorder) {
  TEdit* edit = make<TEdit>(10, 10, 150, 50);
  const int line = FontMeasure(edit->Font()).LineHeight();
  EXPECT_EQ(edit->Height(), line + 8);
  edit->SetBorderStyle(bsNone);
  EXPECT_EQ(edit->Height(), line + 2);
  edit->SetAutoSize(false);
  edit->SetHeight(40);
  edit->Font().SetHeight(-30);
  EXPECT_EQ(edit->Height(), 40);
  EXPECT_EQ(edit->ClientHeight(), 40);  // no border
}

TEST_F(GuiEdit, PaintsSunkenFieldPasswordMaskAndFocusedSelection) {
  TEdit* secret = make<TEdit>(10, 10, 100, 21);
  secret->SetText(u"WWW");
  secret->SetPasswordChar(u'*');
  TEdit* stars = make<TEdit>(10, 50, 100, 21);
  stars->SetText(u"***");
  pump();
  EXPECT_EQ(pixel(10, 20), 0x808080u);  // the sunken edge
  EXPECT_EQ(pixel(11, 20), 0x000000u);
  bool same = true;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 100; ++x) same = same && pixel(10 + x, 10 + y) == pixel(10 + x, 50 + y);
  EXPECT_TRUE(same);
  stars->SetFocus();
  stars->SelectAll();
  pump();
  const int middleY = 50 + stars->CaretPoint().y + 2;
  EXPECT_EQ(pixel(10 + 3, middleY), 0x000080u);  // the highlight behind the selection
  secret->SetFocus();                            // unfocused: no highlight
  pump();
  EXPECT_EQ(pixel(10 + 3, middleY), 0xFFFFFFu);
}

}  // namespace
}  // namespace gui
