#include <gtest/gtest.h>

#include "UserTestSupport.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/win/gdi/Shapes.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/SystemColors.h"

using namespace win;
using namespace usertest;

namespace {

class UserPaintingTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    // Every window paints its whole client area in its own colour (GWL_USERDATA).
    reaction() = [](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message == WM_ERASEBKGND) return 1;
      if (message != WM_PAINT) return std::nullopt;
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      const HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWL_USERDATA)));
      FillRect(dc, &client, brush);
      DeleteObject(brush);
      EndPaint(window, &paint);
      return 0;
    };
  }

  static void setColor(HWND window, COLORREF color) { SetWindowLongPtrW(window, GWL_USERDATA, color); }

  static std::uint32_t pixel(HWND topLevel, int x, int y) { return windowSurface(topLevel)->rowPtr(y)[x]; }
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr std::uint32_t kRedPixel = 0xFF0000;
constexpr std::uint32_t kBluePixel = 0x0000FF;
constexpr std::uint32_t kGreenPixel = 0x00FF00;

}  // namespace

TEST_F(UserPaintingTest, TopLevelWindowsOwnASurfaceOfTheirClientSize) {
  const HWND window = topLevel({0, 0, 40, 30});
  ASSERT_NE(windowSurface(window), nullptr);
  EXPECT_EQ(windowSurface(window)->width, 40);
  EXPECT_EQ(windowSurface(window)->height, 30);
  MoveWindow(window, 0, 0, 60, 10, TRUE);
  EXPECT_EQ(windowSurface(window)->width, 60);
  EXPECT_EQ(windowSurface(window)->height, 10);
  EXPECT_EQ(windowSurface(child(window, {0, 0, 5, 5})), nullptr);
  MoveWindow(window, 0, 0, 0, 0, TRUE);
  EXPECT_TRUE(windowSurface(window)->empty());
}

TEST_F(UserPaintingTest, AnInvalidatedChildPaintsIntoItsTopLevelSurfaceClipped) {
  const HWND window = topLevel({100, 100, 140, 140});
  setColor(window, kBlue);
  const HWND panel = child(window, {10, 10, 30, 30});
  setColor(panel, kGreen);
  // Half of this child lies outside the panel; that half is not drawn.
  const HWND inner = child(panel, {15, 15, 35, 35});
  setColor(inner, kRed);
  pumpMessages();
  EXPECT_EQ(pixel(window, 5, 5), kBluePixel);
  EXPECT_EQ(pixel(window, 12, 12), kGreenPixel);
  EXPECT_EQ(pixel(window, 27, 27), kRedPixel);
  EXPECT_EQ(pixel(window, 31, 31), kBluePixel);

  // Only the invalid part is repainted.
  setColor(inner, kGreen);
  setColor(window, kRed);
  RECT part{0, 0, 2, 2};
  InvalidateRect(inner, &part, FALSE);
  pumpMessages();
  EXPECT_EQ(pixel(window, 25, 25), kGreenPixel);
  EXPECT_EQ(pixel(window, 28, 28), kRedPixel);
  EXPECT_EQ(pixel(window, 5, 5), kBluePixel);
}

TEST_F(UserPaintingTest, UpdateRegionAndValidation) {
  const HWND window = topLevel({0, 0, 50, 50});
  pumpMessages();
  RECT update;
  EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
  RECT first{5, 5, 10, 10};
  RECT second{20, 5, 30, 8};
  InvalidateRect(window, &first, FALSE);
  InvalidateRect(window, &second, FALSE);
  ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
  EXPECT_EQ(update, (RECT{5, 5, 30, 10}));
  RECT left{0, 0, 15, 50};
  ValidateRect(window, &left);
  GetUpdateRect(window, &update, FALSE);
  EXPECT_EQ(update, (RECT{15, 5, 30, 10}));
  ValidateRect(window, nullptr);
  EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
  // Hidden windows are not painted and collect nothing.
  ShowWindow(window, SW_HIDE);
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
  EXPECT_FALSE(InvalidateRect(0xBAD, nullptr, TRUE));
}

TEST_F(UserPaintingTest, UpdateWindowPaintsAtOnceParentBeforeChildren) {
  const HWND window = topLevel({0, 0, 50, 50});
  const HWND panel = child(window, {0, 0, 20, 20});
  pumpMessages();
  received().clear();
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  std::vector<HWND> painted;
  for (const Received& each : received())
    if (each.message == WM_PAINT) painted.push_back(each.window);
  EXPECT_EQ(painted, (std::vector<HWND>{window, panel}));
  MSG message;
  EXPECT_FALSE(PeekMessageW(&message, 0, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(UserPaintingTest, ClippingChildrenStillRepaintsTheChildrenItCovered) {
  const HWND window = topLevel({0, 0, 50, 50}, WS_VISIBLE | WS_CLIPCHILDREN);
  setColor(window, kBlue);
  const HWND panel = child(window, {10, 10, 20, 20});
  setColor(panel, kGreen);
  pumpMessages();
  InvalidateRect(window, nullptr, FALSE);
  pumpMessages();
  EXPECT_EQ(pixel(window, 15, 15), kGreenPixel);
  EXPECT_EQ(pixel(window, 5, 5), kBluePixel);
}

TEST_F(UserPaintingTest, SiblingsAboveStayOnTopWhenALowerOnePaints) {
  const HWND window = topLevel({0, 0, 50, 50});
  setColor(window, kBlue);
  const HWND lower = child(window, {0, 0, 30, 30}, WS_VISIBLE | WS_CLIPSIBLINGS);
  setColor(lower, kGreen);
  const HWND upper = child(window, {20, 20, 40, 40}, WS_VISIBLE | WS_CLIPSIBLINGS);
  setColor(upper, kRed);
  SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
  // A window inside the lower one: its painting must not cover the upper one either.
  const HWND inner = child(lower, {15, 15, 30, 30}, WS_VISIBLE | WS_CLIPSIBLINGS);
  setColor(inner, kGreen);
  pumpMessages();
  EXPECT_EQ(pixel(window, 25, 25), kRedPixel);
  InvalidateRect(inner, nullptr, FALSE);
  pumpMessages();
  EXPECT_EQ(pixel(window, 25, 25), kRedPixel);
  EXPECT_EQ(pixel(window, 17, 17), kGreenPixel);
  InvalidateRect(lower, nullptr, FALSE);
  pumpMessages();
  EXPECT_EQ(pixel(window, 25, 25), kRedPixel);
}

TEST_F(UserPaintingTest, HidingOrMovingAChildRepaintsWhatWasBelow) {
  const HWND window = topLevel({0, 0, 50, 50});
  setColor(window, kBlue);
  const HWND panel = child(window, {10, 10, 20, 20});
  setColor(panel, kGreen);
  pumpMessages();
  MoveWindow(panel, 30, 30, 10, 10, TRUE);
  pumpMessages();
  EXPECT_EQ(pixel(window, 15, 15), kBluePixel);
  EXPECT_EQ(pixel(window, 35, 35), kGreenPixel);
  ShowWindow(panel, SW_HIDE);
  pumpMessages();
  EXPECT_EQ(pixel(window, 35, 35), kBluePixel);
}

TEST_F(UserPaintingTest, EraseBackgroundUsesTheClassBrush) {
  reaction() = nullptr;
  WNDCLASSW windowClass;
  windowClass.lpfnWndProc = recordingProcedure;
  windowClass.lpszClassName = u"Erased";
  windowClass.hbrBackground = static_cast<HBRUSH>(COLOR_INFOBK + 1);
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, u"Erased", u"", WS_VISIBLE, 0, 0, 20, 20, 0, 0, 0, nullptr);
  pumpMessages();
  EXPECT_EQ(messagesOf(window, {WM_ERASEBKGND}).size(), 1u);
  EXPECT_EQ(pixel(window, 10, 10), 0xFFFFE1u);  // COLOR_INFOBK
}

TEST_F(UserPaintingTest, WindowAndScreenDcs) {
  const HWND window = topLevel({0, 0, 30, 30});
  setColor(window, kGreen);
  const HWND framed = child(window, {5, 5, 25, 25}, WS_VISIBLE | WS_BORDER);
  pumpMessages();
  const HBRUSH red = CreateSolidBrush(kRed);
  const HDC dc = GetWindowDC(framed);
  RECT whole{0, 0, 20, 20};
  FillRect(dc, &whole, red);
  EXPECT_EQ(ReleaseDC(framed, dc), 1);
  EXPECT_EQ(pixel(window, 5, 5), kRedPixel);   // the frame is part of the window DC
  EXPECT_EQ(pixel(window, 4, 4), kGreenPixel);
  const HDC clientDc = GetDC(framed);
  const HBRUSH blue = CreateSolidBrush(kBlue);
  FillRect(clientDc, &whole, blue);
  ReleaseDC(framed, clientDc);
  EXPECT_EQ(pixel(window, 5, 5), kRedPixel);  // the client DC stays inside the frame
  EXPECT_EQ(pixel(window, 6, 6), kBluePixel);
  EXPECT_EQ(pixel(window, 24, 24), kRedPixel);

  const HDC screen = GetDC(0);
  FillRect(screen, &whole, blue);
  ReleaseDC(0, screen);
  EXPECT_EQ(screenSurface().rowPtr(19)[19], kBluePixel);
  EXPECT_EQ(screenSurface().width, 1024);
  EXPECT_EQ(GetDC(0xBAD), 0u);
  EXPECT_EQ(ReleaseDC(framed, 0xBAD), 0);
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(UserPaintingTest, ScrollWindowMovesPixelsAndInvalidatesTheUncoveredStrip) {
  const HWND window = topLevel({0, 0, 40, 40});
  setColor(window, kBlue);
  const HWND panel = child(window, {0, 20, 10, 30});
  setColor(panel, kGreen);
  pumpMessages();
  ASSERT_EQ(pixel(window, 5, 25), kGreenPixel);
  received().clear();
  EXPECT_TRUE(ScrollWindow(window, 0, -10, nullptr, nullptr));
  // The green pixels moved up with the child; the strip at the bottom is invalid.
  EXPECT_EQ(pixel(window, 5, 15), kGreenPixel);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
  EXPECT_EQ(update, (RECT{0, 30, 40, 40}));
  RECT panelRect;
  GetWindowRect(panel, &panelRect);
  EXPECT_EQ(panelRect, (RECT{0, 10, 10, 20}));
  EXPECT_EQ(messagesOf(panel, {WM_MOVE}).size(), 1u);

  // With a scroll rectangle: only its pixels move, children stay.
  // A child that does not move with the pixels is painted again.
  pumpMessages();
  RECT below{0, 0, 20, 40};
  EXPECT_EQ(ScrollWindowEx(window, 0, 5, &below, nullptr, 0, nullptr, 0), SIMPLEREGION);
  EXPECT_EQ(pixel(window, 5, 21), kGreenPixel);  // moved, though the child did not
  pumpMessages();
  EXPECT_EQ(pixel(window, 5, 21), kBluePixel);
  RECT uncovered;
  RECT area{20, 0, 40, 40};
  EXPECT_EQ(ScrollWindowEx(window, 5, 0, &area, nullptr, 0, &uncovered, 0), SIMPLEREGION);
  EXPECT_EQ(uncovered, (RECT{20, 0, 25, 40}));
  GetWindowRect(panel, &panelRect);
  EXPECT_EQ(panelRect, (RECT{0, 10, 10, 20}));
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(ScrollWindowEx(window, 0, 0, nullptr, nullptr, region, nullptr, 0), NULLREGION);
  EXPECT_EQ(ScrollWindowEx(window, 0, 50, nullptr, nullptr, region, nullptr, 0), SIMPLEREGION);
  RECT box;
  GetRgnBox(region, &box);
  EXPECT_EQ(box, (RECT{0, 0, 40, 40}));  // scrolled past its size: all uncovered
  DeleteObject(region);
  EXPECT_EQ(ScrollWindowEx(0xBAD, 0, 1, nullptr, nullptr, 0, nullptr, 0), ERROR);
}

TEST_F(UserPaintingTest, DestroyingAWindowReleasesItsDcs) {
  const HWND window = topLevel({0, 0, 30, 30});
  const HDC dc = GetDC(window);
  ASSERT_NE(dc, 0u);
  DestroyWindow(window);
  RECT rect{0, 0, 5, 5};
  const HBRUSH brush = CreateSolidBrush(kRed);
  EXPECT_EQ(FillRect(dc, &rect, brush), 0);  // the DC is gone, nothing is written
  EXPECT_EQ(ReleaseDC(window, dc), 0);
  DeleteObject(brush);
}
