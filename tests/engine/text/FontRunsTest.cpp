#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/css/FontInfo.h"
#include "engine/css/TProperties.h"
#include "engine/text/TFontList.h"
#include "engine/text/TLinkList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/user/Input.h"

namespace engine {
namespace {

std::unique_ptr<TMyFont> MeasuredFont(double points, bool italic = false) {
  TProperties props;
  props.DefFontName = "Arial";
  props.Value(Prop::FontFamily) = std::string("Arial");
  props.Value(Prop::FontSize) = points;
  if (italic) props.Value(Prop::FontStyle) = std::string("italic");
  return props.GetFont();
}

ThtFontInfo Look(double points, TColor color) {
  ThtFontInfo info;
  info.iName = "Arial";
  info.iSize = points;
  info.iColor = color;
  return info;
}

// A shown form with a panel to park link tab stops on, and a link list bound to it.
class FontRuns : public testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<gui::TForm>(nullptr);
    form_->SetBounds(0, 0, 200, 100);
    form_->Show();
    panel_ = new gui::TPanel(form_.get());
    panel_->SetParent(form_.get());
    links_.PaintPanel = panel_;
    links_.AddTabStop = [this](int tabIndex, gui::TWinControl* control) { tabStops_.push_back({tabIndex, control}); };
    links_.RemoveTabStop = [this](gui::TWinControl* control) {
      std::erase_if(tabStops_, [control](const auto& entry) { return entry.second == control; });
    };
    links_.OnLinkActivate = [this](TFontObj* run) { activated_.push_back(run); };
  }
  void TearDown() override {
    runs_.Clear();
    form_.reset();
    gui::Application->Reset();
    gui::Screen->Reset();
  }
  // A run at pos; a link run when id > 0.
  TFontObj* AddRun(int pos, int id = 0, int tabIndex = 0) {
    TFontObj* run = runs_.Add(std::make_unique<TFontObj>(nullptr, pos, MeasuredFont(12)));
    if (id > 0) {
      run->MutableUrlTarget().Url = "page" + std::to_string(id) + ".html";
      run->MutableUrlTarget().LinkId = id;
      run->MutableUrlTarget().TabIndex = tabIndex;
      run->JoinLinks(links_);
    }
    return run;
  }

  std::unique_ptr<gui::TForm> form_;
  gui::TPanel* panel_ = nullptr;
  TLinkList links_;
  TFontList runs_;
  std::vector<std::pair<int, gui::TWinControl*>> tabStops_;
  std::vector<TFontObj*> activated_;
};

TEST_F(FontRuns, MetricsFollowTheFontAndItsLinkLooks) {
  TFontObj italic(nullptr, 0, MeasuredFont(18.75, /*italic=*/true));  // 25 pixels at 96 ppi
  EXPECT_EQ(italic.Font->Height(), -25);
  EXPECT_EQ(italic.Overhang(), italic.tmHeight / 10);
  TFontObj plain(nullptr, 0, MeasuredFont(12));
  EXPECT_EQ(plain.Overhang(), 0);
  EXPECT_EQ(plain.FontHeight, plain.Font->tmHeight + plain.Font->tmExternalLeading);

  for (auto [points, height] : {std::pair{12.0, -16}, std::pair{10.0, -13}, std::pair{7.5, -10}}) {
    plain.ApplyFontInfo(Look(points, 0));
    EXPECT_EQ(plain.Font->Height(), height);
  }
  // A visited look of another size changes the line height (the metrics are measured again).
  TFontObj link(nullptr, 0, MeasuredFont(12));
  link.EnsureLinkLooks();
  for (int i = 0; i < 4; ++i) link.LinkLooks()->Ar[static_cast<std::size_t>(i)] = std::make_unique<ThtFontInfo>(Look(12, 0xFF0000));
  *link.LinkLooks()->Ar[TFontInfoArray::Visited] = Look(24, 0x0000FF);
  const int normalHeight = link.FontHeight;
  link.SetVisited(true);
  EXPECT_EQ(link.Font->Color(), 0x0000FFu);
  EXPECT_GT(link.FontHeight, normalHeight + 10);
  // A font of the run's look but another colour, to see whether a look is applied again.
  const auto recoloured = [](const TFontObj& run, gui::TColor colour) {
    auto font = std::make_shared<TMyFont>();
    font->AssignMyFont(*run.Font);
    font->SetColor(colour);
    return font;
  };
  link.ReplaceFont(recoloured(link, 0x123456));  // a second SetVisited(true) applies nothing
  link.SetVisited(true);
  EXPECT_EQ(link.Font->Color(), 0x123456u);
  // Runs without link looks keep their font whatever the state.
  plain.ReplaceFont(recoloured(plain, 0x654321));
  plain.SetVisited(true);
  plain.SetHover(true);
  EXPECT_EQ(plain.Font->Color(), 0x654321u);
}

// Runs of one element share its font; a run that changes its look changes a
// copy of its own, and the other holders keep theirs.
TEST_F(FontRuns, RunsShareTheElementFontAndCopyItOnChange) {
  TProperties props;
  props.DefFontName = "Arial";
  props.Value(Prop::FontFamily) = std::string("Arial");
  props.Value(Prop::FontSize) = 12.0;
  TFontObj first(nullptr, 0, props.SharedFont());
  TFontObj second(nullptr, 4, props.SharedFont());
  EXPECT_EQ(first.Font.get(), second.Font.get());
  // What a run of its own copy would hold (its charset is the measured one).
  const auto copy = props.GetFont();
  TFontObj own(nullptr, 0, props.GetFont());
  EXPECT_EQ(first.Font->Name(), own.Font->Name());
  EXPECT_EQ(first.Font->Height(), own.Font->Height());
  EXPECT_EQ(first.Font->Charset(), own.Font->Charset());
  EXPECT_EQ(first.Font->tmHeight, own.Font->tmHeight);
  EXPECT_EQ(first.FontHeight, own.FontHeight);
  EXPECT_EQ(first.FontHeight, second.FontHeight);

  first.ApplyFontInfo(Look(24, 0x0000FF));
  EXPECT_NE(first.Font.get(), second.Font.get());
  EXPECT_EQ(first.Font->Color(), 0x0000FFu);
  EXPECT_GT(first.FontHeight, second.FontHeight);
  EXPECT_EQ(second.Font->Height(), copy->Height());
  EXPECT_EQ(props.CachedFont->Color(), copy->Color());
  EXPECT_EQ(props.CachedFont->Height(), copy->Height());

  // Runs of one look share one font, even when their elements made it anew;
  // a later change to one leaves the others as they were.
  const std::shared_ptr<const TMyFont> anew = props.GetFont();
  TFontObj apart(nullptr, 0, anew);
  EXPECT_EQ(apart.Font.get(), second.Font.get());
  TFontObj later(nullptr, 0, props.SharedFont());
  later.ApplyFontInfo(Look(24, 0x0000FF));
  EXPECT_EQ(later.Font.get(), first.Font.get());
  later.ApplyFontInfo(Look(10, 0xFF0000));
  EXPECT_NE(later.Font.get(), first.Font.get());
  EXPECT_EQ(first.Font->Color(), 0x0000FFu);
  EXPECT_EQ(first.Font->Height(), -32);

  // Another pixels per inch gives a copy read at that resolution.
  const auto printed = props.SharedFont(300);
  EXPECT_NE(printed.get(), props.CachedFont.get());
  EXPECT_EQ(printed->PixelsPerInch(), 300);
  EXPECT_EQ(printed->Size(), copy->Size());
}

TEST_F(FontRuns, RunLookupsByPosition) {
  AddRun(0);
  AddRun(5);
  AddRun(9);
  int index = -1;
  EXPECT_EQ(runs_.RunAt(5, index), runs_.Items(1));
  EXPECT_EQ(runs_.RunAt(4, index), runs_.Items(0));
  EXPECT_EQ(runs_.RunAt(20, index), runs_.Items(2));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(runs_.CharsToNextRun(6, 12), 3);
  EXPECT_EQ(runs_.CharsToNextRun(10, 12), 2);
}

TEST_F(FontRuns, OneTabStopPerLinkAndFocusMarksEveryRunOfIt) {
  TFontObj* first = AddRun(0, 10);
  TFontObj* bold = AddRun(3, 10);
  TFontObj* last = AddRun(6, 10);
  TFontObj* other = AddRun(9, 11, /*tabIndex=*/2);
  ASSERT_NE(first->TabControl(), nullptr);
  EXPECT_EQ(bold->TabControl(), nullptr);
  EXPECT_EQ(last->TabControl(), nullptr);
  ASSERT_NE(other->TabControl(), nullptr);
  EXPECT_EQ(tabStops_, (std::vector<std::pair<int, gui::TWinControl*>>{{2, other->TabControl()}}));
  EXPECT_EQ(first->TabControl()->Left(), -4000);

  first->TabControl()->SetFocus();
  EXPECT_TRUE(first->Active && bold->Active && last->Active);
  EXPECT_FALSE(other->Active);
  win::SendMessageW(win::GetFocus(), win::WM_KEYDOWN, win::VK_TAB, 0);  // Tab moves on to the next link
  EXPECT_FALSE(first->Active || bold->Active || last->Active);
  EXPECT_TRUE(other->Active);
  last->SetLinkY(120);
  EXPECT_EQ(first->LinkY(), 120);
}

TEST_F(FontRuns, AnEmptiedLinkRunHandsItsTabStopOn) {
  AddRun(0);
  TFontObj* head = AddRun(2, 10, /*tabIndex=*/1);
  TFontObj* next = AddRun(3, 10);
  AddRun(6);
  gui::TWinControl* stop = head->TabControl();
  // The link's one character went: the head run starts where the next one does.
  runs_.Remap(std::vector<int>{0, 1, 2, 2, 3, 4, 5, 6});
  ASSERT_EQ(runs_.Count(), 3);
  EXPECT_EQ(runs_.Items(1), next);
  EXPECT_EQ(next->TabControl(), stop);
  EXPECT_EQ(links_.IndexOf(next), links_.Count() - 1);
  EXPECT_EQ(tabStops_.size(), 1u);  // still registered, now for the next run
  next->TabControl()->SetFocus();
  EXPECT_TRUE(next->Active);
  win::SendMessageW(next->TabControl()->Handle(), win::WM_KEYDOWN, win::VK_RETURN, 0);
  EXPECT_EQ(activated_, std::vector<TFontObj*>{next});
}

TEST_F(FontRuns, RunsLeavingTheLinkListTakeTheirTabStopsAlong) {
  TFontObj* link = AddRun(0, 10, /*tabIndex=*/3);
  EXPECT_EQ(tabStops_.size(), 1u);
  // A link that ends where it starts is a plain run again: out of the list, no tab stop.
  link->LeaveLinks(nullptr);
  EXPECT_EQ(link->TabControl(), nullptr);
  EXPECT_TRUE(tabStops_.empty());
  EXPECT_EQ(links_.LiveCount(), 0);
  // Freeing a run takes its stop out of the tab list too.
  AddRun(4, 12, /*tabIndex=*/1);
  EXPECT_EQ(tabStops_.size(), 1u);
  runs_.Clear();
  EXPECT_TRUE(tabStops_.empty());
  EXPECT_EQ(links_.LiveCount(), 0);
}

// A cleared document frees its runs in order: while the list dissolves, each
// freed run only leaves its slot and its tab stop, and the runs still standing
// when it is cleared leave as usual.
TEST_F(FontRuns, RunsFreedWhileTheListDissolvesLeaveNothingBehind) {
  TFontList kept;
  TFontObj* first = AddRun(0, 10, /*tabIndex=*/2);
  AddRun(3, 10);
  AddRun(6, 11, /*tabIndex=*/1);
  TFontObj* survivor = kept.Emplace(nullptr, 0, MeasuredFont(12));
  survivor->MutableUrlTarget().Url = "page10.html";
  survivor->MutableUrlTarget().LinkId = 10;
  survivor->JoinLinks(links_);
  ASSERT_NE(first->TabControl(), nullptr);
  ASSERT_EQ(tabStops_.size(), 2u);
  links_.BeginDissolve();
  runs_.Clear();
  EXPECT_TRUE(tabStops_.empty());
  EXPECT_EQ(links_.LiveCount(), 1);
  EXPECT_EQ(links_.IndexOf(survivor), 3);
  links_.Clear();
  EXPECT_FALSE(links_.Dissolving());
  EXPECT_EQ(survivor->Links(), nullptr);
  EXPECT_EQ(links_.Count(), 0);
  // The list works as before afterwards.
  TFontObj* again = AddRun(0, 12);
  EXPECT_EQ(links_.IndexOf(again), 0);
  EXPECT_NE(again->TabControl(), nullptr);
}

TEST_F(FontRuns, TabStopsOutliveTheirPanelAndRunsOutliveTheirList) {
  TFontObj* link = AddRun(0, 10);
  link->TabControl()->SetFocus();
  delete panel_;  // the panel goes first: the run still owns its stop, which has lost its parent
  links_.PaintPanel = nullptr;
  EXPECT_EQ(link->TabControl()->Parent(), nullptr);
  runs_.Clear();
  // A list that goes first leaves its runs unlinked.
  auto list = std::make_unique<TLinkList>();
  TFontObj* orphan = runs_.Add(std::make_unique<TFontObj>(nullptr, 0, MeasuredFont(12)));
  orphan->MutableUrlTarget().Url = "x";
  orphan->JoinLinks(*list);
  list.reset();
  EXPECT_EQ(orphan->Links(), nullptr);
}

// The list holds one run in itself and the others apart; a run keeps its place whatever is
// dropped before it, and a dropped link run held in the list hands its tab stop on.
TEST_F(FontRuns, RunsHeldInTheListOrApartKeepTheirPlaces) {
  TFontObj* first = runs_.Emplace(nullptr, 0, MeasuredFont(12));
  TFontObj* second = runs_.Emplace(nullptr, 4, MeasuredFont(12));
  TFontObj* third = runs_.Emplace(nullptr, 8, MeasuredFont(12));
  for (TFontObj* run : {first, second}) {
    run->MutableUrlTarget().Url = "page.html";
    run->MutableUrlTarget().LinkId = 7;
    run->JoinLinks(links_);
  }
  ASSERT_NE(first->TabControl(), nullptr);
  std::vector<int> map(13);
  for (int i = 0; i < 13; ++i) map[static_cast<std::size_t>(i)] = std::max(0, i - 4);  // the first run empties
  runs_.Remap(map);
  ASSERT_EQ(runs_.Count(), 2);
  EXPECT_EQ(runs_.Items(0), second);
  EXPECT_EQ(runs_.Items(1), third);
  EXPECT_NE(second->TabControl(), nullptr);
  EXPECT_EQ(links_.LiveCount(), 1);
  // Runs made after the drop join the list in order, and every run goes with the list.
  for (int pos = 9; pos < 40; ++pos) runs_.Emplace(nullptr, pos, MeasuredFont(12));
  ASSERT_EQ(runs_.Count(), 33);
  EXPECT_EQ(runs_.Items(0), second);
  for (int index = 2; index < runs_.Count(); ++index) EXPECT_EQ(runs_.Items(index)->Pos, index + 7);
  runs_.Clear();
  EXPECT_EQ(links_.LiveCount(), 0);
}

TEST_F(FontRuns, ListsBuiltInTheSpareRoomKeepTheirRunsWhenSettled) {
  // One list settles inside the spare room, one outgrows it, one is freed
  // unsettled, and the next list takes the room the first handed back.
  for (const int count : {3, 100, 5, 2}) {
    TFontList list;
    list.BuildInSpareRoom();
    std::vector<TFontObj*> made;
    for (int pos = 0; pos < count; ++pos) made.push_back(list.Emplace(nullptr, pos * 2, MeasuredFont(12)));
    if (count == 5) continue;
    list.Settle();
    ASSERT_EQ(list.Count(), count);
    for (int index = 0; index < count; ++index) EXPECT_EQ(list.Items(index), made[static_cast<std::size_t>(index)]);
    EXPECT_TRUE(std::equal(list.begin(), list.end(), made.begin(), made.end()));
    int found = -1;
    EXPECT_EQ(list.RunAt(count * 2 - 1, found), made.back());
    EXPECT_EQ(found, count - 1);
    // A settled list grows as any other.
    TFontObj* last = list.Emplace(nullptr, count * 2, MeasuredFont(12));
    EXPECT_EQ(list.Last(), last);
    EXPECT_EQ(list.Items(0), made.front());
  }
}

TEST_F(FontRuns, ManyLinkRunsLeaveTheListInLinearTime) {
  links_.PaintPanel = nullptr;  // no stops: only the list's bookkeeping
  for (int i = 0; i < 20000; ++i) AddRun(i, 100 + i);
  std::vector<int> map;
  for (int i = 0; i <= 20000; ++i) map.push_back(i / 2 * 2);  // every other run starts where the next does
  runs_.Remap(map);
  EXPECT_EQ(runs_.Count(), 10000);
  EXPECT_EQ(links_.LiveCount(), 10000);
  for (int i = 0; i < links_.Count(); ++i)
    if (TFontObj* run = links_.Items(i)) {
      ASSERT_EQ(links_.IndexOf(run), i);
    }
}

}  // namespace
}  // namespace engine
