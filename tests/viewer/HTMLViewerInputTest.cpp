// The user's input on a 400 x 300 viewer: hover and clicks on links, word
// selection by double click, keys and the wheel, and the selection setters.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <functional>

#include "ViewerTestSupport.h"
#include "engine/common/Cursors.h"
#include "engine/html/TUrlTarget.h"
#include "engine/text/ThtTabcontrol.h"
#include "platform/win/user/SystemParameters.h"

namespace viewer {
namespace {

class HTMLViewerInput : public viewertest::ViewerTest {
 protected:
  // The panel point over the character at a document position.
  win::POINT pointOf(int position) {
    int x = 0, y = 0;
    EXPECT_TRUE(view().Document().FindCaretXY(&view().PaintPanel().Canvas(), position, x, y));
    return {x + 2 - view().HorizontalPosition(), y + 4 - view().VerticalPosition()};
  }
  void doubleClick(win::POINT p) {
    win::SendMessageW(view().PaintPanel().Handle(), win::WM_LBUTTONDBLCLK, win::MK_LBUTTON,
                      win::MAKELPARAM(static_cast<win::WORD>(p.x), static_cast<win::WORD>(p.y)));
    pump();
  }
  void key(int code) {
    win::WORD k = static_cast<win::WORD>(code);
    win::SendMessageW(view().Handle(), win::WM_KEYDOWN, k, 0);
    pump();
  }
};

TEST_F(HTMLViewerInput, HoverOverLinksReportsAndSetsTheCursor) {
  load("<p><a href=\"next.htm\" title=\"Tip\">LinkLinkLink</a> plain text here</p>");
  std::vector<std::string> covered;
  view().OnHotSpotCovered = [&](gui::TObject*, const std::string& src) { covered.push_back(src); };
  const win::POINT onLink = pointOf(2);
  mouse(win::WM_MOUSEMOVE, onLink.x, onLink.y);
  EXPECT_EQ(view().PaintPanel().Cursor(), engine::kLinkCursor);
  EXPECT_EQ(view().PaintPanel().Hint(), "Tip");
  mouse(win::WM_MOUSEMOVE, onLink.x + 1, onLink.y);  // same link: no second report
  const win::POINT onText = pointOf(16);
  mouse(win::WM_MOUSEMOVE, onText.x, onText.y);
  EXPECT_EQ(view().PaintPanel().Cursor(), gui::crIBeam);
  EXPECT_EQ(covered, (std::vector<std::string>{"next.htm", ""}));
  EXPECT_EQ(view().LinkText(), u"LinkLinkLink");
  EXPECT_GE(view().LinkAttributes().IndexOf("title=Tip"), 0);
  // Back on the link, then away from the panel: the timer clears the hover.
  mouse(win::WM_MOUSEMOVE, onLink.x, onLink.y);
  win::postMouseInput(win::WM_MOUSEMOVE, {390, 290});
  pump();
  win::useVirtualClock().advance(250);
  pump();
  EXPECT_EQ(covered.back(), "");
}

TEST_F(HTMLViewerInput, LinkClicksRaiseTheHotSpotEvents) {
  load("<p><a href=\"notes.txt\">TextLinkText</a> <a href=\"#end\">ToEndToEnd</a></p>" + tallDocument(80) +
       "<p><a name=\"end\">End</a></p>");
  std::vector<std::string> clicks;
  bool handle = true;
  view().OnHotSpotClick = [&](gui::TObject*, const std::string& src, bool& handled) {
    clicks.push_back(src);
    handled = handle;
  };
  const win::POINT text = pointOf(2);
  mouse(win::WM_LBUTTONDOWN, text.x, text.y);
  mouse(win::WM_LBUTTONUP, text.x, text.y);
  ASSERT_EQ(clicks, std::vector<std::string>{"notes.txt"});
  // The clicked link's keyboard stop took the focus.
  EXPECT_NE(dynamic_cast<engine::ThtTabcontrol*>(form().ActiveControl()), nullptr);
  handle = false;
  mouse(win::WM_LBUTTONDOWN, text.x, text.y);
  mouse(win::WM_LBUTTONUP, text.x, text.y);
  EXPECT_EQ(view().VerticalPosition(), 0);  // a text file is not the viewer's to show
  const win::POINT anchor = pointOf(16);
  mouse(win::WM_LBUTTONDOWN, anchor.x, anchor.y);
  mouse(win::WM_LBUTTONUP, anchor.x, anchor.y);
  EXPECT_EQ(clicks.back(), "#end");
  EXPECT_GT(view().VerticalPosition(), 0);
  // Right after a followed link a double click selects nothing.
  doubleClick(pointOf(2));
  EXPECT_EQ(view().GetSelectionLength(), 0);
}

TEST_F(HTMLViewerInput, DoubleClickSelectsAWord) {
  load("<p>alpha beta, gamma</p>");
  int doubles = 0;
  view().OnMouseDouble = [&](gui::TObject*, gui::TMouseButton, gui::TShiftState, int, int) { ++doubles; };
  std::u16string word;
  int after = 0, before = 0;
  const win::POINT beta = pointOf(7);
  ASSERT_TRUE(view().GetWordAtPoint(beta.x, beta.y, word, after, before));
  EXPECT_EQ(word, u"beta");
  EXPECT_EQ(after - before - 1, 4);
  doubleClick(beta);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(view().GetSelectionText(), u"beta");
  EXPECT_EQ(view().CaretPosition(), before + 1);
  // Two quick clicks of the user do the same.
  view().SetSelectionStart(0);
  mouse(win::WM_LBUTTONDOWN, beta.x, beta.y);
  mouse(win::WM_LBUTTONUP, beta.x, beta.y);
  mouse(win::WM_LBUTTONDOWN, beta.x, beta.y);
  mouse(win::WM_LBUTTONUP, beta.x, beta.y);
  EXPECT_EQ(doubles, 2);
  EXPECT_EQ(view().GetSelectionText(), u"beta");
  // A comma is no word.
  const win::POINT comma = pointOf(10);
  EXPECT_FALSE(view().GetWordAtPoint(comma.x, comma.y, word, after, before));
  EXPECT_TRUE(word.empty());
}

TEST_F(HTMLViewerInput, LongWordsAreFoundWhole) {
  load("<p>" + std::string(20000, 'w') + "</p>");
  std::u16string word;
  int after = 0, before = 0;
  const win::POINT p = pointOf(5);
  ASSERT_TRUE(view().GetWordAtPoint(p.x, p.y, word, after, before));
  EXPECT_EQ(word.size(), 20000u);
}

TEST_F(HTMLViewerInput, DragSelectsAndNoSelectRefuses) {
  load("<p>first second third</p>");
  const win::POINT from = pointOf(0);
  const win::POINT to = pointOf(12);
  mouse(win::WM_LBUTTONDOWN, from.x - 2, from.y);
  mouse(win::WM_MOUSEMOVE, to.x - 2, to.y);
  mouse(win::WM_LBUTTONUP, to.x - 2, to.y);
  EXPECT_EQ(view().GetSelectionText(), u"first second");
  view().SetNoSelect(true);
  EXPECT_EQ(view().GetSelectionText(), u"");
}

TEST_F(HTMLViewerInput, SelectionSettersAndForcedBreaks) {
  load("<p>one<br>two<br>three</p>");
  view().SetSelectionStart(0);
  view().SetSelectionLength(7);
  const std::u16string text = view().GetSelectionText();
  EXPECT_EQ(text.find(u'\0'), std::u16string::npos);
  EXPECT_EQ(text.substr(0, 3), u"one");
  EXPECT_NE(text.find(u"two"), std::u16string::npos);

  view().SetCaretPosition(10);
  view().SetSelectionLength(-3);
  EXPECT_EQ(view().Document().SelB, 7);
  EXPECT_EQ(view().Document().SelE, 10);
  EXPECT_EQ(view().GetSelectionLength(), -3);
  view().SetCaretPosition(-4);  // ignored
  EXPECT_EQ(view().CaretPosition(), 10);
  // Host lengths saturate.
  view().SetCaretPosition(INT_MAX - 1);
  view().SetSelectionLength(INT_MAX);
  EXPECT_EQ(view().Document().SelE, INT_MAX);
  view().SetCaretPosition(5);
  view().SetSelectionLength(INT_MIN);
  EXPECT_EQ(view().Document().SelB, INT_MIN + 5);
  EXPECT_EQ(view().GetSelectionText(), u"");
}

TEST_F(HTMLViewerInput, KeysScrollByLinesPagesAndEnds) {
  load(tallDocument(100));
  const int bottom = view().DocumentHeight() - view().PaintPanel().Height();
  key(win::VK_DOWN);
  EXPECT_EQ(view().VerticalPosition(), 16);
  key(win::VK_NEXT);
  EXPECT_EQ(view().VerticalPosition(), 16 + view().VScrollBar().LargeChange());
  key(win::VK_END);
  EXPECT_EQ(view().VerticalPosition(), bottom);
  key(win::VK_PRIOR);
  EXPECT_EQ(view().VerticalPosition(), bottom - view().VScrollBar().LargeChange());
  key(win::VK_HOME);
  key(win::VK_UP);
  EXPECT_EQ(view().VerticalPosition(), 0);
  EXPECT_EQ(view().Document().YOffset, 0);
  EXPECT_EQ(win::SendMessageW(view().Handle(), win::WM_GETDLGCODE, 0, 0), win::DLGC_WANTARROWS);
}

TEST_F(HTMLViewerInput, WheelScrollsThreeLinesANotch) {
  load(tallDocument(100));
  view().SetFocus();
  win::postMouseInput(win::WM_MOUSEWHEEL, view().PaintPanel().ClientToScreen({50, 50}), -120);
  pump();
  EXPECT_EQ(view().VerticalPosition(), 48);
  win::postMouseInput(win::WM_MOUSEWHEEL, view().PaintPanel().ClientToScreen({50, 50}), 120);
  pump();
  EXPECT_EQ(view().VerticalPosition(), 0);
  view().SethtOptions(view().htOptions() | htNoWheelMouse);
  win::postMouseInput(win::WM_MOUSEWHEEL, view().PaintPanel().ClientToScreen({50, 50}), -120);
  pump();
  EXPECT_EQ(view().VerticalPosition(), 0);
}

}  // namespace
}  // namespace viewer

namespace viewer {
namespace {

// A window whose message moves the virtual clock on and, after some ticks,
// lets the left button go; it stands for time passing while the user holds.
struct Ticker {
  static inline int ticks = 0;
  static inline int limit = 0;
  static inline win::POINT release{};
  static inline std::function<void()> onTick;
  static win::LRESULT Procedure(win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message != win::WM_USER + 1) return win::DefWindowProcW(window, message, wParam, lParam);
    win::currentClock();
    static_cast<win::VirtualClock&>(win::currentClock()).advance(150);
    if (onTick) onTick();
    if (++ticks < limit) {
      win::PostMessageW(window, win::WM_USER + 1, 0, 0);
    } else {
      win::postMouseInput(win::WM_LBUTTONUP, release);
    }
    return 0;
  }
};

TEST_F(HTMLViewerInput, DragAboveTheTopScrollsUntilTheButtonGoes) {
  load(tallDocument(150));
  view().SetVerticalPosition(2000);
  pump();
  const win::POINT inside = view().PaintPanel().ClientToScreen({60, 100});
  const win::POINT above = view().PaintPanel().ClientToScreen({60, -30});
  win::postMouseInput(win::WM_LBUTTONDOWN, inside);
  pump();
  const win::HWND ticker = win::createWindowWithProcedure(Ticker::Procedure, 0, 0, {0, 0, 1, 1}, 0);
  Ticker::ticks = 0;
  Ticker::limit = 6;
  Ticker::release = above;
  int refused = 0;
  Ticker::onTick = [&] {
    // A load from a handler while the loop runs would clear the document under it.
    view().LoadSourceString("<p>other</p>", "");
    if (view().Document().Count() > 0 && view().DocumentHeight() > 1000) ++refused;
  };
  // Time starts passing once the loop holds the viewer busy.
  view().OnProcessing = [&](gui::TObject*, bool on) {
    if (on && Ticker::ticks == 0) win::PostMessageW(ticker, win::WM_USER + 1, 0, 0);
  };
  win::postMouseInput(win::WM_MOUSEMOVE, above);
  pump();
  Ticker::onTick = nullptr;
  EXPECT_EQ(Ticker::ticks, 6);
  EXPECT_EQ(refused, 6);
  const int moved = 2000 - view().VerticalPosition();
  EXPECT_GT(moved, 0);
  EXPECT_EQ(moved % 128, 0);  // eight lines a step more than 15 pixels above
  EXPECT_FALSE(view().Busy());
  EXPECT_LT(view().Document().SelB, view().Document().SelE);
  win::DestroyWindow(ticker);
}

}  // namespace
}  // namespace viewer

namespace viewer {
namespace {

// The bar that holds the mouse reports its release to the viewer; the viewer
// lets go before its windows are destroyed (this used to call into a viewer
// half destroyed, found by fuzzing the frame viewer).
TEST_F(HTMLViewerInput, AViewerDestroyedWhileItsBarHoldsTheMouseLetsGoFirst) {
  load("<pre>" + std::string(300, 'w') + "</pre>");
  gui::TScrollBar& bar = view().HScrollBar();
  ASSERT_TRUE(bar.Visible());
  win::postMouseInput(win::WM_LBUTTONDOWN, bar.ClientToScreen({bar.Width() - 4, bar.Height() / 2}));
  pump();
  ASSERT_EQ(win::GetCapture(), bar.Handle());
  delete &view();
  EXPECT_EQ(win::GetCapture(), static_cast<win::HWND>(0));
}

TEST_F(HTMLViewerInput, LinkActivationFollowsFromTheQueue) {
  load(tallDocument(80) + "<p><a name=\"end\">End</a></p>", "/d/page.htm");
  std::vector<std::string> clicks;
  view().OnHotSpotClick = [&](gui::TObject*, const std::string& src, bool&) { clicks.push_back(src); };
  engine::TUrlTarget target;
  target.Url = "#end";
  view().PostLinkActivation(target);
  EXPECT_TRUE(clicks.empty());  // not inside the key handling
  pump();
  EXPECT_EQ(clicks, std::vector<std::string>{"#end"});
  EXPECT_GT(view().VerticalPosition(), 0);
  EXPECT_TRUE(view().Document().Links.IsVisited("/d/page.htm#end"));
  EXPECT_FALSE(view().Document().Links.IsVisited("/d/page.htm#other"));
}

}  // namespace
}  // namespace viewer

namespace viewer {
namespace {

TEST_F(HTMLViewerInput, RightClickTellsLinkAndWord) {
  load("<p><a href=\"x.htm\" target=\"side\">LinkWord</a> other</p>");
  TRightClickParameters seen;
  int calls = 0;
  view().OnRightClick = [&](gui::TObject*, TRightClickParameters& parameters) {
    seen = parameters;
    ++calls;
  };
  const win::POINT p = pointOf(2);
  mouse(win::WM_RBUTTONDOWN, p.x, p.y);
  mouse(win::WM_RBUTTONUP, p.x, p.y);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen.LinkUrl, "x.htm");
  EXPECT_EQ(seen.LinkTarget, "side");
  EXPECT_EQ(seen.WordUnderPoint, u"LinkWord");
  EXPECT_EQ(seen.ImageObject, nullptr);
}

}  // namespace
}  // namespace viewer
