// Form controls on a shown panel: the host's click, focus, blur, change and
// browse events, radio groups walked with the arrow keys, and a host that
// clears the document from inside an event.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/document/TSectionList.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/DocumentParser.h"
#include "engine/objects/TButtonFormControlObj.h"
#include "engine/objects/TCheckBoxFormControlObj.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/TListBoxFormControlObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TEdit.h"
#include "platform/gui/TListBox.h"
#include "tests/platform/GuiControlTestSupport.h"

namespace engine {
namespace {

struct HostEvent {
  std::string kind;
  std::string script;
  TFormControlObj* control;
  bool operator==(const HostEvent& other) const {
    return kind == other.kind && script == other.script && control == other.control;
  }
};

class FormControlEvents : public guitest::GuiControlTest {
 protected:
  void SetUp() override {
    GuiControlTest::SetUp();
    saved_ = BuilderSeams();
    InstallFormHooks();
    panel_ = new gui::TPanel(&form());
    panel_->SetParent(&form());
    panel_->SetBounds(0, 0, 300, 200);
  }
  void TearDown() override {
    root_.reset();
    BuilderSeams() = saved_;
    GuiControlTest::TearDown();
  }

  // Parses html into a document whose controls sit on the shown panel, with
  // every host event recorded.
  TSectionList& Build(const std::string& html) {
    root_ = std::make_unique<TSectionList>(nullptr, panel_);
    root_->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false,
                               true, 1, 5, 10);
    ParseHtmlSource(html, *root_, nullptr);
    auto record = [this](const char* kind) {
      return [this, kind](TFormControlObj* control, const std::string& script) {
        events.push_back({kind, script, control});
        depthSeen = root_->ControlEventDepth;
      };
    };
    root_->OnObjectClick = record("click");
    root_->OnObjectFocus = record("focus");
    root_->OnObjectBlur = record("blur");
    root_->OnObjectChange = record("change");
    root_->OnSubmitForm = [this](const std::string&, const std::string&, const std::string&, const std::string&,
                                 std::vector<std::string> items) { submitted.push_back(std::move(items)); };
    return *root_;
  }
  ThtmlForm* Form() const { return static_cast<ThtmlForm*>(root_->htmlFormList.at(0).get()); }
  template <class T>
  T* Control(std::size_t index) const {
    return dynamic_cast<T*>(Form()->ControlList.at(index));
  }

  std::vector<HostEvent> events;
  std::vector<std::vector<std::string>> submitted;
  int depthSeen = 0;
  std::unique_ptr<TSectionList> root_;

 private:
  TBuilderSeams saved_;
  gui::TPanel* panel_ = nullptr;
};

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

}  // namespace
}  // namespace engine
