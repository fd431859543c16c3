// Fitting documents to a 400 x 300 viewer: the scroll-bar decision and
// geometry, scrolling by bar requests, saved places and painting by pixels.
#include <gtest/gtest.h>

#include <climits>

#include "ViewerTestSupport.h"
#include "engine/document/TSectionBase.h"

namespace viewer {
namespace {

class HTMLViewerLayout : public viewertest::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    view().SetBorderStyle(htSingle);
  }
  void scrollRequest(int code, int track = 0) {
    if (code == win::SB_THUMBTRACK) win::setScrollTrackPos(view().VScrollBar().Handle(), win::SB_CTL, track);
    win::SendMessageW(view().Handle(), win::WM_VSCROLL, win::MAKEWPARAM(static_cast<win::WORD>(code), 0),
                      static_cast<win::LPARAM>(view().VScrollBar().Handle()));
    pump();
  }
};

TEST_F(HTMLViewerLayout, TallDocumentGetsTheVerticalBar) {
  load(tallDocument(60));
  ASSERT_GT(view().DocumentHeight(), 300);
  const T32ScrollBar& bar = view().VScrollBar();
  EXPECT_TRUE(bar.Visible());
  EXPECT_FALSE(view().HScrollBar().Visible());
  EXPECT_EQ(bar.Left(), 383);
  EXPECT_EQ(bar.Top(), 1);
  EXPECT_EQ(bar.Width(), 16);
  EXPECT_EQ(bar.Height(), 298);
  EXPECT_EQ(view().PaintPanel().Width(), 382);
  EXPECT_EQ(view().PaintPanel().Height(), 298);
  EXPECT_EQ(bar.LargeChange(), 282);
  EXPECT_EQ(bar.Page32(), 299);
  EXPECT_EQ(bar.Max32(), view().DocumentHeight());
}

TEST_F(HTMLViewerLayout, ShortDocumentShowsNoBars) {
  load("<p>short</p>");
  EXPECT_FALSE(view().VScrollBar().Visible());
  EXPECT_FALSE(view().HScrollBar().Visible());
  EXPECT_EQ(view().PaintPanel().Width(), 398);
  view().SethtOptions(view().htOptions() | htShowVScroll);
  load("<p>short</p>");
  EXPECT_TRUE(view().VScrollBar().Visible());
  EXPECT_FALSE(view().VScrollBar().Enabled());
}

TEST_F(HTMLViewerLayout, WideContentIsCappedAndGetsTheHorizontalBar) {
  load("<pre>" + std::string(2000, 'W') + "</pre>");
  EXPECT_TRUE(view().HScrollBar().Visible());
  EXPECT_EQ(view().DocumentWidth(), 6000);
  EXPECT_EQ(view().HScrollBar().Max(), 6000);
  view().SetHorizontalPosition(100000);
  EXPECT_EQ(view().HorizontalPosition(), 6000 - view().PaintPanel().Width());
}

TEST_F(HTMLViewerLayout, BarRequestsScrollByLinePageAndThumb) {
  load(tallDocument(100));
  scrollRequest(win::SB_LINEDOWN);
  EXPECT_EQ(view().VerticalPosition(), 16);
  EXPECT_EQ(view().Document().YOffset, 16);
  scrollRequest(win::SB_PAGEDOWN);
  EXPECT_EQ(view().VerticalPosition(), 16 + 282);
  scrollRequest(win::SB_THUMBTRACK, 500);
  EXPECT_EQ(view().VerticalPosition(), 500);
  scrollRequest(win::SB_THUMBPOSITION);
  EXPECT_EQ(view().VerticalPosition(), 500);
  scrollRequest(win::SB_BOTTOM);
  const int bottom = view().DocumentHeight() - view().PaintPanel().Height();
  EXPECT_EQ(view().VerticalPosition(), bottom);
  scrollRequest(win::SB_LINEDOWN);
  EXPECT_EQ(view().VerticalPosition(), bottom);
  scrollRequest(win::SB_TOP);
  scrollRequest(win::SB_LINEUP);
  EXPECT_EQ(view().VerticalPosition(), 0);
}

TEST_F(HTMLViewerLayout, PositionsAreClamped) {
  load(tallDocument(100));
  view().SetVerticalPosition(-50);
  EXPECT_EQ(view().VerticalPosition(), 0);
  view().SetVerticalPosition(INT_MAX);
  EXPECT_EQ(view().VerticalPosition(), view().DocumentHeight() - view().PaintPanel().Height());
  view().ScrollVertically(-1);
  EXPECT_EQ(view().VerticalPosition(), 0);
}

TEST_F(HTMLViewerLayout, TinyPanelsPageDownwards) {
  view().SetBounds(0, 0, 100, 12);
  load(tallDocument(20));
  EXPECT_GE(view().VScrollBar().LargeChange(), 1);
}

TEST_F(HTMLViewerLayout, SavedPlacesSurviveResizes) {
  load(tallDocument(200));
  const auto& list = view().Document().PositionList;
  ASSERT_GT(list.size(), 10u);
  const int sectionY = list[100]->GetDocumentY();
  view().SetVerticalPosition(sectionY + 5);
  const std::int64_t saved = view().GetSavedPosition();
  EXPECT_EQ(saved >> 32, 101);
  EXPECT_EQ(saved & 0xFFFFFFFF, 5);
  view().SetVerticalPosition(0);
  view().RestoreSavedPosition(saved);
  EXPECT_EQ(view().VerticalPosition(), sectionY + 5);
  // An entry beyond the list leaves the view where it is.
  view().RestoreSavedPosition(std::int64_t{100000} << 32);
  EXPECT_EQ(view().VerticalPosition(), sectionY + 5);
  // A narrower window moves the section; the view follows it.
  view().SetBounds(0, 0, 200, 300);
  pump();
  EXPECT_EQ(view().VerticalPosition(), list[100]->GetDocumentY() + 5);
}

TEST_F(HTMLViewerLayout, PlacesDeepInsideOneTallSectionSurvive) {
  std::string html = "<p>";
  for (int i = 0; i < 5000; ++i) html += "line<br>";
  load(html + "</p>");
  ASSERT_GT(view().DocumentHeight(), 80000);
  view().SetVerticalPosition(75000);
  const std::int64_t saved = view().GetSavedPosition();
  view().SetVerticalPosition(0);
  view().RestoreSavedPosition(saved);
  EXPECT_EQ(view().VerticalPosition(), 75000);
  view().SetBounds(0, 0, 300, 300);  // short lines: nothing moves
  pump();
  EXPECT_EQ(view().VerticalPosition(), 75000);
}

TEST_F(HTMLViewerLayout, PaintsBackgroundAndScrolledText) {
  view().SetDefBackground(0x00FFFF);  // yellow, as BGR
  load("<body><p>" + std::string(30, 'M') + "</p>" + tallDocument(60).substr(6));
  pump();
  EXPECT_EQ(pixel(200, 150) & 0xFFFFFF, 0xFFFF00u);
  // The first line holds dark glyph pixels; scrolled away, the row is plain.
  auto darkInRow = [&](int y) {
    for (int x = 1; x < 380; ++x)
      if ((pixel(x, y) & 0xFF) < 0x80) return true;
    return false;
  };
  int textRow = -1;
  for (int y = 1; y < 40 && textRow < 0; ++y)
    if (darkInRow(y)) textRow = y;
  ASSERT_GT(textRow, 0);
  view().SetVerticalPosition(view().DocumentHeight());
  pump();
  EXPECT_NE(view().VerticalPosition(), 0);
  EXPECT_EQ(pixel(200, 150) & 0xFFFFFF, 0xFFFF00u);
}

TEST_F(HTMLViewerLayout, EraseBackgroundChangesNothing) {
  load("<p>x</p>");
  const std::uint32_t before = pixel(100, 100);
  EXPECT_EQ(win::SendMessageW(view().PaintPanel().Handle(), win::WM_ERASEBKGND, 0, 0), 1);
  EXPECT_EQ(pixel(100, 100), before);
}

}  // namespace
}  // namespace viewer
