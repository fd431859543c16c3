#include <gtest/gtest.h>

#include "GuiControlTestSupport.h"
#include "platform/gui/ClassicLook.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TListBox.h"

namespace gui {
namespace {

using guitest::GuiControlTest;

class GuiListBox : public GuiControlTest {
 protected:
  // A list of ten items "item 0" .. "item 9", five rows high.
  TListBox* tenItems() {
    auto* list = make<TListBox>(10, 10, 120, 100);
    list->SetClientHeight(list->ItemHeight() * 5);
    list->Items().BeginUpdate();
    for (int i = 0; i < 10; ++i) list->Items().Add(u"item " + std::u16string(1, char16_t(u'0' + i)));
    list->Items().EndUpdate();
    list->OnClick = [this](TObject*) { ++clicks; };
    return list;
  }
  // Clicks the middle of an item in view.
  void clickItem(TListBox& list, int index) {
    const win::RECT r = list.ItemRect(index);
    click(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  std::vector<int> selection(const TListBox& list) {
    std::vector<int> selected;
    for (int i = 0; i < list.Items().Count(); ++i)
      if (list.Selected(i)) selected.push_back(i);
    return selected;
  }
  int clicks = 0;
};

TEST_F(GuiListBox, SingleSelectionFollowsMouseAndKeys) {
  TListBox* list = tenItems();
  clickItem(*list, 2);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_TRUE(list->Focused());
  key(win::VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 3);
  key(win::VK_END);
  EXPECT_EQ(list->ItemIndex(), 9);
  EXPECT_EQ(list->TopIndex(), 5);  // the caret stays in view
  key(win::VK_HOME);
  key(win::VK_UP);  // nothing above the first
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(clicks, 4);
  list->SetItemIndex(5);  // the program's changes do not click
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(selection(*list), std::vector<int>{5});
}

TEST_F(GuiListBox, DraggingSelectsTheItemUnderThePointer) {
  TListBox* list = tenItems();
  const win::RECT first = list->ItemRect(0);
  mouse(*list, win::WM_LBUTTONDOWN, 20, first.top + 2);
  mouse(*list, win::WM_MOUSEMOVE, 20, list->ItemRect(3).top + 2);
  EXPECT_EQ(list->ItemIndex(), 3);
  mouse(*list, win::WM_MOUSEMOVE, 20, list->Height() + 40);  // below: scrolls a row
  EXPECT_EQ(list->ItemIndex(), 5);
  mouse(*list, win::WM_LBUTTONUP, 20, list->Height() + 40);
  EXPECT_EQ(list->TopIndex(), 1);
}

TEST_F(GuiListBox, OutOfRangeIndexesSelectNothingInsteadOfFailing) {
  TListBox* list = tenItems();
  list->SetItemIndex(42);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(-7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_FALSE(list->Selected(10));
  EXPECT_FALSE(list->Selected(-1));
  EXPECT_THROW(list->Items()[10], EListError);
  list->Clear();
  EXPECT_EQ(list->ItemIndex(), -1);
  key(win::VK_DOWN);  // keys on an empty list do nothing
  EXPECT_EQ(list->Items().Count(), 0);
}

TEST_F(GuiListBox, ExtendedMultiSelectionWithShiftAndControl) {
  TListBox* list = tenItems();
  list->SetMultiSelect(true);
  clickItem(*list, 1);
  keyDown(win::VK_SHIFT);
  clickItem(*list, 3);
  keyUp(win::VK_SHIFT);
  EXPECT_EQ(selection(*list), (std::vector<int>{1, 2, 3}));
  keyDown(win::VK_CONTROL);
  clickItem(*list, 2);
  clickItem(*list, 4);
  keyUp(win::VK_CONTROL);
  EXPECT_EQ(selection(*list), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(list->SelCount(), 3);
  // ItemIndex only moves the caret.
  list->SetItemIndex(0);
  EXPECT_EQ(selection(*list), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(list->ItemIndex(), 0);
  key(win::VK_SPACE);
  EXPECT_EQ(selection(*list), (std::vector<int>{0, 1, 3, 4}));
  chord(win::VK_SHIFT, win::VK_DOWN);  // a range from the anchor
  EXPECT_EQ(selection(*list), (std::vector<int>{0, 1}));
  clickItem(*list, 2);  // a plain click selects the item alone
  EXPECT_EQ(selection(*list), std::vector<int>{2});
}

TEST_F(GuiListBox, SelectionStaysWithItsItemWhenItemsComeAndGo) {
  TListBox* list = tenItems();
  list->SetItemIndex(4);
  list->Items().Insert(0, u"new");
  EXPECT_EQ(list->ItemIndex(), 5);
  list->Items().Delete(2);
  EXPECT_EQ(list->ItemIndex(), 4);
  list->Items().Delete(4);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetMultiSelect(true);
  list->SetSelected(7, true);
  list->Items().Delete(0);
  EXPECT_EQ(selection(*list), std::vector<int>{6});
}

TEST_F(GuiListBox, TheBarShowsOnlyWhenItemsOverflowAndScrollsByRows) {
  auto* list = make<TListBox>(10, 10, 120, 100);
  list->SetClientHeight(list->ItemHeight() * 5);
  const int wide = list->ClientWidth();
  for (int i = 0; i < 5; ++i) list->Items().Add(u"x");
  EXPECT_EQ(list->ClientWidth(), wide);
  list->Items().Add(u"x");
  EXPECT_EQ(list->ClientWidth(), wide - 16);
  // The bar's down arrow, inside the border at the right.
  click(*list, 120 - 2 - 8, list->Height() - 2 - 8);
  EXPECT_EQ(list->TopIndex(), 1);
  click(*list, 120 - 2 - 8, list->Height() - 2 - 8);
  EXPECT_EQ(list->TopIndex(), 1);  // no further than the last page
  win::SendMessageW(list->Handle(), win::WM_MOUSEWHEEL, win::MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(list->ItemAtPos({20, 2 + list->ItemHeight() + 1}), 1);
  EXPECT_EQ(list->ItemAtPos({20, 200}), -1);
}

TEST_F(GuiListBox, TypingAFirstLetterPicksTheNextMatchingItem) {
  TListBox* list = tenItems();
  list->Items().Assign({u"apple", u"Banana", u"avocado", u"cherry"});
  list->SetFocus();
  type(u"a");
  EXPECT_EQ(list->ItemIndex(), 0);
  type(u"A");
  EXPECT_EQ(list->ItemIndex(), 2);
  type(u"b");
  EXPECT_EQ(list->ItemIndex(), 1);
  type(u"z");
  EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(GuiListBox, PaintsSelectedRowsHighlightedAndTheCaretFocused) {
  TListBox* list = tenItems();
  list->SetItemIndex(1);
  pump();
  const win::RECT selected = list->ItemRect(1);
  EXPECT_EQ(pixel(10 + selected.right - 2, 10 + selected.top + 2), 0x000080u);
  const win::RECT plain = list->ItemRect(2);
  EXPECT_EQ(pixel(10 + plain.right - 2, 10 + plain.top + 2), 0xFFFFFFu);
  EXPECT_EQ(pixel(10, 10 + 20), 0x808080u);  // the sunken border
  // Text in the row: some pixel of the first item is dark.
  const win::RECT first = list->ItemRect(0);
  bool dark = false;
  for (int x = first.left; x < first.left + 30; ++x)
    for (int y = first.top; y < first.bottom; ++y) dark = dark || pixel(10 + x, 10 + y) < 0x404040u;
  EXPECT_TRUE(dark);
}

}  // namespace
}  // namespace gui
