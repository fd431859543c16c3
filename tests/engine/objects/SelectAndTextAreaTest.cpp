// SELECT as list box or combo box and TEXTAREA, built from markup, with their
// sizes, defaults, submission and restored values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/BuilderSeams.h"
#include "engine/objects/TComboFormControlObj.h"
#include "engine/objects/TListBoxFormControlObj.h"
#include "engine/objects/TTextAreaFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TComboBox.h"
#include "platform/gui/TListBox.h"
#include "platform/gui/TMemo.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

class SelectAndTextArea : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = BuilderSeams();
    InstallFormHooks();
    bitmap.SetSize(10, 10);
  }
  void TearDown() override { BuilderSeams() = saved_; }
  template <class T>
  static T* ControlAt(const TSectionList& root, std::size_t index) {
    return dynamic_cast<T*>(static_cast<TFormControlObj*>(root.FormControlList.at(index)));
  }
  static ThtmlForm* FirstForm(const TSectionList& root) {
    return static_cast<ThtmlForm*>(root.htmlFormList.at(0).get());
  }

  gui::TBitmap bitmap;

 private:
  TBuilderSeams saved_;
};

TEST_F(SelectAndTextArea, ListRowsFollowSizeOrTheOptionCount) {
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += "<option>o" + std::to_string(i);
  auto document = testing::Parse("<select multiple><option>a<option>b<option>c</select>"
                                 "<select multiple>" + twenty + "</select><select size=4></select>"
                                 "<select size=99999999></select>");
  const int rows[] = {3, 8, 1, 1000};
  for (std::size_t i = 0; i < 4; ++i) {
    auto* list = ControlAt<TListBoxFormControlObj>(*document.root, i);
    ASSERT_NE(list, nullptr) << i;
    list->SizeFromFont(&bitmap.Canvas());
    if (i == 2) EXPECT_EQ(list->LBSize, 4);
    else EXPECT_EQ(list->LBSize, rows[i]) << i;
  }
}

TEST_F(SelectAndTextArea, OptionsSubmitTheirValuesAndRestoreIgnoringCase) {
  auto document = testing::Parse(
      "<form><select name=m multiple><option value=ABC>x<option selected>y<option value=''></select>"
      "<select name=c><option value=1>one<option>two</select>"
      "<select name=d><option>p<option selected value=q2>q</select></form>");
  const TSectionList& root = *document.root;
  auto* list = ControlAt<TListBoxFormControlObj>(root, 0);
  auto* combo = ControlAt<TComboFormControlObj>(root, 1);
  auto* chosen = ControlAt<TComboFormControlObj>(root, 2);
  ASSERT_TRUE(list && combo && chosen);
  EXPECT_EQ(list->Options[2].Text, " ");
  EXPECT_EQ(list->Options[2].Value, " ");
  EXPECT_EQ(combo->Combo()->ItemIndex(), 0);  // no SELECTED: the first option
  ThtmlForm* form = FirstForm(root);
  const std::vector<std::string> data = {"m=y", "c=1", "d=q2"};
  EXPECT_EQ(form->GetFormData(), data);
  form->SetFormData({"m=abc", "m= ", "c=TWO", "d=p"});
  const std::vector<std::string> restored = {"m=ABC", "m= ", "c=two", "d=p"};
  EXPECT_EQ(form->GetFormData(), restored);
  form->ResetControls();
  EXPECT_EQ(form->GetFormData(), data);
}

TEST_F(SelectAndTextArea, TextAreaWrapModesAndSize) {
  auto document = testing::Parse(
      "<form><textarea name=s>first\nsecond</textarea><textarea name=h wrap=hard cols=4>aaaa bbbb</textarea>"
      "<textarea name=o wrap=OFF rows=2 cols=3>x</textarea></form>");
  const TSectionList& root = *document.root;
  auto* soft = ControlAt<TTextAreaFormControlObj>(root, 0);
  auto* hard = ControlAt<TTextAreaFormControlObj>(root, 1);
  auto* off = ControlAt<TTextAreaFormControlObj>(root, 2);
  ASSERT_TRUE(soft && hard && off);
  EXPECT_EQ(soft->Rows, 5);
  EXPECT_EQ(soft->Cols, 30);
  EXPECT_TRUE(soft->Memo()->WordWrap());
  EXPECT_FALSE(off->Memo()->WordWrap());
  EXPECT_EQ(off->Memo()->ScrollBars(), gui::ssBoth);
  for (auto* area : {soft, hard, off}) area->SizeFromFont(&bitmap.Canvas());
  bitmap.Canvas().SetFont(soft->Memo()->Font());
  EXPECT_EQ(soft->Memo()->ClientHeight(), bitmap.Canvas().TextHeight("A") * 5 + 5);
  EXPECT_EQ(soft->Memo()->ClientWidth(), bitmap.Canvas().TextWidth("s") * 30 + 5);
  std::string text;
  ASSERT_TRUE(soft->GetSubmission(0, text));
  EXPECT_EQ(text, "s=first\r\nsecond");
  ASSERT_TRUE(hard->GetSubmission(0, text));
  EXPECT_NE(text.find("\r\n"), std::string::npos) << text;  // the displayed rows become lines
  EXPECT_FALSE(hard->GetSubmission(1, text));
  off->Memo()->SetText(u"typed");
  FirstForm(root)->ResetControls();
  EXPECT_TRUE(off->Memo()->Text() == u"x");
}

// The text is decoded in the document's code page whether or not the element has attributes.
TEST_F(SelectAndTextArea, TextAreaTextTakesTheDocumentsCodePage) {
  auto document = testing::Parse("<meta http-equiv=content-type content=\"text/html; charset=utf-8\">"
                                 "<textarea>gr\xC3\xBC\xC3\x9F" "e</textarea><textarea rows=2>gr\xC3\xBC\xC3\x9F" "e</textarea>");
  for (std::size_t i = 0; i < 2; ++i) {
    auto* area = ControlAt<TTextAreaFormControlObj>(*document.root, i);
    ASSERT_NE(area, nullptr) << i;
    EXPECT_TRUE(area->Memo()->Text() == u"gr\u00FC\u00DFe") << i;
  }
}

}  // namespace
}  // namespace engine
