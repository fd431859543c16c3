#include <gtest/gtest.h>

#include "UserTestSupport.h"
#include "platform/win/user/Coordinates.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"

using namespace win;
using namespace usertest;

namespace {
class UserWindowTest : public UserTest {};
}  // namespace

TEST_F(UserWindowTest, CreationSendsTheCreationMessagesAndCanBeRefused) {
  const HWND window = topLevel({10, 20, 110, 70});
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(messagesOf(window, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}));
  reaction() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CREATE) return -1;
    return std::nullopt;
  };
  EXPECT_EQ(topLevel({0, 0, 10, 10}), 0u);
  const HWND refused = received().back().window;
  EXPECT_EQ(messagesOf(refused, {WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(refused));
  reaction() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_NCCREATE) return FALSE;
    return std::nullopt;
  };
  received().clear();
  EXPECT_EQ(topLevel({0, 0, 10, 10}), 0u);
  EXPECT_EQ(messagesOf(received().front().window, {WM_CREATE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_NCDESTROY}));
  // A child needs a live parent.
  reaction() = nullptr;
  EXPECT_EQ(child(0, {0, 0, 5, 5}), 0u);
  EXPECT_EQ(child(0xDEADBEEF, {0, 0, 5, 5}), 0u);
}

TEST_F(UserWindowTest, ClassesAreRegisteredOnceAndFoundWithoutRegardToCase) {
  WNDCLASSW windowClass;
  windowClass.lpfnWndProc = recordingProcedure;
  windowClass.lpszClassName = u"TestClass";
  windowClass.style = CS_DBLCLKS;
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  EXPECT_EQ(RegisterClassW(&windowClass), 0);
  WNDCLASSW found;
  ASSERT_TRUE(GetClassInfoW(0, u"TESTCLASS", &found));
  EXPECT_EQ(found.style, CS_DBLCLKS);
  const HWND window = CreateWindowExW(0, u"testclass", u"Caption", 0, 0, 0, 20, 20, 0, 0, 0, nullptr);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(windowText(window), u"Caption");
  EXPECT_FALSE(UnregisterClassW(u"TestClass", 0));  // still in use
  DestroyWindow(window);
  EXPECT_TRUE(UnregisterClassW(u"TestClass", 0));
  EXPECT_EQ(CreateWindowExW(0, u"TestClass", u"", 0, 0, 0, 1, 1, 0, 0, 0, nullptr), 0u);
}

TEST_F(UserWindowTest, DestroyReachesTheWholeTreeAndLeavesStaleHandles) {
  const HWND parent = topLevel({0, 0, 100, 100});
  const HWND first = child(parent, {0, 0, 10, 10});
  const HWND grandchild = child(first, {0, 0, 5, 5});
  const HWND owned = createWindowWithProcedure(recordingProcedure, 0, 0, {0, 0, 10, 10}, parent);
  EXPECT_EQ(GetParent(owned), parent);  // the owner
  received().clear();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Received& each : received())
    if (each.message == WM_DESTROY || each.message == WM_NCDESTROY) order.emplace_back(each.window, each.message);
  const std::vector<std::pair<HWND, UINT>> expected = {
      {owned, WM_DESTROY},          {owned, WM_NCDESTROY},      {parent, WM_DESTROY},   {first, WM_DESTROY},
      {grandchild, WM_DESTROY},     {grandchild, WM_NCDESTROY}, {first, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  for (const HWND window : {parent, first, grandchild, owned}) EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_EQ(GetParent(first), 0u);
  RECT rect;
  EXPECT_FALSE(GetClientRect(first, &rect));
}

TEST_F(UserWindowTest, DestroyingInsideItsOwnHandlersIsHarmless) {
  const HWND parent = topLevel({0, 0, 100, 100});
  const HWND first = child(parent, {0, 0, 10, 10});
  reaction() = [parent, first](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_DESTROY && window == parent) {
      EXPECT_FALSE(DestroyWindow(parent));  // already on its way
      EXPECT_TRUE(DestroyWindow(first));    // a child may go early
    }
    if (message == WM_USER) DestroyWindow(window);
    return std::nullopt;
  };
  EXPECT_TRUE(DestroyWindow(parent));
  EXPECT_FALSE(IsWindow(first));
  const HWND other = topLevel({0, 0, 10, 10});
  EXPECT_EQ(SendMessageW(other, WM_USER, 0, 0), 0);
  EXPECT_FALSE(IsWindow(other));
  PostMessageW(topLevel({0, 0, 5, 5}), WM_USER, 0, 0);
  pumpMessages();
}

TEST_F(UserWindowTest, ZOrderAndSiblingNavigation) {
  const HWND parent = topLevel({0, 0, 100, 100});
  const HWND a = child(parent, {0, 0, 10, 10});
  const HWND b = child(parent, {0, 0, 10, 10});
  const HWND c = child(parent, {0, 0, 10, 10});
  // New children go to the bottom.
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), 0u);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), c);
  SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(a, GW_HWNDFIRST), a);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), c);
}

TEST_F(UserWindowTest, ReparentingMovesTheWindowAndRefusesCycles) {
  const HWND first = topLevel({0, 0, 100, 100});
  const HWND second = topLevel({200, 0, 300, 100});
  const HWND moving = child(first, {10, 10, 20, 20});
  const HWND inner = child(moving, {0, 0, 5, 5});
  EXPECT_EQ(SetParent(moving, second), first);
  EXPECT_EQ(GetParent(moving), second);
  EXPECT_TRUE(IsChild(second, inner));
  EXPECT_FALSE(IsChild(first, inner));
  EXPECT_EQ(GetWindow(first, GW_CHILD), 0u);
  RECT rect;
  GetWindowRect(moving, &rect);
  EXPECT_EQ(rect, (RECT{210, 10, 220, 20}));  // same offset in the new parent
  EXPECT_EQ(SetParent(second, inner), 0u);    // would make a cycle
  EXPECT_EQ(SetParent(moving, moving), 0u);
  EXPECT_EQ(GetAncestor(inner, GA_ROOT), second);
}

TEST_F(UserWindowTest, VisibilityNeedsAllAncestors) {
  const HWND parent = topLevel({0, 0, 100, 100}, 0);
  const HWND shown = child(parent, {0, 0, 10, 10});
  EXPECT_FALSE(IsWindowVisible(shown));
  EXPECT_FALSE(ShowWindow(parent, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_TRUE(ShowWindow(shown, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(shown));
  EXPECT_TRUE(IsWindowVisible(parent));
  EXPECT_EQ(messagesOf(shown, {WM_SHOWWINDOW}).size(), 2u);
}

TEST_F(UserWindowTest, GeometryClientAreaAndMoveMessages) {
  const HWND parent = topLevel({100, 50, 300, 250});
  const HWND framed = createWindowWithProcedure(recordingProcedure, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                               {10, 20, 60, 50}, parent);
  RECT client;
  GetClientRect(framed, &client);
  EXPECT_EQ(client, (RECT{0, 0, 44, 24}));  // 1-pixel border plus 2-pixel edge
  RECT window;
  GetWindowRect(framed, &window);
  EXPECT_EQ(window, (RECT{110, 70, 160, 100}));
  received().clear();
  MoveWindow(framed, 15, 20, 50, 30, TRUE);
  EXPECT_EQ(messagesOf(framed, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE}));
  EXPECT_EQ(received().back().lParam, MAKELPARAM(18, 23));  // client origin in the parent
  received().clear();
  SetWindowPos(framed, 0, 0, 0, 80, -5, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_EQ(messagesOf(framed, {WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_SIZE}));
  GetClientRect(framed, &client);
  EXPECT_EQ(client, (RECT{0, 0, 74, 0}));  // negative heights count as 0
  setWindowFrame(framed, RECT{});
  GetClientRect(framed, &client);
  EXPECT_EQ(client, (RECT{0, 0, 80, 0}));
}

TEST_F(UserWindowTest, CoordinateMappingAndHitTests) {
  const HWND parent = topLevel({100, 100, 300, 300});
  const HWND panel = child(parent, {50, 50, 150, 150});
  const HWND button = child(panel, {10, 10, 30, 30});
  const HWND hidden = child(panel, {40, 40, 60, 60}, 0);
  POINT point{5, 6};
  ClientToScreen(button, &point);
  EXPECT_EQ(point, (POINT{165, 166}));
  ScreenToClient(panel, &point);
  EXPECT_EQ(point, (POINT{15, 16}));
  POINT points[2] = {{0, 0}, {1, 1}};
  const int offset = MapWindowPoints(button, parent, points, 2);
  EXPECT_EQ(points[1], (POINT{61, 61}));
  EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(offset)), 60);
  EXPECT_EQ(MapWindowPoints(0xBAD, parent, points, 2), 0);

  EXPECT_EQ(WindowFromPoint({170, 170}), button);
  EXPECT_EQ(WindowFromPoint({195, 195}), panel);  // hidden windows are skipped
  EXPECT_EQ(WindowFromPoint({120, 120}), parent);
  EXPECT_EQ(WindowFromPoint({50, 50}), 0u);
  EnableWindow(button, FALSE);
  EXPECT_EQ(WindowFromPoint({170, 170}), panel);  // and disabled ones
  EXPECT_EQ(ChildWindowFromPoint(panel, {45, 45}), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(panel, {45, 45}, CWP_SKIPINVISIBLE), panel);
  EXPECT_EQ(ChildWindowFromPoint(panel, {500, 5}), 0u);
  // Among overlapping siblings the top of the z-order wins.
  const HWND cover = child(parent, {0, 0, 200, 200});
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(WindowFromPoint({170, 170}), cover);
}

TEST_F(UserWindowTest, FocusAndCaptureMessages) {
  const HWND parent = topLevel({0, 0, 100, 100});
  const HWND first = child(parent, {0, 0, 10, 10});
  const HWND second = child(parent, {10, 0, 20, 10});
  EXPECT_EQ(SetFocus(first), 0u);
  EXPECT_EQ(GetFocus(), first);
  EXPECT_EQ(GetActiveWindow(), parent);
  received().clear();
  EXPECT_EQ(SetFocus(second), first);
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[0].message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(received()[0].wParam, second);
  EXPECT_EQ(received()[1].message, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(received()[1].wParam, first);
  EXPECT_EQ(SetFocus(0xBAD), 0u);
  EXPECT_EQ(GetFocus(), second);
  EnableWindow(second, FALSE);  // a disabled window gives up the focus
  EXPECT_EQ(GetFocus(), 0u);

  EXPECT_EQ(SetCapture(first), 0u);
  received().clear();
  EXPECT_EQ(SetCapture(second), first);
  EXPECT_EQ(messagesOf(first, {WM_CAPTURECHANGED}).size(), 1u);
  DestroyWindow(second);
  EXPECT_EQ(GetCapture(), 0u);
  SetFocus(first);
  DestroyWindow(parent);
  EXPECT_EQ(GetFocus(), 0u);
}

TEST_F(UserWindowTest, HidingTheFocusOrItsAncestorMovesTheFocusToTheParent) {
  const HWND frame = topLevel({0, 0, 100, 100});
  const HWND panel = child(frame, {0, 0, 50, 50});
  const HWND edit = child(panel, {0, 0, 20, 10});
  SetFocus(edit);
  received().clear();
  ShowWindow(edit, SW_HIDE);
  EXPECT_EQ(GetFocus(), panel);
  EXPECT_EQ(messagesOf(edit, {WM_KILLFOCUS}).size(), 1u);
  EXPECT_EQ(postKeyInput(WM_KEYDOWN, 'A'), panel);  // keys no longer reach the hidden window
  // Hiding an ancestor of the focus moves it to that ancestor's parent.
  ShowWindow(edit, SW_SHOW);
  SetFocus(edit);
  SetWindowPos(panel, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
  EXPECT_EQ(GetFocus(), frame);
  // Hiding a window that does not hold the focus leaves it alone.
  ShowWindow(panel, SW_SHOW);
  SetFocus(edit);
  const HWND other = child(frame, {60, 0, 80, 10});
  ShowWindow(other, SW_HIDE);
  EXPECT_EQ(GetFocus(), edit);
  // A hidden top-level window leaves no window with the focus.
  ShowWindow(frame, SW_HIDE);
  EXPECT_EQ(GetFocus(), 0u);
}

TEST_F(UserWindowTest, WindowLongsAndText) {
  const HWND window = topLevel({0, 0, 10, 10});
  EXPECT_EQ(SetWindowLongPtrW(window, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_USERDATA), 1234);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&recordingProcedure));
  // Subclassing: the new procedure sees messages first.
  static WNDPROC previous = nullptr;
  static int seen = 0;
  seen = 0;
  auto subclass = [](HWND target, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_USER) ++seen;
    return CallWindowProcW(previous, target, message, wParam, lParam);
  };
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+subclass)));
  SendMessageW(window, WM_USER, 0, 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(messagesOf(window, {WM_USER}).size(), 1u);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  SetWindowLongPtrW(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindowLongPtrW(window, 12345), 0);

  EXPECT_TRUE(SetWindowTextW(window, u"Hello"));
  EXPECT_EQ(GetWindowTextLengthW(window), 5);
  WCHAR buffer[4];
  EXPECT_EQ(GetWindowTextW(window, buffer, 4), 3);
  EXPECT_EQ(std::u16string(buffer), u"Hel");
  EXPECT_EQ(GetWindowTextW(0xBAD, buffer, 4), 0);
  EXPECT_EQ(buffer[0], 0);
}
