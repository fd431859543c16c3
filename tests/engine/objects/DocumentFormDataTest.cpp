// A document's form data saved and restored over every form, as the viewer
// does for a history entry or a reload.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/BuilderSeams.h"
#include "engine/objects/DocumentFormData.h"
#include "engine/objects/TCheckBoxFormControlObj.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/TTextAreaFormControlObj.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TEdit.h"
#include "platform/gui/TMemo.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

class DocumentFormData : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = BuilderSeams();
    InstallFormHooks();
  }
  void TearDown() override { BuilderSeams() = saved_; }

  template <class T>
  static T* ControlAt(const TSectionList& root, std::size_t index) {
    return dynamic_cast<T*>(static_cast<TFormControlObj*>(root.FormControlList.at(index)));
  }

  const std::string page_ =
      "<form><input name=q value=first><input type=checkbox name=c></form>"
      "<p>between</p><form><textarea name=t>old</textarea></form>";

 private:
  TBuilderSeams saved_;
};

TEST_F(DocumentFormData, ADocumentWithoutFormsHasNone) {
  auto document = testing::Parse("<p>no forms</p>");
  EXPECT_TRUE(GetFormData(*document.root).empty());
  SetFormData(*document.root, {{"q=x"}});  // nothing to restore into
}

TEST_F(DocumentFormData, ValuesComeBackAcrossAReload) {
  auto before = testing::Parse(page_);
  ControlAt<TEditFormControlObj>(*before.root, 0)->Edit()->SetText(u"typed");
  ControlAt<TCheckBoxFormControlObj>(*before.root, 1)->SetChecked(true);
  ControlAt<TTextAreaFormControlObj>(*before.root, 2)->Memo()->SetText(u"new text");
  const TDocumentFormData saved = GetFormData(*before.root);
  const TDocumentFormData expected = {{"q=typed", "c=on"}, {"t=new text"}};
  EXPECT_EQ(saved, expected);

  auto after = testing::Parse(page_);
  SetFormData(*after.root, saved);
  EXPECT_TRUE(ControlAt<TEditFormControlObj>(*after.root, 0)->Edit()->Text() == u"typed");
  EXPECT_TRUE(ControlAt<TCheckBoxFormControlObj>(*after.root, 1)->Checked());
  EXPECT_TRUE(ControlAt<TTextAreaFormControlObj>(*after.root, 2)->Memo()->Text() == u"new text");
}

// Going back to a page whose box was unchecked when it was left: the page's
// markup checks it, the saved data leaves it out, so it comes back unchecked.
TEST_F(DocumentFormData, ABoxTheSavedDataLeavesOutComesBackUnchecked) {
  const std::string checkedPage = "<form><input name=q value=first><input type=checkbox name=c checked></form>";
  auto left = testing::Parse(checkedPage);
  ControlAt<TCheckBoxFormControlObj>(*left.root, 1)->SetChecked(false);
  const TDocumentFormData saved = GetFormData(*left.root);
  EXPECT_EQ(saved, (TDocumentFormData{{"q=first"}}));

  auto back = testing::Parse(checkedPage);
  ASSERT_TRUE(ControlAt<TCheckBoxFormControlObj>(*back.root, 1)->Checked());
  SetFormData(*back.root, saved);
  EXPECT_FALSE(ControlAt<TCheckBoxFormControlObj>(*back.root, 1)->Checked());
}

TEST_F(DocumentFormData, OnlyTheFormsBothHaveAreRestored) {
  auto document = testing::Parse(page_);
  SetFormData(*document.root, {{"q=one"}});
  EXPECT_TRUE(ControlAt<TEditFormControlObj>(*document.root, 0)->Edit()->Text() == u"one");
  EXPECT_TRUE(ControlAt<TTextAreaFormControlObj>(*document.root, 2)->Memo()->Text() == u"old");
  // More saved forms than the page has: the extra ones are ignored.
  SetFormData(*document.root, {{"q=two"}, {"t=three"}, {"z=four"}});
  EXPECT_TRUE(ControlAt<TEditFormControlObj>(*document.root, 0)->Edit()->Text() == u"two");
  EXPECT_TRUE(ControlAt<TTextAreaFormControlObj>(*document.root, 2)->Memo()->Text() == u"three");
}

}  // namespace
}  // namespace engine
