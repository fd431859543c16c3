// Caret, selection, selected text, the clipboard and the word at the caret.
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "EmbedTestSupport.h"
#include "platform/win/kernel/Memory.h"
#include "platform/win/user/Clipboard.h"

namespace embed_test {
namespace {

struct Released {
  void operator()(char* text) const { _ReleaseMemory(text); }
};
using Text = std::unique_ptr<char, Released>;

std::string TakeText(char* text) { return text ? std::string(Text(text).get()) : std::string("(null)"); }

class Selection : public EmbedTest {
 protected:
  void SetUp() override {
    EmbedTest::SetUp();
    envelope_ = Embed(400, 300);
    Show("links.html");
  }
  std::string WordAt(int position) {
    EXPECT_EQ(_SetPosition(envelope_, position), 1);
    return TakeText(_GetCurrentWord(envelope_));
  }
  PW_HWND envelope_ = 0;
};

TEST_F(Selection, RangesSelectAndCopy) {
  EXPECT_EQ(_SelectRangeText(envelope_, 2, 4), 0);
  EXPECT_EQ(TakeText(_GetSelectedText(envelope_)), "ab");
  EXPECT_EQ(_CanCopy(envelope_), 1);
  EXPECT_EQ(_SelectRangeText(envelope_, 5, 5), 0);
  EXPECT_EQ(_CanCopy(envelope_), 0);
  int position = -1;
  EXPECT_EQ(_GetPosition(envelope_, &position), 1);
  EXPECT_EQ(position, 5);
  EXPECT_EQ(_SelectRangeText(envelope_, 5, -1), 0);
  EXPECT_EQ(_CanCopy(envelope_), 1);
  EXPECT_NE(TakeText(_GetSelectedText(envelope_)).find("end"), std::string::npos);
  // Backwards from the caret.
  EXPECT_EQ(_SelectRangeText(envelope_, 4, 2), 0);
  EXPECT_EQ(TakeText(_GetSelectedText(envelope_)), "ab");

  EXPECT_EQ(_SelectRangeText(envelope_, 0, 9), 0);
  _CopySelectedText(envelope_);
  ASSERT_TRUE(win::OpenClipboard(0));
  const win::HANDLE block = win::GetClipboardData(win::CF_TEXT);
  ASSERT_NE(block, 0u);
  EXPECT_STREQ(static_cast<const char*>(win::GlobalLock(block)), "x ab2cd y");
  win::GlobalUnlock(block);
  win::CloseClipboard();
}

TEST_F(Selection, ABusyClipboardIsReportedAndLeftAlone) {
  EXPECT_EQ(_SelectRangeText(envelope_, 0, 9), 0);
  ASSERT_TRUE(win::OpenClipboard(0));  // another holder has it open
  _CopySelectedText(envelope_);
  EXPECT_EQ(LastBox(), "Error in copyFormatToClipBoard|Error");
  EXPECT_EQ(win::CountClipboardFormats(), 0);
  win::CloseClipboard();
}

TEST_F(Selection, ExtremeValuesSaturate) {
  EXPECT_EQ(_SelectRangeText(envelope_, INT_MAX, INT_MIN), 0);
  EXPECT_EQ(_SelectRangeText(envelope_, INT_MIN, INT_MAX), 0);
  EXPECT_EQ(_CanCopy(envelope_), 1);
  EXPECT_NE(TakeText(_GetSelectedText(envelope_)).find("x ab2cd y"), std::string::npos);
  EXPECT_EQ(_SelectRangeText(envelope_, 3, INT_MIN), 0);
  EXPECT_EQ(TakeText(_GetSelectedText(envelope_)), "x a");
  EXPECT_EQ(_DeleteToEnd(envelope_, INT_MAX), 1);
  EXPECT_EQ(_SetPosition(envelope_, -4), 1);  // ignored
  int position = 0;
  EXPECT_EQ(_GetPosition(envelope_, &position), 1);
  EXPECT_EQ(position, INT_MAX);
  EXPECT_EQ(_GetPosition(envelope_, nullptr), 0);
  EXPECT_EQ(BoxCount(), 0);
}

TEST_F(Selection, TheWordAtTheCaret) {
  EXPECT_EQ(WordAt(4), "ab2cd");  // on the digit
  EXPECT_EQ(WordAt(2), "ab2cd");
  EXPECT_EQ(WordAt(1), "(null)");  // a blank
  // The first letter of the document is part of its word.
  EXPECT_EQ(WordAt(0), "x");
  // Ten characters to the left with the caret's own, nine to the right.
  int alphabet = -1;
  for (int p = 20; p < 80 && alphabet < 0; ++p) {
    EXPECT_EQ(_SelectRangeText(envelope_, p, p + 10), 0);
    if (TakeText(_GetSelectedText(envelope_)) == "abcdefghij") alphabet = p;
  }
  ASSERT_GT(alphabet, 0);
  EXPECT_EQ(WordAt(alphabet + 12), "defghijklmnopqrstuv");
  EXPECT_EQ(WordAt(alphabet), "abcdefghij");
  // The selection is kept.
  EXPECT_EQ(_SelectRangeText(envelope_, 2, 4), 0);
  char* word = _GetCurrentWord(envelope_);
  EXPECT_STREQ(word, "ab2cd");
  _ReleaseMemory(word);
  EXPECT_EQ(TakeText(_GetSelectedText(envelope_)), "ab");
}

TEST_F(Selection, NoBreakSpacesCopyAsBlanks) {
  const std::string file = TempPath("nbsp.html");
  FILE* out = std::fopen(file.c_str(), "wb");
  std::fputs("<p>one&nbsp;two</p>", out);
  std::fclose(out);
  ASSERT_EQ(_BrowserShowHtml(envelope_, file.c_str(), "Arial", 12), 1);
  EXPECT_EQ(_SelectRangeText(envelope_, 0, -1), 0);
  EXPECT_EQ(TakeText(_GetSelectedText(envelope_)).substr(0, 7), "one two");
  std::remove(file.c_str());
}

// A page that declares UTF-8 with META CHARSET is decoded as UTF-8: the byte
// A0 of a letter's sequence is no no-break space and stays part of the letter.
TEST_F(Selection, AMetaCharsetUtf8PageCopiesItsLetters) {
  const std::string file = TempPath("utf8.html");
  FILE* out = std::fopen(file.c_str(), "wb");
  std::fputs("<meta charset=\"utf-8\"><p>voil\xC3\xA0 a\xC2\xA0" "b</p>", out);
  std::fclose(out);
  ASSERT_EQ(_BrowserShowHtml(envelope_, file.c_str(), "Arial", 12), 1);
  EXPECT_EQ(_SelectRangeText(envelope_, 0, -1), 0);
  EXPECT_EQ(TakeText(_GetSelectedText(envelope_)).substr(0, 9), "voil\xE0 a b");
  std::remove(file.c_str());
}

TEST_F(Selection, FocusAndPagingKeys) {
  EXPECT_EQ(_HasFocus(envelope_), 0);
  pwhost_MouseInput(host_, PWHOST_WM_LBUTTONDOWN, 50, 50, 0);
  pwhost_MouseInput(host_, PWHOST_WM_LBUTTONUP, 50, 50, 0);
  pwhost_PumpMessages();
  EXPECT_EQ(_HasFocus(envelope_), 1);
  _NextKey(envelope_);
  _PriorKey(envelope_);
  pwhost_PumpMessages();
  EXPECT_EQ(BoxCount(), 0);
}

}  // namespace
}  // namespace embed_test
