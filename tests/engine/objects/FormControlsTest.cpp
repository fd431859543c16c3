// Forms built from markup: each INPUT kind with its size and value, radio
// groups per form, and the submission through the document's hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/BuilderSeams.h"
#include "engine/objects/TButtonFormControlObj.h"
#include "engine/objects/TCheckBoxFormControlObj.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/THiddenFormControlObj.h"
#include "engine/objects/TImageFormControlObj.h"
#include "engine/objects/TImageObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/document/TIDNameList.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TEdit.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

struct Submission {
  std::string action, target, encType, method;
  std::vector<std::string> items;
  int count = 0;
};

class FormControls : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = BuilderSeams();
    InstallFormHooks();
  }
  void TearDown() override { BuilderSeams() = saved_; }

  testing::ParsedDocument Build(const std::string& html) {
    auto document = testing::Parse(html);
    document.root->OnSubmitForm = [this](const std::string& action, const std::string& target,
                                         const std::string& encType, const std::string& method,
                                         std::vector<std::string> items) {
      sent.action = action;
      sent.target = target;
      sent.encType = encType;
      sent.method = method;
      sent.items = std::move(items);
      ++sent.count;
    };
    return document;
  }
  static ThtmlForm* FormAt(const TSectionList& root, std::size_t index) {
    return static_cast<ThtmlForm*>(root.htmlFormList.at(index).get());
  }
  template <class T>
  static T* ControlAt(const TSectionList& root, std::size_t index) {
    return dynamic_cast<T*>(static_cast<TFormControlObj*>(root.FormControlList.at(index)));
  }

  Submission sent;

 private:
  TBuilderSeams saved_;
};

TEST_F(FormControls, EveryInputKindIsBuiltWithItsValue) {
  auto document = Build(
      "<form action=/go method=POSTX target=t enctype=e>"
      "<input name=q value=abc><input type=password name=p value=pw><input type=checkbox name=c>"
      "<input type=radio name=r value=1><input type=submit><input type=reset><input type=button value=B>"
      "<input type=hidden name=h value=hv></form>");
  const TSectionList& root = *document.root;
  ASSERT_EQ(root.htmlFormList.size(), 1u);
  ThtmlForm* form = FormAt(root, 0);
  EXPECT_EQ(form->Method, "POST");
  EXPECT_EQ(form->Action, "/go");
  ASSERT_EQ(form->ControlList.size(), 8u);
  EXPECT_EQ(form->NonHiddenCount, 7);
  auto* text = ControlAt<TEditFormControlObj>(root, 0);
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->Edit()->Text() == u"abc");
  EXPECT_EQ(text->Edit()->PasswordChar(), 0);
  auto* password = ControlAt<TEditFormControlObj>(root, 1);
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(password->Edit()->PasswordChar(), u'*');
  ASSERT_NE(ControlAt<TCheckBoxFormControlObj>(root, 2), nullptr);
  EXPECT_EQ(ControlAt<TCheckBoxFormControlObj>(root, 2)->Value, "on");
  ASSERT_NE(ControlAt<TRadioButtonFormControlObj>(root, 3), nullptr);
  const char16_t* captions[] = {u"Submit", u"Reset", u"B"};
  for (int i = 0; i < 3; ++i) {
    auto* button = ControlAt<TButtonFormControlObj>(root, 4 + static_cast<std::size_t>(i));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->Button()->Text() == captions[i]) << i;
  }
  EXPECT_TRUE(form->ControlList[7]->IsHidden());
  EXPECT_EQ(form->ControlList[7]->WindowControl(), nullptr);
}

TEST_F(FormControls, TextSizeIsAWholeNumberOrTheDefaultAndIsClamped) {
  auto document = Build(
      "<input size=5><input size='20,3'><input size='20, 3'><input><input size=0><input size=99999999999>"
      "<input size='x, y' maxlength=-3><input maxlength=7>");
  const TSectionList& root = *document.root;
  const int expected[] = {5, 15, 20, 15, 15, 1000, 20, 15};
  for (std::size_t i = 0; i < 8; ++i) {
    auto* edit = ControlAt<TEditFormControlObj>(root, i);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->EditSize, expected[i]) << i;
  }
  EXPECT_EQ(ControlAt<TEditFormControlObj>(root, 6)->Edit()->MaxLength(), 0);
  EXPECT_EQ(ControlAt<TEditFormControlObj>(root, 7)->Edit()->MaxLength(), 7);

  gui::TBitmap bitmap;
  bitmap.SetSize(10, 10);
  auto* huge = ControlAt<TEditFormControlObj>(root, 5);
  huge->SizeFromFont(&bitmap.Canvas());
  EXPECT_GT(huge->Place.ImageWidth, 1000);
  EXPECT_LE(huge->Place.ImageWidth, 32767);
  auto* small = ControlAt<TEditFormControlObj>(root, 0);
  small->SizeFromFont(&bitmap.Canvas());
  EXPECT_LT(small->Place.ImageWidth, huge->Place.ImageWidth);
  EXPECT_GE(small->Place.ImageHeight, 10);
}

TEST_F(FormControls, RadioGroupsBelongToTheirForm) {
  auto document = Build(
      "<form><input type=radio name=g value=1><input type=radio name=G value=2 checked>"
      "<input type=radio name=g value=3></form>"
      "<form><input type=radio name=g value=4 checked></form>");
  const TSectionList& root = *document.root;
  ASSERT_EQ(root.htmlFormList.size(), 2u);
  TRadioButtonFormControlObj* radios[4];
  for (std::size_t i = 0; i < 4; ++i) {
    radios[i] = ControlAt<TRadioButtonFormControlObj>(root, i);
    ASSERT_NE(radios[i], nullptr);
  }
  EXPECT_FALSE(radios[0]->Checked());
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_FALSE(radios[2]->Checked());
  EXPECT_TRUE(radios[3]->Checked());  // another form's group
  EXPECT_FALSE(radios[0]->WindowControl()->TabStop());
  EXPECT_TRUE(radios[1]->WindowControl()->TabStop());
  EXPECT_FALSE(radios[2]->WindowControl()->TabStop());

  radios[2]->SetChecked(true);
  radios[2]->RadioClick();
  EXPECT_FALSE(radios[1]->Checked());
  EXPECT_TRUE(radios[2]->Checked());
  EXPECT_TRUE(radios[2]->WindowControl()->TabStop());
  EXPECT_TRUE(radios[3]->Checked());
  FormAt(root, 0)->ResetControls();
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_FALSE(radios[2]->Checked());
}

TEST_F(FormControls, SubmissionGathersEnabledControlsInDocumentOrder) {
  auto document = Build(
      "<form action=a><input type=hidden name=h value=1><input type=checkbox name=a checked>"
      "<input type=checkbox name=b><input name=t value=x><input name=d value=y disabled>"
      "<input name=e value=z disabled=no><input name=f value=w disabled=0>"
      "<input type=radio name=r value=r1><input type=radio name=r value=r2 checked>"
      "<input type=submit name=go value=Search></form>");
  const TSectionList& root = *document.root;
  auto* go = ControlAt<TButtonFormControlObj>(root, root.FormControlList.size() - 1);
  ASSERT_NE(go, nullptr);
  go->ButtonClick();
  ASSERT_EQ(sent.count, 1);
  EXPECT_EQ(sent.action, "a");
  EXPECT_EQ(sent.method, "Get");
  const std::vector<std::string> expected = {"h=1", "a=on", "t=x", "e=z", "f=w", "r=r2", "go=Search"};
  EXPECT_EQ(sent.items, expected);
  // Form data keeps disabled controls, and has no submit extra.
  const std::vector<std::string> data = {"h=1", "a=on", "t=x", "d=y", "e=z", "f=w", "r=r2"};
  EXPECT_EQ(FormAt(root, 0)->GetFormData(), data);
}

TEST_F(FormControls, EnterInATextInputSubmitsAndIsSwallowed) {
  auto document = Build("<form><input name=q value=v><input type=submit value=s></form>");
  auto* edit = ControlAt<TEditFormControlObj>(*document.root, 0);
  char key = '\r';
  edit->Edit()->OnKeyPress(edit->Edit(), key);
  EXPECT_EQ(key, 0);
  ASSERT_EQ(sent.count, 1);
  EXPECT_EQ(sent.items, std::vector<std::string>{"q=v"});  // an unnamed submit adds nothing
  key = 'a';
  edit->Edit()->OnKeyPress(edit->Edit(), key);
  EXPECT_EQ(key, 'a');
  EXPECT_EQ(sent.count, 1);
}

TEST_F(FormControls, ResetAndFormDataRoundTrip) {
  auto document = Build(
      "<form><input name=t value=start><input type=checkbox name=c value=V>"
      "<input type=hidden name=h value=1><input type=reset></form>");
  const TSectionList& root = *document.root;
  ThtmlForm* form = FormAt(root, 0);
  auto* edit = ControlAt<TEditFormControlObj>(root, 0);
  auto* box = ControlAt<TCheckBoxFormControlObj>(root, 1);
  edit->Edit()->SetText(u"changed");
  box->SetChecked(true);
  const std::vector<std::string> saved = form->GetFormData();
  ControlAt<TButtonFormControlObj>(root, 3)->ButtonClick();
  EXPECT_TRUE(edit->Edit()->Text() == u"start");
  EXPECT_FALSE(box->Checked());
  form->SetFormData(saved);
  EXPECT_TRUE(edit->Edit()->Text() == u"changed");
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(form->GetFormData(), saved);
}

TEST_F(FormControls, InputsOutsideAFormShareOneForm) {
  auto document = Build("<input name=a value=1><p><input name=b value=2>");
  ASSERT_EQ(document.root->htmlFormList.size(), 1u);
  EXPECT_EQ(FormAt(*document.root, 0)->ControlList.size(), 2u);
}

TEST_F(FormControls, OnlyTheLastCheckedRadioOfAGroupStaysChecked) {
  std::string html = "<form>";
  for (int i = 0; i < 3000; ++i) html += "<input type=radio name=g checked value=" + std::to_string(i) + ">";
  auto document = Build(html + "<input type=radio name=g value=last></form>");
  const TSectionList& root = *document.root;
  int checked = 0;
  int stops = 0;
  for (std::size_t i = 0; i < root.FormControlList.size(); ++i) {
    auto* radio = ControlAt<TRadioButtonFormControlObj>(root, i);
    checked += radio->Checked() ? 1 : 0;
    stops += radio->WindowControl()->TabStop() ? 1 : 0;
  }
  EXPECT_EQ(checked, 1);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(FormAt(root, 0)->GetFormData(), std::vector<std::string>{"g=2999"});
}

TEST_F(FormControls, AnImageInputSubmitsTheClickedPointOnce) {
  auto document = Build(
      "<form action=a><input type=image name=map src=pic.gif alt=Go><input name=t value=v>"
      "<input type=image src=other.gif></form>");
  const TSectionList& root = *document.root;
  ThtmlForm* form = FormAt(root, 0);
  ASSERT_EQ(form->ControlList.size(), 3u);
  auto* map = dynamic_cast<TImageFormControlObj*>(form->ControlList[0]);
  auto* unnamed = dynamic_cast<TImageFormControlObj*>(form->ControlList[2]);
  ASSERT_NE(map, nullptr);
  ASSERT_NE(unnamed, nullptr);
  ASSERT_NE(map->Image, nullptr);
  EXPECT_EQ(map->Image->FormControl, map);  // the picture in the text answers the control
  EXPECT_EQ(map->Image->Source, "pic.gif");

  map->MouseOverImage(12, 34);
  map->HandleClick();
  ASSERT_EQ(sent.count, 1);
  EXPECT_EQ(sent.items, (std::vector<std::string>{"map.x=12", "map.y=34", "t=v"}));
  // Enter in the text input afterwards: no click point any more.
  auto* edit = dynamic_cast<TEditFormControlObj*>(form->ControlList[1]);
  char key = '\r';
  edit->Edit()->OnKeyPress(edit->Edit(), key);
  ASSERT_EQ(sent.count, 2);
  EXPECT_EQ(sent.items, std::vector<std::string>{"t=v"});

  unnamed->MouseOverImage(1, 2);
  unnamed->HandleClick();
  EXPECT_EQ(sent.items, (std::vector<std::string>{"t=v", "x=1", "y=2"}));
}

TEST_F(FormControls, AFileInputIsATextInputWithABrowseButton) {
  auto document = Build("<form><input type=file name=f value=secret id=pick tabindex=2></form>");
  TSectionList& root = *document.root;
  ThtmlForm* form = FormAt(root, 0);
  ASSERT_EQ(form->ControlList.size(), 2u);
  auto* text = dynamic_cast<TEditFormControlObj*>(form->ControlList[0]);
  auto* browse = dynamic_cast<TButtonFormControlObj*>(form->ControlList[1]);
  ASSERT_NE(text, nullptr);
  ASSERT_NE(browse, nullptr);
  EXPECT_TRUE(text->Edit()->Text().empty());  // a page cannot preset the file
  EXPECT_TRUE(browse->Button()->Text() == u"Browse...");
  EXPECT_EQ(browse->FileEdit, text);
  EXPECT_TRUE(browse->Name.empty());
  EXPECT_EQ(root.IDNameList->Find("pick"), text);

  std::string offered = "unset";
  root.OnFileBrowse = [&](TFormControlObj* control, std::string& fileName) {
    EXPECT_EQ(control, text);
    offered = fileName;
    fileName = "C:\\mail\\a.txt";
  };
  browse->ButtonClick();
  EXPECT_EQ(offered, "");
  EXPECT_EQ(form->GetFormData(), std::vector<std::string>{"f=C:\\mail\\a.txt"});
}

}  // namespace
}  // namespace engine
