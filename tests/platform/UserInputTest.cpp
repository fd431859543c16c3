#include <gtest/gtest.h>

#include <algorithm>

#include "UserTestSupport.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Cursors.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"

using namespace win;
using namespace usertest;

namespace {

class UserInputTest : public UserTest {};

std::vector<Received> mouseMessagesOf(HWND window) {
  std::vector<Received> result;
  for (const Received& each : received())
    if (each.window == window && each.message >= WM_MOUSEFIRST && each.message <= WM_MOUSELAST) result.push_back(each);
  return result;
}

}  // namespace

TEST_F(UserInputTest, MouseInputGoesToTheWindowUnderThePointInClientCoordinates) {
  const HWND window = topLevel({100, 100, 200, 200});
  const HWND panel = child(window, {10, 10, 50, 50});
  pumpMessages();
  received().clear();
  EXPECT_EQ(postMouseInput(WM_LBUTTONDOWN, {120, 125}), panel);
  EXPECT_TRUE(GetAsyncKeyState(VK_LBUTTON) < 0);
  pumpMessages();
  EXPECT_TRUE(GetKeyState(VK_LBUTTON) < 0);
  auto messages = mouseMessagesOf(panel);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lParam, MAKELPARAM(10, 15));
  EXPECT_EQ(messages[0].wParam, MK_LBUTTON);
  EXPECT_EQ(messagesOf(panel, {WM_SETCURSOR}).size(), 1u);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor, (POINT{120, 125}));
  EXPECT_EQ(postMouseInput(WM_MOUSEMOVE, {10, 10}), 0u);  // over no window
}

TEST_F(UserInputTest, CaptureTakesTheMouseWherever) {
  const HWND window = topLevel({0, 0, 100, 100});
  const HWND panel = child(window, {10, 10, 20, 20});
  SetCapture(panel);
  EXPECT_EQ(postMouseInput(WM_MOUSEMOVE, {90, 95}), panel);
  EXPECT_EQ(postMouseInput(WM_MOUSEMOVE, {-50, 500}), panel);
  received().clear();
  pumpMessages();
  auto messages = mouseMessagesOf(panel);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(GET_X_LPARAM(messages[0].lParam), 80);
  EXPECT_EQ(GET_X_LPARAM(messages[1].lParam), -60);  // negative coordinates survive the packing
  ReleaseCapture();
  EXPECT_EQ(postMouseInput(WM_MOUSEMOVE, {90, 95}), window);
}

TEST_F(UserInputTest, ClipCursorHoldsThePointerAndItsInput) {
  const HWND window = topLevel({0, 0, 200, 200});
  const RECT band{10, 20, 100, 60};
  ClipCursor(&band);
  RECT clip{};
  GetClipCursor(&clip);
  EXPECT_EQ(clip.left, 10);
  EXPECT_EQ(clip.bottom, 60);
  SetCursorPos(150, 5);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor, (POINT{99, 20}));  // right and bottom are outside the band
  pumpMessages();
  received().clear();
  EXPECT_EQ(postMouseInput(WM_MOUSEMOVE, {5, 190}), window);
  pumpMessages();
  auto messages = mouseMessagesOf(window);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].lParam, MAKELPARAM(10, 59));
  ClipCursor(nullptr);
  SetCursorPos(150, 5);
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor, (POINT{150, 5}));
}

TEST_F(UserInputTest, SecondClickBecomesADoubleClickOnlyForClassesThatWantIt) {
  WNDCLASSW windowClass;
  windowClass.lpfnWndProc = recordingProcedure;
  windowClass.lpszClassName = u"DoubleClicks";
  windowClass.style = CS_DBLCLKS;
  RegisterClassW(&windowClass);
  const HWND clicks = CreateWindowExW(0, u"DoubleClicks", u"", WS_VISIBLE, 0, 0, 50, 50, 0, 0, 0, nullptr);
  const HWND plain = topLevel({100, 0, 150, 50});
  received().clear();
  for (const POINT point : {POINT{10, 10}, POINT{110, 10}}) {
    postMouseInput(WM_LBUTTONDOWN, point);
    postMouseInput(WM_LBUTTONUP, point);
    clock->advance(100);
    postMouseInput(WM_LBUTTONDOWN, point);
    postMouseInput(WM_LBUTTONUP, point);
  }
  clock->advance(1000);  // too late for a double click
  postMouseInput(WM_LBUTTONDOWN, {10, 10});
  pumpMessages();
  EXPECT_EQ(messagesOf(clicks, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
  EXPECT_EQ(messagesOf(plain, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));

  // A window without a class takes the class style afterwards.
  ASSERT_TRUE(setWindowClassStyle(plain, CS_DBLCLKS));
  received().clear();
  postMouseInput(WM_LBUTTONDOWN, {110, 10});
  postMouseInput(WM_LBUTTONUP, {110, 10});
  postMouseInput(WM_LBUTTONDOWN, {110, 10});
  pumpMessages();
  EXPECT_EQ(messagesOf(plain, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
  DestroyWindow(plain);
  EXPECT_FALSE(setWindowClassStyle(plain, CS_DBLCLKS));
}

TEST_F(UserInputTest, WheelGoesUpToTheParentByDefault) {
  const HWND window = topLevel({0, 0, 100, 100});
  child(window, {0, 0, 50, 50});
  received().clear();
  postMouseInput(WM_MOUSEWHEEL, {10, 10}, -120);
  pumpMessages();
  const auto atParent = std::find_if(received().begin(), received().end(), [window](const Received& each) {
    return each.window == window && each.message == WM_MOUSEWHEEL;
  });
  ASSERT_NE(atParent, received().end());
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(atParent->wParam), -120);
}

TEST_F(UserInputTest, KeysGoToTheFocusWindowAndTranslateToCharacters) {
  const HWND window = topLevel({0, 0, 100, 100});
  EXPECT_EQ(postKeyInput(WM_KEYDOWN, 'A'), 0u);  // nobody has the focus
  setKeyDown('A', false);
  SetFocus(window);
  received().clear();
  postKeyInput(WM_KEYDOWN, VK_SHIFT);
  postKeyInput(WM_KEYDOWN, 'A');
  // GetKeyState follows the messages the loop has taken, GetAsyncKeyState the input.
  EXPECT_TRUE(GetAsyncKeyState('A') < 0);
  EXPECT_FALSE(GetKeyState('A') < 0);
  postKeyInput(WM_KEYUP, 'A');
  postKeyInput(WM_KEYUP, VK_SHIFT);
  postKeyInput(WM_KEYDOWN, '1');
  postKeyInput(WM_KEYDOWN, VK_HOME);
  pumpMessages();
  std::u16string typed;
  for (const Received& each : received())
    if (each.message == WM_CHAR) typed.push_back(static_cast<char16_t>(each.wParam));
  EXPECT_EQ(typed, u"A1");
  EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0);
  // Caps Lock toggles with each press.
  setKeyDown(VK_CAPITAL, true);
  setKeyDown(VK_CAPITAL, false);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  EXPECT_EQ(characterForKey('Q'), u'Q');
  setKeyDown(VK_CONTROL, true);
  EXPECT_EQ(characterForKey('C'), u'\x03');
  EXPECT_EQ(GetKeyState(999), 0);
}

TEST_F(UserInputTest, CursorsAreSharedOrMadeFromMasks) {
  const HCURSOR arrow = LoadCursorW(0, IDC_ARROW);
  ASSERT_NE(arrow, 0u);
  EXPECT_EQ(LoadCursorA(0, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursorW(0, IDC_IBEAM), arrow);
  EXPECT_EQ(LoadCursorW(0, 12345), 0u);
  EXPECT_TRUE(DestroyCursor(arrow));
  EXPECT_NE(cursorFromHandle(arrow), nullptr);  // system cursors stay

  const BYTE andMask[2 * 2] = {0xFF, 0xFF, 0x00, 0x00};
  const BYTE xorMask[2 * 2] = {0x00, 0x00, 0xF0, 0x00};
  const HCURSOR own = CreateCursor(0, 1, 1, 16, 2, andMask, xorMask);
  ASSERT_NE(own, 0u);
  EXPECT_EQ(cursorFromHandle(own)->xorMask[2], 0xF0);
  EXPECT_EQ(CreateCursor(0, 0, 0, 0, 2, andMask, xorMask), 0u);
  registerCursorResource(7, "UPDOWNCURSOR", own);
  EXPECT_EQ(LoadCursorA(7, "UPDOWNCURSOR"), own);
  EXPECT_EQ(SetCursor(own), 0u);
  EXPECT_EQ(SetCursor(arrow), own);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  DestroyCursor(own);
  EXPECT_EQ(LoadCursorA(7, "UPDOWNCURSOR"), 0u);
}

TEST_F(UserInputTest, ClassCursorIsSetOverTheClientArea) {
  WNDCLASSW windowClass;
  windowClass.lpfnWndProc = recordingProcedure;
  windowClass.lpszClassName = u"Beam";
  windowClass.hCursor = LoadCursorW(0, IDC_IBEAM);
  RegisterClassW(&windowClass);
  CreateWindowExW(0, u"Beam", u"", WS_VISIBLE, 0, 0, 50, 50, 0, 0, 0, nullptr);
  postMouseInput(WM_MOUSEMOVE, {5, 5});
  EXPECT_EQ(GetCursor(), LoadCursorW(0, IDC_IBEAM));
}

TEST_F(UserInputTest, CaretStateNestsShowAndHide) {
  const HWND window = topLevel({0, 0, 50, 50});
  EXPECT_FALSE(SetCaretPos(1, 1));  // no caret yet
  ASSERT_TRUE(CreateCaret(window, 0, 1, 14));
  EXPECT_FALSE(caretState().visible);
  SetCaretPos(5, 6);
  ShowCaret(window);
  EXPECT_TRUE(caretState().visible);
  HideCaret(window);
  HideCaret(window);
  ShowCaret(window);
  EXPECT_FALSE(caretState().visible);
  ShowCaret(window);
  EXPECT_TRUE(caretState().visible);
  EXPECT_EQ(caretState().position, (POINT{5, 6}));
  EXPECT_EQ(caretState().height, 14);
  DestroyWindow(window);
  EXPECT_EQ(caretState().window, 0u);
}
