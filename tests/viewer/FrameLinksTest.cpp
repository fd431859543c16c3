// Links in frames: where targets send them, what the host hears, the
// visited list, and sets and viewers replaced from inside their own clicks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameLinksTestSupport.h"
#include "engine/text/TFontObj.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

class FrameLinks : public viewertest::FrameViewerFixture {
 protected:
  // nav shows a page of links (first link text at position 0); main shows c.htm.
  void twoFrames(const std::string& links) {
    write("nav.htm", links);
    write("c.htm", "<p>c page");
    write("set.htm", "<frameset cols=\"50%,*\"><frame name=nav src=nav.htm><frame name=main src=c.htm></frameset>");
    load("set.htm");
  }
  TfvFrame& frameNamed(const std::string& name) { return *top().FrameByName(name); }
};

TEST_F(FrameLinks, TargetedLinksLoadTheNamedFrameAndReachTheHost) {
  write("b.htm", "<p>b page<a name=y></a>");
  twoFrames("<a href=\"b.htm?x=1#y\" target=MAIN>go</a>");
  std::vector<std::string> clicks;
  fv().OnHotSpotTargetClick = [&](gui::TObject* Sender, const std::string& Target, const std::string& URL,
                                  bool& Handled) {
    EXPECT_EQ(Sender, &fv());
    EXPECT_FALSE(Handled);
    clicks.push_back(Target + "|" + URL);
  };
  click(frame("nav"), 0);
  EXPECT_EQ(clicks, std::vector<std::string>{"MAIN|b.htm?x=1#y"});
  EXPECT_EQ(frame("main").ShownFileName(), path("b.htm"));
  EXPECT_EQ(fv().VisitedList().Strings(0), path("b.htm") + "?x=1#y");
  EXPECT_EQ(fv().LinkUrl(), "b.htm?x=1#y");
  EXPECT_EQ(fv().LinkText(), u"go");
  EXPECT_FALSE(fv().IsBusy());

  // The host takes the click: nothing moves.
  fv().OnHotSpotTargetClick = [&](gui::TObject*, const std::string&, const std::string&, bool& Handled) {
    Handled = true;
  };
  write("nav2.htm", "<a href=\"c.htm\" target=main>back</a>");
  frame("nav").OpenHtmlFile(path("nav2.htm"));
  click(frame("nav"), 0);
  EXPECT_EQ(frame("main").ShownFileName(), path("b.htm"));
}

TEST_F(FrameLinks, SelfAndEmptyTargetsLoadTheClickedFrame) {
  write("d.htm", "<p><a href=\"e.htm\" target=_SELF>next</a>");
  write("e.htm", "<p>e page");
  twoFrames("<a href=\"d.htm\">d</a>");
  click(frame("nav"), 0);
  EXPECT_EQ(frame("nav").ShownFileName(), path("d.htm"));
  click(frame("nav"), 0);
  EXPECT_EQ(frame("nav").ShownFileName(), path("e.htm"));
  EXPECT_EQ(frame("main").ShownFileName(), path("c.htm"));
}

TEST_F(FrameLinks, TopTargetReplacesTheFramesetFromInsideTheClick) {
  write("whole.htm", "<p>whole page");
  twoFrames("<a href=\"whole.htm\" target=_top>all</a>");
  TFrameSet* before = &top();
  click(frame("nav"), 0);  // the clicked viewer's set goes after the click is handled
  EXPECT_NE(&top(), before);
  EXPECT_EQ(fv().GetViewerCount(), 1);
  EXPECT_EQ(fv().GetViewer(0)->ShownFileName(), path("whole.htm"));
  EXPECT_EQ(fv().HistoryCount(), 0);  // no history by default: the old set is freed
}

TEST_F(FrameLinks, TheSameFramesetReloadedFromItsOwnFrame) {
  twoFrames("<a href=\"set.htm\" target=_top>again</a>");
  TFrameSet* before = &top();
  click(frame("nav"), 0);  // the clicked frame is replaced while its click runs
  EXPECT_EQ(&top(), before);
  EXPECT_EQ(fv().GetViewerCount(), 2);
  EXPECT_EQ(frame("main").ShownFileName(), path("c.htm"));
  // The host clears the viewer from inside its click handler.
  fv().OnHotSpotTargetClick = [&](gui::TObject*, const std::string&, const std::string&, bool& Handled) {
    Handled = fv().Clear();
  };
  click(frame("nav"), 0);
  EXPECT_EQ(fv().GetViewerCount(), 0);
}

TEST_F(FrameLinks, ParentTargetsLoadTheFrameHoldingTheNestedSet) {
  write("d.htm", "<p>d page");
  write("leaf.htm", "<a href=\"d.htm\" target=_parent>up</a>");
  write("inner.htm", "<frameset rows=\"*,*\"><frame name=leaf src=leaf.htm><frame src=c.htm></frameset>");
  twoFrames("<p>nav");
  frameNamed("nav").NavigateFrame(path("inner.htm"), "", false, true);
  click(frame("leaf"), 0);
  ASSERT_NE(frameNamed("nav").Viewer(), nullptr);
  EXPECT_EQ(frame("nav").ShownFileName(), path("d.htm"));
  EXPECT_EQ(fv().FrameViewerByName("leaf"), nullptr);
}

TEST_F(FrameLinks, AnAnchorInASingleFrameDocumentOnlyScrolls) {
  write("one.htm", "<p><a href=\"#low\">down</a><p style=\"margin-top:900px\"><a name=low>low</a>");
  fv().SetHistoryMaxCount(3);
  load("one.htm");
  TFrameSet* set = &top();
  click(*fv().GetViewer(0), 0);
  EXPECT_EQ(&top(), set);
  EXPECT_GT(fv().GetViewer(0)->VerticalPosition(), 0);
  EXPECT_EQ(fv().VisitedList().Strings(0), path("one.htm") + "#low");
}

TEST_F(FrameLinks, UnknownTargetsGoToTheHostOrNowhere) {
  twoFrames("<a href=\"c.htm#z\" target=elsewhere>out</a>");
  click(frame("nav"), 0);
  EXPECT_EQ(frame("nav").ShownFileName(), path("nav.htm"));
  EXPECT_EQ(fv().VisitedList().IndexOf(path("c.htm#z")), -1);

  std::string asked;
  fv().OnBlankWindowRequest = [&](gui::TObject*, const std::string& Target, const std::string& URL) {
    asked = Target + "|" + URL;
  };
  click(frame("nav"), 0);
  EXPECT_EQ(asked, "elsewhere|c.htm#z");
  EXPECT_EQ(fv().VisitedList().Strings(0), path("c.htm") + "#z");
  EXPECT_EQ(frame("nav").ShownFileName(), path("nav.htm"));
}

TEST_F(FrameLinks, HoversReportTheFramesViewerAndTarget) {
  twoFrames("<a href=\"c.htm\" target=main>go</a>");
  std::vector<std::string> covered;
  gui::TObject* sender = nullptr;
  fv().OnHotSpotTargetCovered = [&](gui::TObject* Sender, const std::string& Target, const std::string& URL) {
    sender = Sender;
    covered.push_back(Target + "|" + URL);
  };
  hover(frame("nav"), 0);
  EXPECT_EQ(covered, std::vector<std::string>{"main|c.htm"});
  EXPECT_EQ(sender, &frame("nav"));
  EXPECT_EQ(fv().LinkText(), u"go");
}

TEST_F(FrameLinks, ClicksWhileBusyAreSwallowed) {
  twoFrames("<a href=\"c.htm\">go</a>");
  bool handled = false;
  bool asked = false;
  fv().OnHotSpotTargetClick = [&](gui::TObject*, const std::string&, const std::string&, bool&) { asked = true; };
  fv().OnProcessing = [&](gui::TObject*, bool On) {
    if (On) fv().HotSpotClickHandler(&frame("nav"), "c.htm", handled);
  };
  fv().Reload();
  EXPECT_TRUE(handled);
  EXPECT_FALSE(asked);
}

TEST_F(FrameLinks, ASingleFrameDocumentIsReplacedAsAWholeAndRecorded) {
  write("one.htm", "<p><a href=\"two.htm\">two</a><p style=\"margin-top:900px\"><a name=low>low</a>");
  write("two.htm", "<p><a href=\"one.htm#low\">one</a>");
  fv().SetHistoryMaxCount(3);
  load("one.htm");
  TFrameSet* first = &top();
  click(*fv().GetViewer(0), 0);
  EXPECT_NE(&top(), first);
  ASSERT_EQ(fv().HistoryCount(), 2);
  EXPECT_EQ(fv().HistoryName(0), path("two.htm"));
  EXPECT_EQ(fv().HistoryName(1), path("one.htm"));
  EXPECT_EQ(fv().HistorySet(1), first);  // kept, not freed
  EXPECT_TRUE(fv().BackButtonEnabled());
  EXPECT_FALSE(fv().FwdButtonEnabled());
  click(*fv().GetViewer(0), 0);
  EXPECT_EQ(fv().GetViewer(0)->ShownFileName(), path("one.htm"));
  EXPECT_GT(fv().GetViewer(0)->VerticalPosition(), 0);
}

TEST_F(FrameLinks, HistoryKeepsAtMostItsCountAndFreesDroppedSets) {
  fv().SetHistoryMaxCount(3);
  for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"}) {
    write(name, std::string("<p>") + name);
    load(name);
  }
  ASSERT_EQ(fv().HistoryCount(), 3);
  EXPECT_EQ(fv().HistoryName(0), path("e.htm"));
  EXPECT_EQ(fv().HistoryName(2), path("c.htm"));
  fv().ClearHistory();
  EXPECT_EQ(fv().HistoryCount(), 0);
  pump();
}

TEST_F(FrameLinks, DocumentNamesExpandAgainstTheBaseFolder) {
  write("a.htm", "<head><base href=\"/srv/docs/index.htm\"></head><p>a");
  load("a.htm");
  EXPECT_EQ(fv().ExpandDocumentName("x.htm"), "/srv/docs/x.htm");
  EXPECT_EQ(fv().ExpandDocumentName("/abs/x.htm"), "/abs/x.htm");
  EXPECT_EQ(fv().ExpandDocumentName("c:\\x.htm"), "c:\\x.htm");
  write("b.htm", "<head><base href=\"DosPath\"></head><p>b");
  load("b.htm");
  EXPECT_EQ(fv().ExpandDocumentName("x.htm"), "x.htm");
  write("c.htm", "<p>c");
  load("c.htm");
  EXPECT_EQ(fv().ExpandDocumentName("x.htm"), path("x.htm"));
}

TEST_F(FrameLinks, VisitedLinksChangeInEveryFrameAndCanBeReset) {
  // A later link to c.htm, in two runs, shares the first one's answer.
  twoFrames("<a href=\"c.htm\">c</a> <a href=\"z.htm\">z</a> <a href=\"c.htm\">c <b>again</b></a>");
  fv().AddVisited(path("c.htm"));
  fv().UpdateVisitedLinks();
  engine::TLinkList& links = frame("nav").Document().Links;
  ASSERT_EQ(links.Count(), 4);
  EXPECT_TRUE(links.Items(0)->Visited);
  EXPECT_FALSE(links.Items(1)->Visited);
  EXPECT_TRUE(links.Items(2)->Visited);
  EXPECT_TRUE(links.Items(3)->Visited);
  fv().SetVisitedMaxCount(2);
  fv().AddVisited("p");
  fv().AddVisited("q");
  fv().AddVisited("q");
  EXPECT_EQ(fv().VisitedList().Count(), 2);
  EXPECT_EQ(fv().VisitedList().Strings(0), "q");
  fv().SetVisitedMaxCount(0);
  EXPECT_EQ(fv().VisitedList().Count(), 0);
  EXPECT_FALSE(links.Items(0)->Visited);
}

}  // namespace
}  // namespace viewer
