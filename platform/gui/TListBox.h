#pragma once
// A list box: UTF-16 items in rows of the font's line height (the
// platform's item height), one or many selected. Only the rows in view are
// painted, so a list of any length paints in the time of its visible rows.
//
// Platform decisions the class library leaves to the window system:
// - ItemHeight is the font's line height; items are drawn two pixels in.
// - The vertical scroll bar (16 pixels) shows only while the items do not
//   all fit; ClientRect/ClientWidth/ClientHeight are the area inside the
//   border (2 pixels, sunken, with bsSingle) and that bar, and mouse
//   messages come in the window's coordinates.
// - With MultiSelect, ItemIndex is the caret (the item with the focus
//   rectangle): setting it selects nothing. Without, it is the selected item.
//   An index outside the items selects nothing (-1) instead of failing.
// - The user's changes of the selection (mouse, keys, typed first letters)
//   run OnClick; changes made by the program do not.
#include <string>
#include <vector>

#include "platform/gui/ScrollBarTracker.h"
#include "platform/gui/TCustomControl.h"
#include "platform/gui/TCustomPanel.h"

namespace gui {

// What holds a list of items (a list box, a combo box) and follows its
// changes: each insertion and deletion as it happens, and a summary after
// each change or batch of changes.
class TListItemsOwner {
 public:
  virtual ~TListItemsOwner() = default;
  virtual void ItemInserted(int Index) = 0;
  virtual void ItemDeleted(int Index) = 0;
  virtual void ItemsReset() = 0;
  virtual void ItemsChanged() = 0;
};

// The items of a list box or combo box; every change goes straight to the
// control.
class TListBoxStrings {
 public:
  explicit TListBoxStrings(TListItemsOwner& Owner) : owner_(Owner) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError for an index outside the items.
  const std::u16string& Strings(int Index) const;
  const std::u16string& operator[](int Index) const { return Strings(Index); }
  int Add(const std::u16string& S);
  void Insert(int Index, const std::u16string& S);
  void Delete(int Index);
  void Clear();
  void Assign(const std::vector<std::u16string>& Items);
  int IndexOf(const std::u16string& S) const;
  // Changes between these repaint once, at the end.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  const std::vector<std::u16string>& Strings() const { return items_; }

 private:
  void Changed();
  TListItemsOwner& owner_;
  std::vector<std::u16string> items_;
  int updating_ = 0;
  bool changedWhileUpdating_ = false;
};

class TListBox : public TCustomControl, protected TListItemsOwner {
 public:
  explicit TListBox(TComponent* AOwner);
  ~TListBox() override;

  TListBoxStrings& Items() { return items_; }
  const TListBoxStrings& Items() const { return items_; }
  void Clear() { items_.Clear(); }

  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool Value);
  // With MultiSelect: Shift and Control pick ranges and single items.
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool Value) { extendedSelect_ = Value; }
  int ItemIndex() const { return multiSelect_ ? caret_ : selectedIndex_; }
  void SetItemIndex(int Value);
  // Whether the item is selected; false outside the items.
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  int SelCount() const;
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int Value);
  int ItemHeight() const { return itemHeight_; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);

  win::RECT ClientRect() const override;
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  // The item at a point (window coordinates); -1 when none is there.
  int ItemAtPos(win::POINT Pos) const;
  // Where an item is drawn (window coordinates), in view or not.
  win::RECT ItemRect(int Index) const;
  // How many rows the area shows whole (at least one).
  int VisibleRows() const;

  void WndProc(TMessage& Message) override;

 protected:
  virtual int FrameWidth() const { return borderStyle_ == bsSingle ? 2 : 0; }
  virtual void PaintFrame(TCanvas& Canvas, win::RECT& Rect);
  // The user picked Index (mouse or keys), with the shift state.
  void SelectByUser(int Index, TShiftState Shift);
  void KeyDown(win::WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, win::POINT MousePos) override;
  void Paint() override;
  bool EraseBackground(win::HDC) override { return true; }
  void FontChanged() override;
  void Resize() override;
  void ItemInserted(int Index) override;
  void ItemDeleted(int Index) override;
  void ItemsReset() override;
  void ItemsChanged() override;
  win::RECT ItemArea() const;
  bool HasBar() const;

 private:
  void SetCaret(int Index);
  void UserChanged();
  win::RECT BarRect() const;
  win::SCROLLINFO BarInfo() const;
  void BarRequest(win::WORD Code, int Position);
  void HandleMouse(TMessage& Message);
  void ReportMouse(TMessage& Message);
  void TypeAhead(char16_t Character);
  int ClampTop(int Top) const;

  TListBoxStrings items_;
  std::vector<char> selected_;  // per item, with MultiSelect
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  int selectedIndex_ = -1;
  int caret_ = -1;
  int anchor_ = -1;
  int topIndex_ = 0;
  int itemHeight_ = 16;
  bool dragging_ = false;
  bool userChanged_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  ScrollBarTracker barTracker_;
};

}  // namespace gui
