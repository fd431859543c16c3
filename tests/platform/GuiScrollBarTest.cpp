#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiControlTestSupport.h"
#include "platform/gui/TScrollBar.h"

namespace gui {
namespace {

using guitest::GuiControlTest;

class GuiScrollBar : public GuiControlTest {
 protected:
  // A vertical bar of 16 x 200 at (100, 0) on the form, range 0..99 with a
  // page of 10, recording what it reports.
  TScrollBar* verticalBar() {
    auto* bar = make<TScrollBar>(100, 0, 16, 200);
    bar->SetKind(sbVertical);
    bar->SetBounds(100, 0, 16, 200);
    bar->SetParams(0, 0, 99);
    bar->SetPageSize(10);
    bar->SetSmallChange(2);
    bar->SetLargeChange(10);
    bar->OnScroll = [this](TObject*, TScrollCode code, int& position) {
      log.push_back(std::to_string(code) + ":" + std::to_string(position));
    };
    return bar;
  }
  static win::POINT centre(const win::RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  void pressAt(TScrollBar& bar, ScrollBarPart part, win::UINT message) {
    const win::POINT point = centre(bar.PartRect(part));
    mouse(bar, message, point.x, point.y);
  }
  std::vector<std::string> log;
};

TEST(WinScrollInfo, RangePageAndPositionAreClampedTogether) {
  const win::HWND window = win::createWindowWithProcedure(win::DefWindowProcW, 0, 0, {0, 0, 10, 10}, 0);
  win::SCROLLINFO info;
  info.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  info.nMin = 0;
  info.nMax = 99;
  info.nPage = 500;  // more than the range holds
  info.nPos = 50;
  EXPECT_EQ(win::SetScrollInfo(window, win::SB_CTL, &info, win::FALSE), 0);  // the page covers everything
  info.fMask = win::SIF_PAGE | win::SIF_POS;
  info.nPage = 10;
  info.nPos = 95;
  EXPECT_EQ(win::SetScrollInfo(window, win::SB_CTL, &info, win::FALSE), 90);  // the last full page
  win::SCROLLINFO read;
  read.fMask = win::SIF_ALL;
  ASSERT_TRUE(win::GetScrollInfo(window, win::SB_CTL, &read));
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(read.nTrackPos, 90);  // nothing dragged
  win::setScrollTrackPos(window, win::SB_CTL, 1000);
  win::GetScrollInfo(window, win::SB_CTL, &read);
  EXPECT_EQ(read.nTrackPos, 90);
  EXPECT_EQ(read.nPos, 90);
  // Huge ranges do not overflow.
  info.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  info.nMin = INT32_MIN;
  info.nMax = INT32_MAX;
  info.nPage = 0xFFFFFFFFu;
  info.nPos = 7;
  win::SetScrollInfo(window, win::SB_VERT, &info, win::FALSE);
  win::DestroyWindow(window);
  EXPECT_FALSE(win::GetScrollInfo(window, win::SB_CTL, &read));
  EXPECT_EQ(win::SetScrollInfo(window, win::SB_CTL, &info, win::FALSE), 0);
}

TEST_F(GuiScrollBar, ArrowsAndTroughScrollByLinesAndPages) {
  TScrollBar* bar = verticalBar();
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  pressAt(*bar, ScrollBarPart::LineDown, win::WM_LBUTTONDOWN);
  pressAt(*bar, ScrollBarPart::LineDown, win::WM_LBUTTONUP);
  EXPECT_EQ(bar->Position(), 2);
  pressAt(*bar, ScrollBarPart::PageDown, win::WM_LBUTTONDOWN);
  pressAt(*bar, ScrollBarPart::PageDown, win::WM_LBUTTONUP);
  EXPECT_EQ(bar->Position(), 12);
  pressAt(*bar, ScrollBarPart::LineUp, win::WM_LBUTTONDOWN);
  pressAt(*bar, ScrollBarPart::LineUp, win::WM_LBUTTONUP);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(log, (std::vector<std::string>{"1:2", "8:2", "3:12", "8:12", "0:10", "8:10"}));
}

TEST_F(GuiScrollBar, HeldArrowRepeatsOnTheClock) {
  TScrollBar* bar = verticalBar();
  auto& clock = win::useVirtualClock();
  pressAt(*bar, ScrollBarPart::LineDown, win::WM_LBUTTONDOWN);
  EXPECT_EQ(bar->Position(), 2);
  clock.advance(ScrollBarTracker::kFirstRepeatDelay);
  pump();
  EXPECT_EQ(bar->Position(), 4);
  clock.advance(ScrollBarTracker::kRepeatInterval);
  pump();
  EXPECT_EQ(bar->Position(), 6);
  pressAt(*bar, ScrollBarPart::LineDown, win::WM_LBUTTONUP);
  clock.advance(1000);
  pump();
  EXPECT_EQ(bar->Position(), 6);
}

TEST_F(GuiScrollBar, DraggingTheThumbTracksAndEndsWithThePosition) {
  TScrollBar* bar = verticalBar();
  const win::RECT thumb = bar->PartRect(ScrollBarPart::Thumb);
  EXPECT_EQ(thumb.top, 16);  // right after the up arrow
  const int grabX = 8;
  mouse(*bar, win::WM_LBUTTONDOWN, grabX, thumb.top + 2);
  mouse(*bar, win::WM_MOUSEMOVE, grabX, 500);  // far below: the end
  EXPECT_EQ(bar->Position(), 90);  // the last full page
  EXPECT_EQ(bar->PartRect(ScrollBarPart::Thumb).bottom, 184);  // at the down arrow
  mouse(*bar, win::WM_LBUTTONUP, grabX, 500);
  EXPECT_EQ(log, (std::vector<std::string>{"5:90", "4:90", "8:90"}));
  mouse(*bar, win::WM_LBUTTONDOWN, grabX, 186);  // the down arrow at the end does nothing more
  mouse(*bar, win::WM_LBUTTONUP, grabX, 186);
  EXPECT_EQ(bar->Position(), 90);
}

TEST_F(GuiScrollBar, PaintsArrowButtonsTroughAndThumbClassically) {
  TScrollBar* bar = verticalBar();
  bar->SetPosition(45);
  pump();
  const win::RECT thumb = bar->PartRect(ScrollBarPart::Thumb);
  EXPECT_EQ(pixel(100, 1), 0xC0C0C0u);             // the up arrow's light outer edge
  EXPECT_EQ(pixel(101, 2), 0xFFFFFFu);             // and its highlight inside
  EXPECT_EQ(pixel(108, 7), 0x000000u);             // its glyph
  EXPECT_EQ(pixel(101, thumb.top + 2), 0xFFFFFFu);  // the thumb's edge
  EXPECT_EQ(pixel(108, thumb.top + 5), 0xC0C0C0u);  // its face
  // The trough on both sides of the thumb is a checker of white and button
  // face, the face where x + y is even in the bar's terms.
  for (const ScrollBarPart part : {ScrollBarPart::PageUp, ScrollBarPart::PageDown}) {
    const win::RECT trough = bar->PartRect(part);
    ASSERT_GT(trough.bottom, trough.top);
    for (int y = trough.top; y < trough.bottom; ++y)
      for (int x = trough.left; x < trough.right; ++x)
        ASSERT_EQ(pixel(100 + x, y), (x + y) % 2 == 0 ? 0xC0C0C0u : 0xFFFFFFu) << x << "," << y;
  }
}

TEST_F(GuiScrollBar, ProgramSetsAreKeptInRange) {
  TScrollBar* bar = verticalBar();
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 99);
  bar->SetParams(5, 10, 3);  // Max below Min
  EXPECT_EQ(bar->Min(), 10);
  EXPECT_EQ(bar->Max(), 10);
  EXPECT_EQ(bar->Position(), 10);
  // The widest range there is: sizes are computed without overflow.
  bar->SetParams(0, INT32_MIN, INT32_MAX);
  bar->SetPageSize(INT32_MAX);
  EXPECT_EQ(bar->PageSize(), INT32_MAX);
  bar->SetPosition(INT32_MAX);
  pressAt(*bar, ScrollBarPart::LineDown, win::WM_LBUTTONDOWN);
  pressAt(*bar, ScrollBarPart::LineDown, win::WM_LBUTTONUP);
  EXPECT_EQ(bar->Position(), 1);  // the start of the last full page
  TScrollBar loose(nullptr);  // no window: nothing to write, nothing fails
  loose.SetParams(3, 0, 5);
  EXPECT_EQ(loose.PartRect(ScrollBarPart::LineUp).right, 16);
}

TEST(WinSystemParameters, WheelScrollLinesDefaultToThreeAndCanBeSet) {
  win::UINT lines = 0;
  ASSERT_TRUE(win::SystemParametersInfoW(win::SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, 3u);
  win::SystemParametersInfoW(win::SPI_SETWHEELSCROLLLINES, 5, nullptr, 0);
  win::SystemParametersInfoW(win::SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  EXPECT_EQ(lines, 5u);
  EXPECT_FALSE(win::SystemParametersInfoW(win::SPI_GETWHEELSCROLLLINES, 0, nullptr, 0));
  win::resetSystemParameters();
}

}  // namespace
}  // namespace gui
