// The document root: tab order, the animation timer on the virtual clock,
// document copies, defaults, parse hooks and position queries.
#include <gtest/gtest.h>

#include "engine/document/TIDNameList.h"
#include "engine/html/ParseState.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TTimer.h"
#include "platform/gui/TWinControl.h"
#include "platform/win/kernel/Clock.h"
#include "tests/engine/document/DocumentFixtures.h"

namespace engine {
namespace {

using namespace engine::testing;

class CountingGif : public IAnimatedImage {
 public:
  void SetAnimating(bool animating) override { animating_ = animating; ++restarts; }
  bool AdvanceAnimation(gui::TWinControl*) override {
    ++advances;
    return false;
  }
  int CurrentFrame() const override { return 0; }
  int advances = 0;
  int restarts = 0;

 private:
  bool animating_ = false;
};

TEST(DocumentRoot, TabOrderFollowsTabIndexThenRegistrationPastAThousandStops) {
  gui::TWinControl parent(nullptr);
  std::vector<std::unique_ptr<gui::TWinControl>> controls;
  TSectionList root(nullptr, nullptr);
  for (int i = 0; i < 1500; ++i) {
    controls.push_back(std::make_unique<gui::TWinControl>(nullptr));
    controls.back()->SetParent(&parent);
  }
  // Registered in reverse so that document order and creation order differ.
  root.AddTabStop(2, controls[0].get());
  for (int i = 1499; i >= 1; --i) root.AddTabStop(1, controls[static_cast<std::size_t>(i)].get());
  LayOut(root, 300);
  EXPECT_EQ(root.TabStopCount(), 0);
  for (int i = 1499; i >= 2; --i)
    ASSERT_LT(controls[static_cast<std::size_t>(i)]->TabOrder(), controls[static_cast<std::size_t>(i - 1)]->TabOrder());
  EXPECT_EQ(controls[0]->TabOrder(), 1499);
  // A second layout assigns nothing again.
  controls[0]->SetTabOrder(0);
  LayOut(root, 300);
  EXPECT_EQ(controls[0]->TabOrder(), 0);
  for (auto& control : controls) control->SetParent(nullptr);
}

TEST(DocumentRoot, AnimationTicksFiftyThenEveryFortyMilliseconds) {
  win::VirtualClock& clock = win::useVirtualClock();
  {
    TSectionList root(nullptr, nullptr);
    CountingGif gif;
    root.AGifList.push_back(&gif);
    LayOut(root, 300);
    ASSERT_TRUE(root.Timer);
    EXPECT_TRUE(root.Timer->Enabled());
    gif.ShowIt = true;
    clock.advance(49);
    gui::Application->ProcessMessages();
    EXPECT_EQ(gif.advances, 0);
    clock.advance(1);
    gui::Application->ProcessMessages();
    EXPECT_EQ(gif.advances, 1);
    // Paints in between keep the period going.
    root.PaintContent(nullptr, win::RECT{0, 0, 300, 300}, 6000, 0, 0, 0, 0);
    gif.ShowIt = true;
    clock.advance(40);
    gui::Application->ProcessMessages();
    EXPECT_EQ(gif.advances, 2);
    root.AGifList.clear();
    LayOut(root, 300);
    EXPECT_FALSE(root.Timer->Enabled());
  }
  win::setClock(nullptr);
}

TEST(DocumentRoot, CopyIsLaidOutAndFreedWithoutTouchingTheSource) {
  TSectionList root(nullptr, nullptr);
  gui::TWinControl control(nullptr);
  auto style = MakeStyle("div", {{"margin-top", "7px"}});
  TBlock* block = AddBlock(root, *style);
  AddContent(*block->MyCell, 30, 4);
  root.IDNameList->AddObject("top", block);
  root.AddTabStop(1, &control);
  CountingGif gif;
  root.AGifList.push_back(&gif);
  root.YOffset = 12;
  {
    auto copy = TSectionList::CreateCopy(root);
    EXPECT_TRUE(copy->IsCopy);
    EXPECT_EQ(copy->YOffset, 12);
    EXPECT_EQ(copy->Count(), 1);
    EXPECT_EQ(LayOut(*copy, 200), 37);
    copy->PaintContent(nullptr, win::RECT{0, 0, 200, 100}, 6000, 0, 0, 0, 0);
    EXPECT_FALSE(copy->Timer);
    EXPECT_TRUE(copy->PositionList.empty());
    EXPECT_EQ(copy->ScaleX, 1.0f);
    EXPECT_EQ(gif.restarts, 0);
  }
  EXPECT_EQ(root.TabStopCount(), 1);
  EXPECT_FALSE(root.Timer);
  EXPECT_EQ(root.IDNameList->Find("TOP"), block);
  EXPECT_EQ(block->TopY, kNotLaidOutY);
}

TEST(DocumentRoot, DefaultsCutThePreFontNameAndNeverCompoundFontSizes) {
  TSectionList root(nullptr, nullptr);
  int changes = 0;
  root.OnBackgroundChanged = [&](TSectionList* sender) {
    EXPECT_EQ(sender, &root);
    ++changes;
  };
  for (int load = 0; load < 3; ++load)
    root.SetDocumentDefaults("Liberation Serif", std::string(40, 'c'), 14, 0, 0xFF0000, 0x800080, 0x0000FF,
                             0xFFFFFF, true, true, 1, 5, 10);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(root.PreFontName, std::string(32, 'c'));
  EXPECT_DOUBLE_EQ(root.FontConv[2], 14.0);
  EXPECT_DOUBLE_EQ(root.PreFontConv[6], 35.0);
  EXPECT_TRUE(root.OverLinksActive);
}

TEST(DocumentRoot, ParseHooksRegisterAnchorsAndReportProgress) {
  TSectionList root(nullptr, nullptr);
  int reported = -1;
  root.OnProgress = [&](int percent) { reported = percent; };
  root.ConnectParseHooks(parseState);
  parseState.RegisterIdAnchor("Intro", 42);
  parseState.ReportProgress(30);
  ResetParseState();
  EXPECT_NE(root.IDNameList->Find("intro"), nullptr);
  EXPECT_EQ(reported, 30);
}

// The parser registers every id as a position and then the element that
// carries it: the last registration of a name wins, whatever the case, and a
// freed object leaves every name it stood under.
TEST(DocumentRoot, AnchorNamesRegisteredAgainPointAtTheLastObject) {
  struct Marker : TIDObject {
    int GetDocumentY() override { return 5; }
  };
  TSectionList root(nullptr, nullptr);
  TIDNameList& names = *root.IDNameList;
  auto element = std::make_unique<Marker>();
  names.AddPositionAnchor("s1", 10);
  names.AddObject("S1", element.get());
  names.AddObject("other", element.get());
  EXPECT_EQ(names.Find("s1"), element.get());
  EXPECT_EQ(names.Count(), 2);
  names.AddPositionAnchor("Other", 20);  // the element still stands under s1
  ASSERT_NE(names.Find("other"), element.get());
  EXPECT_EQ(names.Count(), 2);
  element.reset();
  EXPECT_EQ(names.Find("s1"), nullptr);
  EXPECT_NE(names.Find("OTHER"), nullptr);
  Marker second;
  names.AddObject("s1", &second);
  names.AddObject("s1", nullptr);  // no object: the name goes
  EXPECT_EQ(names.Find("s1"), nullptr);
  EXPECT_EQ(names.Count(), 1);
  names.AddObject("s2", &second);
  names.Clear();
  EXPECT_EQ(names.Find("s2"), nullptr);
}

TEST(DocumentRoot, PositionQueriesFallBackToTheDocumentEnd) {
  TSectionList root(nullptr, nullptr);
  FakeSection* a = AddContent(root, 20, 5);
  FakeSection* b = AddContent(root, 20, 5);
  a->sourcePos = 100;
  b->sourcePos = 200;
  LayOut(root, 300);
  EXPECT_EQ(root.FindDocPos(200, false), 5);
  EXPECT_EQ(root.FindDocPos(999, false), 10);
  int x = 0;
  int y = 0;
  ASSERT_TRUE(root.FindCaretXY(nullptr, 10, x, y));
  EXPECT_EQ(x, 4 + 15);
  EXPECT_EQ(y, 20);
  // A position anchor answers the Y of its place.
  root.IDNameList->AddPositionAnchor("second", 200);
  EXPECT_EQ(root.IDNameList->Find("second")->GetDocumentY(), 20);
}

TEST(DocumentRoot, PaintSetsThePageBottomFromTheScrollOffset) {
  TSectionList root(nullptr, nullptr);
  AddContent(root, 2000);
  LayOut(root, 300);
  root.SetYOffset(300);
  root.PaintContent(nullptr, win::RECT{0, 0, 300, 600}, 6000, 0, 0, 0, 0);
  EXPECT_EQ(root.VisibleBottom, 900);
  EXPECT_FALSE(root.YOffsetChange);
}

}  // namespace
}  // namespace engine
