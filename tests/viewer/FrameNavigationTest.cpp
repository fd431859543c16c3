// Frames loading documents themselves: replacing a viewer with a nested
// frameset, reloads, resets, the frames' own histories with form values,
// and META refresh timers of frames and frame sets on the virtual clock.
#include <gtest/gtest.h>

#include <string>

#include "FrameLinksTestSupport.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TStringList.h"
#include "viewer/TSubFrameSet.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

class FrameNavigation : public viewertest::FrameViewerFixture {
 protected:
  void SetUp() override {
    viewertest::FrameViewerFixture::SetUp();
    engine::InstallFormHooks();
  }
  void TearDown() override {
    viewertest::FrameViewerFixture::TearDown();
    engine::RemoveFormHooks();
  }
  void twoFrames(const std::string& navText, const std::string& mainText) {
    write("nav.htm", navText);
    write("c.htm", mainText);
    write("set.htm", "<frameset cols=\"50%,*\"><frame name=nav src=nav.htm><frame name=main src=c.htm></frameset>");
    load("set.htm");
  }
  TfvFrame& frameNamed(const std::string& name) { return *top().FrameByName(name); }
  static std::string tallDocumentWithAnchor() {
    std::string html = "<body>";
    for (int i = 0; i < 80; ++i) html += "<p>Paragraph " + std::to_string(i) + "</p>";
    return html + "<p><a name=end>End</a></body>";
  }
};

TEST_F(FrameNavigation, AFrameBecomesANestedFramesetFromItsOwnClick) {
  write("inner.htm", "<frameset rows=\"*,*\"><frame name=up src=c.htm><frame name=down src=c.htm></frameset>");
  twoFrames("<a href=\"inner.htm\">in</a><p>x<p>y<p>z<form><input name=q value=kept></form>", "<p>c");
  TfvFrame& nav = frameNamed("nav");
  std::string clicked;
  fv().OnHotSpotTargetClick = [&](gui::TObject*, const std::string& Target, const std::string& URL, bool&) {
    clicked = Target + "|" + URL;
  };
  click(frame("nav"), 0);  // the clicked viewer goes after the click is handled
  EXPECT_EQ(clicked, "|inner.htm");
  ASSERT_NE(nav.NestedSet(), nullptr);
  EXPECT_EQ(nav.Viewer(), nullptr);
  EXPECT_EQ(fv().GetViewerCount(), 3);
  EXPECT_NE(fv().FrameViewerByName("up"), nullptr);
  ASSERT_EQ(nav.HistoryCount(), 2);
  EXPECT_EQ(nav.HistoryName(0), path("inner.htm"));
  ASSERT_NE(nav.HistoryPosition(1).FormData, nullptr);
  EXPECT_EQ(*nav.HistoryPosition(1).FormData, (TFormData{{"q=kept"}}));

  // Back to a plain document: the nested set stays with the entry that names it.
  TSubFrameSet* nested = nav.NestedSet();
  nav.NavigateFrame(path("c.htm"), "", false, true);
  pump();
  EXPECT_EQ(nav.NestedSet(), nullptr);
  ASSERT_NE(nav.Viewer(), nullptr);
  EXPECT_EQ(nav.HistorySet(1), nested);
  EXPECT_EQ(fv().FrameViewerByName("up"), nullptr);
  EXPECT_EQ(fv().GetViewerCount(), 2);
}

TEST_F(FrameNavigation, SameDocumentReloadsInPlaceOrOnlyScrolls) {
  twoFrames("<p>nav", tallDocumentWithAnchor());
  TfvFrame& main = frameNamed("main");
  THTMLViewer& viewer = frame("main");
  viewer.SetVerticalPosition(120);
  main.NavigateFrame("", "", true, true);
  EXPECT_EQ(viewer.VerticalPosition(), 120);
  EXPECT_EQ(main.HistoryCount(), 1);
  main.NavigateFrame("", "#end", false, true);
  EXPECT_GT(viewer.VerticalPosition(), 120);
  EXPECT_EQ(main.HistoryCount(), 2);
  main.NavigateFrame("", "#end", false, true);  // no move, no step
  EXPECT_EQ(main.HistoryCount(), 2);
}

TEST_F(FrameNavigation, ANestedSetShownAgainResetsItsFrames) {
  write("d.htm", "<p>d");
  write("inner.htm", "<frameset rows=\"*,*\"><frame name=up src=c.htm><frame name=down src=c.htm></frameset>");
  twoFrames("<p>nav", "<p>c");
  TfvFrame& nav = frameNamed("nav");
  nav.NavigateFrame(path("inner.htm"), "", false, true);
  TfvFrame& up = *top().FrameByName("up");
  up.NavigateFrame(path("d.htm"), "", false, true);
  EXPECT_EQ(frame("up").ShownFileName(), path("d.htm"));
  nav.NavigateFrame(path("inner.htm"), "", false, true);
  EXPECT_EQ(frame("up").ShownFileName(), path("c.htm"));
}

TEST_F(FrameNavigation, AFramesHistoryStaysBoundedAndFreesTheSetsItDrops) {
  write("inner.htm", "<frameset rows=\"*,*\"><frame src=c.htm><frame src=c.htm></frameset>");
  twoFrames("<p>nav", "<p>c");
  TfvFrame& nav = frameNamed("nav");
  for (int i = 0; i < 40; ++i) {
    nav.NavigateFrame(path("inner.htm"), "", false, true);
    nav.NavigateFrame(path("c.htm"), "", false, true);
  }
  pump();
  EXPECT_EQ(nav.HistoryCount(), 64);
  EXPECT_EQ(fv().GetViewerCount(), 2);
}

TEST_F(FrameNavigation, ReloadAsksTheHostForDocumentsItSupplied) {
  int asked = 0;
  fv().OnStringsRequest = [&](gui::TObject*, const std::string& SRC, gui::TStrings*& Strings) {
    ++asked;
    static gui::TStringList text;
    const bool top = SRC.size() >= 3 && SRC.compare(SRC.size() - 3, 3, "set") == 0;
    text.SetText(top ? "<frameset cols=\"*,*\"><frame name=a src=one><frame name=b src=two></frameset>"
                              : "<p>host page " + SRC);
    Strings = &text;
  };
  ASSERT_TRUE(fv().LoadFromFile(write("set", "x")));
  pump();
  const int before = asked;
  frameNamed("b").NavigateFrame("", "", true, true);
  EXPECT_EQ(asked, before + 1);
  EXPECT_NE(frame("b").SourceText().find("host page two"), std::string::npos);
}

TEST_F(FrameNavigation, SetsNamedByManyEntriesAreFreedOnce) {
  fv().SetHistoryMaxCount(5);
  write("a.htm", "<p>a");
  write("b.htm", "<p>b");
  load("a.htm");
  load("a.htm");
  load("a.htm");
  load("b.htm");
  EXPECT_EQ(fv().HistorySet(1), fv().HistorySet(2));
  load("a.htm");
  fv().Clear();
  pump();
  load("b.htm");
  load("a.htm");
}

TEST_F(FrameNavigation, AnUnreadableDocumentKeepsTheFrameAsItWas) {
  twoFrames("<p>nav", "<p>c");
  TfvFrame& main = frameNamed("main");
  try {
    main.NavigateFrame(path("missing.htm"), "", false, true);
    FAIL() << "no error";
  } catch (const EfvLoadError& error) {
    EXPECT_EQ(error.Message(), "Can't load: " + path("missing.htm"));
  }
  EXPECT_EQ(main.Source, path("c.htm"));
  EXPECT_EQ(frame("main").ShownFileName(), path("c.htm"));
}

TEST_F(FrameNavigation, AFramesRefreshFollowsAfterExactlyItsDelay) {
  fv().SetfvOptions(fv().fvOptions() | fvMetaRefresh);
  write("e.htm", "<p>e");
  twoFrames("<meta http-equiv=refresh content=\"1; url=missing.htm\"><p>nav",
            "<meta http-equiv=refresh content=\"2; url=e.htm\"><p>c");
  EXPECT_FALSE(frameNamed("nav").RefreshPending());  // no such file
  ASSERT_TRUE(frameNamed("main").RefreshPending());
  advance(1999);
  EXPECT_EQ(frame("main").ShownFileName(), path("c.htm"));
  advance(1);
  EXPECT_EQ(frame("main").ShownFileName(), path("e.htm"));
}

TEST_F(FrameNavigation, ASingleFramesRefreshReplacesTheDocumentFromItsTimer) {
  fv().SetfvOptions(fv().fvOptions() | fvMetaRefresh);
  write("next.htm", "<p>next");
  write("one.htm", "<meta http-equiv=refresh content=\"0; url=next.htm\"><p>one");
  load("one.htm");
  TFrameSet* before = &top();
  advance(1000);  // the frame and its timer are freed after this message
  EXPECT_NE(&top(), before);
  EXPECT_EQ(fv().GetViewer(0)->ShownFileName(), path("next.htm"));
  advance(5000);
}

TEST_F(FrameNavigation, AFramesetsRefreshOpensItsTargetOnlyWhenItExists) {
  fv().SetfvOptions(fv().fvOptions() | fvMetaRefresh);
  write("c.htm", "<p>c");
  write("gone.htm", "<head><meta http-equiv=refresh content=\"5; URL=nothere.htm\"></head>"
                    "<frameset cols=\"*,*\"><frame src=c.htm><frame src=c.htm></frameset>");
  load("gone.htm");
  EXPECT_FALSE(top().RefreshPending());
  write("next.htm", "<p>next");
  write("set.htm", "<head><meta http-equiv=refresh content=\"5; URL=next.htm\"></head>"
                   "<frameset cols=\"*,*\"><frame src=c.htm><frame src=c.htm></frameset>");
  load("set.htm");
  ASSERT_TRUE(top().RefreshPending());
  advance(4999);
  EXPECT_EQ(top().DocumentName, path("set.htm"));
  advance(1);  // the set is replaced from inside its own timer
  EXPECT_EQ(top().DocumentName, path("next.htm"));
}

TEST_F(FrameNavigation, HugeRefreshDelaysWaitInsteadOfOverflowing) {
  EXPECT_EQ(RefreshInterval(0), 1000u);
  EXPECT_EQ(RefreshInterval(5), 5000u);
  EXPECT_EQ(RefreshInterval(2147483647), 2000000000u);
}

}  // namespace
}  // namespace viewer
