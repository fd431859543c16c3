#pragma once
// A drop-down list: a field that shows the chosen item and a button that
// opens the list of items below it (a click anywhere on the control, F4 or
// Alt+Down open it too). In the open list the pointer and the arrow keys
// pick an item, a click or Enter takes it, and Escape or a click outside
// closes the list unchanged. Closed, the arrow keys and first letters change
// the chosen item directly. The user's changes run OnClick, then OnChange;
// the program's do not.
//
// Platform decisions the class library leaves to the window system:
// - The height follows the font: its line height plus 8 pixels (as an
//   edit); the program may set another, and the field then fills it.
// - The open list shows DropDownCount rows (8) of the font's line height
//   with a one-pixel frame, as wide as the control, below it (above when
//   the window has no room below); it is a child window of the outermost
//   control, so it draws over the controls around.
// - Every style behaves as csDropDownList: there is no edit field.
#include <string>

#include "platform/gui/TListBox.h"

namespace gui {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboPopup;

class TComboBox : public TCustomControl, protected TListItemsOwner {
 public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;

  TListBoxStrings& Items() { return items_; }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle Value) { style_ = Value; }
  // -1: nothing chosen; an index outside the items chooses nothing.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int Value);
  // The chosen item's text.
  std::u16string Text() const;
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int Value) { dropDownCount_ = Value < 1 ? 1 : Value; }
  bool DroppedDown() const { return dropped_; }
  void SetDroppedDown(bool Value);
  void SetClientWidth(int Value) { SetWidth(Value + 4); }
  // The open list (nullptr while closed), for hosts and tests.
  TListBox* DropDownList() const;

  void WndProc(TMessage& Message) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void KeyDown(win::WORD& Key, TShiftState Shift) override;
  void Paint() override;
  bool EraseBackground(win::HDC) override { return true; }
  void FontChanged() override;
  void ItemInserted(int Index) override;
  void ItemDeleted(int Index) override;
  void ItemsReset() override;
  void ItemsChanged() override;

 private:
  friend class TComboPopup;
  void AdjustHeight();
  void ChooseByUser(int Index);
  // Closes the open list, choosing its item when Take.
  void CloseUp(bool Take);
  void MoveInList(win::WORD Key);
  win::RECT ButtonRect() const;

  TListBoxStrings items_;
  TComboPopup* popup_ = nullptr;  // made on first opening, owned as a component
  TComboBoxStyle style_ = csDropDownList;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  bool dropped_ = false;
};

}  // namespace gui
