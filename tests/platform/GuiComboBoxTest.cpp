#include <gtest/gtest.h>

#include "GuiControlTestSupport.h"
#include "platform/gui/ClassicLook.h"
#include "platform/gui/TComboBox.h"

namespace gui {
namespace {

using guitest::GuiControlTest;

class GuiComboBox : public GuiControlTest {
 protected:
  TComboBox* fruitCombo() {
    auto* combo = make<TComboBox>(10, 10, 120, 21);
    combo->Items().Assign({u"apple", u"banana", u"cherry", u"date"});
    combo->OnClick = [this](TObject*) { log.push_back("click"); };
    combo->OnChange = [this](TObject*) { log.push_back("change"); };
    combo->OnDropDown = [this](TObject*) { log.push_back("drop"); };
    return combo;
  }
  std::vector<std::string> log;
};

TEST_F(GuiComboBox, ClickOpensTheListBelowAndAClickOnAnItemTakesIt) {
  TComboBox* combo = fruitCombo();
  click(*combo, 60, 10);
  ASSERT_TRUE(combo->DroppedDown());
  TListBox* list = combo->DropDownList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Top(), 10 + combo->Height());
  EXPECT_EQ(list->Left(), 10);
  EXPECT_EQ(list->Width(), 120);
  EXPECT_EQ(list->Height(), 4 * list->ItemHeight() + 2);
  const win::RECT third = list->ItemRect(2);
  click(*list, 20, third.top + 2);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), u"cherry");
  EXPECT_EQ(log, (std::vector<std::string>{"drop", "click", "change"}));
}

TEST_F(GuiComboBox, TheOpenListDrawsOverTheControlsBelow) {
  TComboBox* combo = fruitCombo();
  auto* below = make<TComboBox>(10, 40, 120, 21);
  (void)below;
  click(*combo, 60, 10);
  pump();
  TListBox* list = combo->DropDownList();
  const win::RECT first = list->ItemRect(0);
  // The list's rows cover the second combo box's button area.
  const int y = 10 + combo->Height() + first.top + list->ItemHeight() * 2;
  EXPECT_EQ(pixel(10 + 110, 10 + combo->Height() + 1), 0xFFFFFFu);
  EXPECT_EQ(pixel(10 + 110, y), 0xFFFFFFu);
  EXPECT_EQ(pixel(10, 10 + combo->Height() + 1), 0x000000u);  // the list's thin frame
}

TEST_F(GuiComboBox, EscapeAndOutsideClicksCloseWithoutChanging) {
  TComboBox* combo = fruitCombo();
  combo->SetItemIndex(1);
  combo->SetFocus();
  key(win::VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  key(win::VK_DOWN);
  EXPECT_EQ(combo->DropDownList()->ItemIndex(), 2);
  key(win::VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 1);
  chord(win::VK_MENU, win::VK_DOWN);
  ASSERT_TRUE(combo->DroppedDown());
  mouse(form(), win::WM_LBUTTONDOWN, 250, 150);
  mouse(form(), win::WM_LBUTTONUP, 250, 150);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"drop", "drop"}));
}

TEST_F(GuiComboBox, KeysChooseInTheOpenListAndInTheClosedControl) {
  TComboBox* combo = fruitCombo();
  combo->SetFocus();
  key(win::VK_DOWN);  // closed: chooses at once
  EXPECT_EQ(combo->ItemIndex(), 0);
  key(win::VK_END);
  EXPECT_EQ(combo->ItemIndex(), 3);
  type(u"b");
  EXPECT_EQ(combo->Text(), u"banana");
  key(win::VK_F4);
  key(win::VK_UP);
  key(win::VK_RETURN);
  EXPECT_EQ(combo->Text(), u"apple");
  EXPECT_EQ(log, (std::vector<std::string>{"click", "change", "click", "change", "click", "change", "drop", "click",
                                            "change"}));
}

TEST_F(GuiComboBox, ItemChangesKeepTheChoiceConsistent) {
  TComboBox* combo = fruitCombo();
  combo->SetItemIndex(2);
  combo->Items().Insert(0, u"apricot");
  EXPECT_EQ(combo->Text(), u"cherry");
  combo->Items().Delete(3);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), u"");
  combo->SetItemIndex(99);
  EXPECT_EQ(combo->ItemIndex(), -1);
  combo->Items().Clear();
  combo->SetFocus();
  key(win::VK_DOWN);
  key(win::VK_F4);  // an empty list opens with one empty row
  EXPECT_TRUE(combo->DroppedDown());
  key(win::VK_RETURN);
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(GuiComboBox, FreeingAnOpenComboBoxClosesItsListQuietly) {
  TComboBox* combo = fruitCombo();
  combo->SetFocus();
  key(win::VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  combo->OnCloseUp = [this](TObject*) { log.push_back("close"); };
  delete combo;
  EXPECT_EQ(win::GetCapture(), 0u);
  mouse(form(), win::WM_LBUTTONDOWN, 50, 50);  // nothing is left to answer
  mouse(form(), win::WM_LBUTTONUP, 50, 50);
  EXPECT_EQ(log, std::vector<std::string>{"drop"});
}

TEST_F(GuiComboBox, HeightFollowsTheFont) {
  TComboBox* combo = fruitCombo();
  const int line = FontMeasure(combo->Font()).LineHeight();
  EXPECT_EQ(combo->Height(), line + 8);
  combo->Font().SetHeight(-20);
  EXPECT_EQ(combo->Height(), FontMeasure(combo->Font()).LineHeight() + 8);
}

}  // namespace
}  // namespace gui
