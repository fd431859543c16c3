// Form controls on a shown panel: the host's click, focus, blur, change and
// browse events, radio groups walked with the arrow keys, and a host that
// clears the document from inside an event.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/objects/TButtonFormControlObj.h"
#include "engine/objects/TCheckBoxFormControlObj.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/TListBoxFormControlObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TEdit.h"
#include "platform/gui/TListBox.h"
#include "tests/engine/objects/FormControlTestSupport.h"

namespace engine {
namespace {

using FormControlEvents = testing::FormControlFixture;
using testing::HostEvent;

TEST_F(FormControlEvents, FocusBlurAndChangeReachTheHostWithTheirScripts) {
  Build("<form><input name=a value=x onfocus=F1 onblur=B1 onchange=C1><input name=b></form>");
  auto* a = Control<TEditFormControlObj>(0);
  a->EnterHandler();
  EXPECT_TRUE(a->Active);
  a->ExitHandler();  // unchanged: no change event
  EXPECT_EQ(events, (std::vector<HostEvent>{{"focus", "F1", a}, {"blur", "B1", a}}));
  EXPECT_EQ(depthSeen, 1);
  EXPECT_EQ(root_->ControlEventDepth, 0);

  events.clear();
  a->EnterHandler();
  a->Edit()->SetText(u"typed");
  a->ExitHandler();
  EXPECT_EQ(events, (std::vector<HostEvent>{{"focus", "F1", a}, {"change", "C1", a}, {"blur", "B1", a}}));
  EXPECT_FALSE(a->Active);
}

// A control destroyed while it has the focus reports no blur or change: the
// host would be handed a control that is going away.
TEST_F(FormControlEvents, AFocusedControlDestroyedWithItsDocumentReportsNothing) {
  Build("<form><input name=a value=x onfocus=F1 onblur=B1 onchange=C1></form>");
  auto* a = Control<TEditFormControlObj>(0);
  const win::HWND window = a->WindowControl()->Handle();
  win::SetFocus(window);
  ASSERT_EQ(win::GetFocus(), window);
  ASSERT_TRUE(a->Active);
  a->Edit()->SetText(u"typed");
  events.clear();
  root_->Clear();
  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(win::IsWindow(window));
  EXPECT_NE(win::GetFocus(), window);
}

TEST_F(FormControlEvents, OnlyTheUsersClicksReachTheHost) {
  Build("<form><input type=checkbox name=c onclick=K><input type=reset></form>");
  auto* box = Control<TCheckBoxFormControlObj>(0);
  auto* reset = Control<TButtonFormControlObj>(1);
  box->WindowControl()->SetBounds(10, 10, 13, 13);  // where a paint would place them
  reset->WindowControl()->SetBounds(40, 10, 60, 25);
  click(*box->WindowControl(), 5, 5);
  ASSERT_TRUE(box->Checked());
  EXPECT_EQ(events, (std::vector<HostEvent>{{"click", "K", box}}));
  // Reset and restore change the box by program: no click for the host.
  events.clear();
  Form()->ResetControls();
  Form()->SetFormData({"c=on"});
  EXPECT_TRUE(box->Checked());
  click(*reset->WindowControl(), 5, 5);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(events, (std::vector<HostEvent>{{"click", "", reset}}));
}

TEST_F(FormControlEvents, ArrowKeysWalkARadioGroupAndStopAtItsEnds) {
  Build("<form><input type=radio name=g value=1><input type=radio name=G value=2 checked>"
        "<input type=radio name=g value=3><input type=radio name=other value=4></form>");
  auto* second = Control<TRadioButtonFormControlObj>(1);
  auto* third = Control<TRadioButtonFormControlObj>(2);
  second->WindowControl()->SetFocus();
  pump();
  key(win::VK_DOWN);
  EXPECT_TRUE(third->WindowControl()->Focused());
  EXPECT_TRUE(third->Checked());
  EXPECT_FALSE(second->Checked());
  EXPECT_TRUE(third->WindowControl()->TabStop());
  EXPECT_FALSE(second->WindowControl()->TabStop());
  key(win::VK_DOWN);  // the last of its group: the focus stays
  EXPECT_TRUE(third->WindowControl()->Focused());
  key(win::VK_UP);
  EXPECT_TRUE(second->WindowControl()->Focused());
  EXPECT_EQ(submitted.size(), 0u);
  EXPECT_EQ(Form()->GetFormData(), std::vector<std::string>{"G=2"});
}

TEST_F(FormControlEvents, TabbingIntoARadioGroupDoesNotCheckIt) {
  Build("<form><input name=t><input type=radio name=r value=1><input type=radio name=r value=2></form>");
  Control<TEditFormControlObj>(0)->WindowControl()->SetFocus();
  key(win::VK_TAB);
  auto* first = Control<TRadioButtonFormControlObj>(1);
  ASSERT_TRUE(first->WindowControl()->Focused());
  EXPECT_FALSE(first->Checked());
  EXPECT_TRUE(Form()->GetFormData() == std::vector<std::string>{"t="});
}

TEST_F(FormControlEvents, OtherKeysOfCheckBoxesAndRadiosGoToTheViewer) {
  Build("<form><input type=checkbox name=c><input type=radio name=r></form>");
  std::vector<int> viewerKeys;
  root_->Links.OnKeyDown = [&](win::WORD& key, gui::TShiftState) { viewerKeys.push_back(key); };
  Control<TCheckBoxFormControlObj>(0)->WindowControl()->SetFocus();
  key(win::VK_NEXT);
  key(win::VK_DOWN);  // a check box has no group to walk
  Control<TRadioButtonFormControlObj>(1)->WindowControl()->SetFocus();
  key(win::VK_HOME);
  key(win::VK_DOWN);  // the radio's own: no other radio to go to, and not the viewer's
  EXPECT_EQ(viewerKeys, (std::vector<int>{win::VK_NEXT, win::VK_DOWN, win::VK_HOME}));
}

TEST_F(FormControlEvents, AHostThatClearsTheDocumentInAClickStopsTheButton) {
  // The host clears on the click; the submit that used to follow read the
  // freed form.
  Build("<form><input name=t value=v><input type=submit name=go value=Go></form>");
  root_->OnObjectClick = [this](TFormControlObj*, const std::string&) { root_->Clear(); };
  Control<TButtonFormControlObj>(1)->ButtonClick();
  EXPECT_TRUE(submitted.empty());
  EXPECT_TRUE(root_->htmlFormList.empty());
  EXPECT_EQ(root_->ControlEventDepth, 0);
}

TEST_F(FormControlEvents, AHostThatClearsOnARadioChangeEndsTheGroupWalk) {
  // Unchecking the group tells the host of each change; one that clears the
  // document ends the walk instead of going on through freed radios.
  Build("<form><input type=radio name=g value=1 checked onchange=x><input type=radio name=g value=2>"
        "<input type=radio name=g value=3></form>");
  int changes = 0;
  root_->OnObjectChange = [&](TFormControlObj*, const std::string&) {
    ++changes;
    root_->Clear();
  };
  auto* third = Control<TRadioButtonFormControlObj>(2);
  third->SetChecked(true);
  third->RadioClick();
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(root_->htmlFormList.empty());
}

TEST_F(FormControlEvents, ListSelectionsPastTheFirst51ItemsAreNotCompared) {
  std::string html = "<form><select name=s multiple onchange=C>";
  for (int i = 0; i < 60; ++i) html += "<option>o" + std::to_string(i);
  Build(html + "</select></form>");
  auto* list = Control<TListBoxFormControlObj>(0);
  list->SaveEnterValue();
  list->List()->SetSelected(55, true);
  list->CheckChanged();
  EXPECT_TRUE(events.empty());
  list->List()->SetSelected(50, true);
  list->CheckChanged();
  EXPECT_EQ(events, (std::vector<HostEvent>{{"change", "C", list}}));
}

TEST_F(FormControlEvents, TabOrderFollowsTabIndexPast99999AndPast999Stops) {
  // Keys made as text ("%.5d%.3d") sorted TABINDEX 100000 before 99999 and
  // the 1000th stop of a TABINDEX before the first.
  std::string html = "<form><input name=big tabindex=100000><input name=less tabindex=99999>";
  for (int i = 0; i < 1000; ++i) html += "<input tabindex=7>";
  Build(html + "<input name=late tabindex=7><input name=six tabindex=6></form>");
  gui::TBitmap bitmap;
  bitmap.SetSize(10, 10);
  int maxWidth = 0;
  int curs = 0;
  root_->LayoutContent(&bitmap.Canvas(), 0, 300, 200, 0, maxWidth, curs);
  const auto order = [this](std::size_t index) { return Form()->ControlList.at(index)->WindowControl()->TabOrder(); };
  const std::size_t late = 1002, six = 1003;
  EXPECT_LT(order(six), order(2));     // 6 before every 7
  EXPECT_LT(order(2), order(late));    // the first 7 before the 1001st
  EXPECT_LT(order(late), order(1));    // every 7 before 99999
  EXPECT_LT(order(1), order(0));       // 99999 before 100000
}

}  // namespace
}  // namespace engine
