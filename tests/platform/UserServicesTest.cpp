#include <gtest/gtest.h>

#include <cstring>

#include "UserTestSupport.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/kernel/Memory.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/MessageBoxes.h"
#include "platform/win/user/SystemColors.h"
#include "platform/win/user/SystemMetrics.h"

using namespace win;
using namespace usertest;

namespace {

class UserServicesTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    setMessageBoxEcho(false);
  }
};

HGLOBAL textBlock(const char* text) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
  GlobalUnlock(block);
  return block;
}

}  // namespace

TEST_F(UserServicesTest, ClipboardHoldsTextAndConvertsBetweenTextFormats) {
  EXPECT_EQ(SetClipboardData(CF_TEXT, textBlock("x")), 0u);  // not open
  ASSERT_TRUE(OpenClipboard(0));
  EXPECT_FALSE(OpenClipboard(0));
  EXPECT_TRUE(EmptyClipboard());
  const HGLOBAL block = textBlock("caf\xE9");
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(2));
  EXPECT_EQ(GetClipboardData(CF_TEXT), 0u);  // closed

  ASSERT_TRUE(OpenClipboard(0));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "caf\xE9");
  GlobalUnlock(block);
  const HGLOBAL wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, 0u);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), u"café");
  GlobalUnlock(wide);
  EmptyClipboard();
  EXPECT_EQ(GlobalSize(block), 0u);  // the clipboard freed what it owned
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(SetClipboardData(CF_TEXT, 0xBAD), 0u);
  CloseClipboard();
}

TEST_F(UserServicesTest, MessageBoxesAreRecordedAndAnsweredAtOnce) {
  EXPECT_EQ(MessageBoxW(0, u"Something failed", u"Error in Print", MB_ICONWARNING), IDOK);
  EXPECT_EQ(MessageBoxA(0, "caf\xE9", nullptr, MB_YESNO), IDYES);
  EXPECT_EQ(MessageBoxA(0, "x", "c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  setMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxA(0, "x", "c", MB_YESNO), IDNO);
  const auto records = messageBoxRecords();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].caption, u"Error in Print");
  EXPECT_EQ(records[0].text, u"Something failed");
  EXPECT_EQ(records[0].flags, MB_ICONWARNING);
  EXPECT_EQ(records[1].caption, u"Error");
  EXPECT_EQ(records[1].text, u"café");
  clearMessageBoxRecords();
  EXPECT_TRUE(messageBoxRecords().empty());

  setMessageBoxEcho(true);
  ::testing::internal::CaptureStderr();
  MessageBoxW(0, u"text", u"caption", MB_OK);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "caption: text\n");
}

TEST_F(UserServicesTest, SystemColoursMetricsAndBrushes) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0u);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), 0x800000u);
  EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), 0x808080u);
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), 0xE1FFFFu);
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(kSystemColorCount), 0u);
  EXPECT_EQ(resolveColor(kSystemColorFlag | COLOR_HIGHLIGHT), 0x800000u);

  const HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(brush, 0u);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), brush);
  EXPECT_EQ(brushPaint(brush).color, 0xC0C0C0u);
  DeleteObject(brush);
  EXPECT_NE(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), 0u);  // made again
  EXPECT_EQ(GetSysColorBrush(99), 0u);

  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
  EXPECT_EQ(GetSystemMetrics(12345), 0);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}
