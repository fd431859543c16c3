#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UserTestSupport.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TScrollBar.h"
#include "platform/win/user/Windows.h"

using namespace win;
using namespace usertest;

namespace {

class UserWindowSearchTest : public UserTest {};

BOOL Collect(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

BOOL StopAtSecond(HWND window, LPARAM data) {
  auto* seen = reinterpret_cast<std::vector<HWND>*>(data);
  seen->push_back(window);
  return seen->size() < 2 ? TRUE : FALSE;
}

BOOL DestroyNextSibling(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  if (const HWND next = GetWindow(window, GW_HWNDNEXT)) DestroyWindow(next);
  return TRUE;
}

}  // namespace

TEST_F(UserWindowSearchTest, ChildrenAreVisitedDepthFirstInZOrder) {
  const HWND top = topLevel({0, 0, 100, 100});
  const HWND a = child(top, {0, 0, 10, 10});
  const HWND b = child(top, {0, 0, 10, 10});
  const HWND inner = child(a, {0, 0, 5, 5});
  std::vector<HWND> seen;
  EXPECT_TRUE(EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&seen)));
  // Each child, top of the z-order first, is followed by its own children.
  EXPECT_EQ(seen, (std::vector<HWND>{a, inner, b}));
  seen.clear();
  EnumChildWindows(top, StopAtSecond, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen.size(), 2u);
  seen.clear();
  EnumChildWindows(top, DestroyNextSibling, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{a, inner}));  // b went before its turn
  EXPECT_FALSE(EnumChildWindows(0xDEADBEEF, Collect, reinterpret_cast<LPARAM>(&seen)));
}

TEST_F(UserWindowSearchTest, ControlsNameTheirWindowsAfterTheirClass) {
  const HWND top = topLevel({0, 0, 100, 100});
  char name[32];
  EXPECT_EQ(GetClassNameA(top, name, sizeof name), 11);
  EXPECT_STREQ(name, "PlainWindow");
  gui::TPanel panel(nullptr);
  panel.SetParentWindow(top);
  gui::TScrollBar bar(nullptr);
  bar.SetParent(&panel);
  EXPECT_GT(GetClassNameA(panel.Handle(), name, sizeof name), 0);
  EXPECT_STREQ(name, "TPanel");
  EXPECT_EQ(GetClassNameA(bar.Handle(), name, 5), 4);  // cut, with its zero
  EXPECT_STREQ(name, "TScr");
  EXPECT_EQ(GetClassNameA(0xDEADBEEF, name, sizeof name), 0);
  EXPECT_EQ(GetClassNameA(top, name, 0), 0);
}
