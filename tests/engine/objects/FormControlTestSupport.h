#pragma once
// A document whose form controls sit on a shown panel, with every host event
// of its controls recorded: the fixture of the form control tests that need
// real windows (focus, keys, clicks, pictures of controls).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/document/TSectionList.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/DocumentParser.h"
#include "engine/objects/TFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TCustomPanel.h"
#include "tests/platform/GuiControlTestSupport.h"

namespace engine::testing {

struct HostEvent {
  std::string kind;
  std::string script;
  TFormControlObj* control;
  bool operator==(const HostEvent& other) const {
    return kind == other.kind && script == other.script && control == other.control;
  }
};

class FormControlFixture : public guitest::GuiControlTest {
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

}  // namespace engine::testing
