#include "platform/gui/TListBox.h"

#include <algorithm>

#include "platform/gui/ClassicLook.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TypedCharacter.h"
#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

constexpr win::UINT_PTR kBarRepeatTimer = 1;
constexpr int kBarWidth = 16;
constexpr int kWheelDelta = 120;
constexpr int kTextInset = 2;

char16_t foldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

const std::u16string& TListBoxStrings::Strings(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return items_[static_cast<std::size_t>(Index)];
}

int TListBoxStrings::Add(const std::u16string& S) {
  Insert(Count(), S);
  return Count() - 1;
}

void TListBoxStrings::Insert(int Index, const std::u16string& S) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  items_.insert(items_.begin() + Index, S);
  owner_.ItemInserted(Index);
  Changed();
}

void TListBoxStrings::Delete(int Index) {
  Strings(Index);  // checks the index
  items_.erase(items_.begin() + Index);
  owner_.ItemDeleted(Index);
  Changed();
}

void TListBoxStrings::Clear() { Assign({}); }

void TListBoxStrings::Assign(const std::vector<std::u16string>& Items) {
  items_ = Items;
  owner_.ItemsReset();
  Changed();
}

int TListBoxStrings::IndexOf(const std::u16string& S) const {
  const auto found = std::find(items_.begin(), items_.end(), S);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TListBoxStrings::Changed() {
  if (updating_ > 0) {
    changedWhileUpdating_ = true;
    return;
  }
  owner_.ItemsChanged();
}

void TListBoxStrings::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    owner_.ItemsChanged();
  }
}

TListBox::TListBox(TComponent* AOwner) : TCustomControl(AOwner), items_(*this) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(Left(), Top(), 121, 97);
  itemHeight_ = std::max(1, FontMeasure(Font()).LineHeight());
}

TListBox::~TListBox() {
  if (HandleAllocated()) win::KillTimer(Handle(), kBarRepeatTimer);
}

void TListBox::ItemInserted(int Index) {
  if (multiSelect_) selected_.insert(selected_.begin() + Index, 0);
  if (selectedIndex_ >= Index) ++selectedIndex_;
  if (caret_ >= Index && caret_ >= 0 && items_.Count() > 1) ++caret_;
  if (anchor_ >= Index) ++anchor_;
}

void TListBox::ItemDeleted(int Index) {
  if (multiSelect_) selected_.erase(selected_.begin() + Index);
  const auto shift = [Index](int& value) {
    if (value == Index) value = -1;
    else if (value > Index) --value;
  };
  shift(selectedIndex_);
  shift(anchor_);
  if (caret_ > Index || caret_ >= items_.Count()) --caret_;
}

void TListBox::ItemsReset() {
  selected_.assign(multiSelect_ ? items_.Strings().size() : 0, 0);
  selectedIndex_ = caret_ = anchor_ = -1;
  topIndex_ = 0;
}

void TListBox::ItemsChanged() {
  topIndex_ = ClampTop(topIndex_);
  Invalidate();
}

void TListBox::SetMultiSelect(bool Value) {
  if (Value == multiSelect_) return;
  multiSelect_ = Value;
  selected_.assign(Value ? items_.Strings().size() : 0, 0);
  if (Value && selectedIndex_ >= 0) selected_[static_cast<std::size_t>(selectedIndex_)] = 1;
  if (!Value) selectedIndex_ = -1;
  Invalidate();
}

void TListBox::SetItemIndex(int Value) {
  if (Value < 0 || Value >= items_.Count()) Value = -1;
  if (multiSelect_) {
    SetCaret(Value);
    return;
  }
  selectedIndex_ = Value;
  SetCaret(Value);
}

bool TListBox::Selected(int Index) const {
  if (Index < 0 || Index >= items_.Count()) return false;
  return multiSelect_ ? selected_[static_cast<std::size_t>(Index)] != 0 : Index == selectedIndex_;
}

void TListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= items_.Count()) return;
  if (multiSelect_) {
    selected_[static_cast<std::size_t>(Index)] = Value ? 1 : 0;
    Invalidate();
    return;
  }
  if (Value) SetItemIndex(Index);
  else if (Index == selectedIndex_) SetItemIndex(-1);
}

int TListBox::SelCount() const {
  if (!multiSelect_) return -1;
  return static_cast<int>(std::count(selected_.begin(), selected_.end(), 1));
}

int TListBox::ClampTop(int Top) const { return std::clamp(Top, 0, std::max(0, items_.Count() - VisibleRows())); }

void TListBox::SetTopIndex(int Value) {
  const int top = ClampTop(Value);
  if (top == topIndex_) return;
  topIndex_ = top;
  Invalidate();
}

// Keeps the caret's row in view.
void TListBox::SetCaret(int Index) {
  caret_ = Index;
  if (Index >= 0) {
    if (Index < topIndex_) topIndex_ = Index;
    else if (Index >= topIndex_ + VisibleRows()) topIndex_ = Index - VisibleRows() + 1;
    topIndex_ = ClampTop(topIndex_);
  }
  Invalidate();
}

void TListBox::SetBorderStyle(TBorderStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  topIndex_ = ClampTop(topIndex_);
  Invalidate();
}

bool TListBox::HasBar() const {
  const int frame = FrameWidth();
  const int rows = std::max(1, (Height() - 2 * frame) / itemHeight_);
  return items_.Count() > rows;
}

win::RECT TListBox::ItemArea() const {
  const int frame = FrameWidth();
  const int right = std::max(frame, Width() - frame - (HasBar() ? kBarWidth : 0));
  return {frame, frame, right, std::max(frame, Height() - frame)};
}

win::RECT TListBox::ClientRect() const {
  const win::RECT area = ItemArea();
  return {0, 0, area.right - area.left, area.bottom - area.top};
}

void TListBox::SetClientWidth(int Value) { SetWidth(Value + 2 * FrameWidth() + (HasBar() ? kBarWidth : 0)); }

void TListBox::SetClientHeight(int Value) { SetHeight(Value + 2 * FrameWidth()); }

int TListBox::VisibleRows() const {
  const win::RECT area = ItemArea();
  return std::max(1, static_cast<int>(area.bottom - area.top) / itemHeight_);
}

win::RECT TListBox::ItemRect(int Index) const {
  const win::RECT area = ItemArea();
  const long long top = area.top + static_cast<long long>(Index - topIndex_) * itemHeight_;
  const int clampedTop = static_cast<int>(std::clamp<long long>(top, -(1 << 28), 1 << 28));
  return {area.left, clampedTop, area.right, clampedTop + itemHeight_};
}

int TListBox::ItemAtPos(win::POINT Pos) const {
  const win::RECT area = ItemArea();
  if (Pos.x < area.left || Pos.x >= area.right || Pos.y < area.top || Pos.y >= area.bottom) return -1;
  const int index = topIndex_ + static_cast<int>(Pos.y - area.top) / itemHeight_;
  return index < items_.Count() ? index : -1;
}

void TListBox::UserChanged() {
  userChanged_ = true;
  Invalidate();
}

// Single selection selects the item; with MultiSelect and ExtendedSelect,
// Shift selects the range from the anchor, Control toggles, and a plain pick
// selects the item alone; plain MultiSelect toggles.
void TListBox::SelectByUser(int Index, TShiftState Shift) {
  if (Index < 0 || Index >= items_.Count()) return;
  userChanged_ = false;
  if (!multiSelect_) {
    if (Index != selectedIndex_) {
      selectedIndex_ = Index;
      UserChanged();
    }
    SetCaret(Index);
  } else {
    std::vector<char> before = selected_;
    if (!extendedSelect_) {
      selected_[static_cast<std::size_t>(Index)] ^= 1;
      anchor_ = Index;
    } else if ((Shift & ssShift) && anchor_ >= 0) {
      std::fill(selected_.begin(), selected_.end(), 0);
      for (int i = std::min(anchor_, Index); i <= std::max(anchor_, Index); ++i) selected_[static_cast<std::size_t>(i)] = 1;
    } else if (Shift & ssCtrl) {
      selected_[static_cast<std::size_t>(Index)] ^= 1;
      anchor_ = Index;
    } else {
      std::fill(selected_.begin(), selected_.end(), 0);
      selected_[static_cast<std::size_t>(Index)] = 1;
      anchor_ = Index;
    }
    if (before != selected_) UserChanged();
    SetCaret(Index);
  }
  if (userChanged_) {
    userChanged_ = false;
    Click();
  }
}

void TListBox::KeyDown(win::WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const int count = items_.Count();
  if (Key == 0 || count == 0) return;
  const int from = std::max(caret_, 0);
  int target = -1;
  switch (Key) {
    case win::VK_UP: target = caret_ < 0 ? 0 : std::max(0, from - 1); break;
    case win::VK_DOWN: target = caret_ < 0 ? 0 : std::min(count - 1, from + 1); break;
    case win::VK_PRIOR: target = std::max(0, from - (VisibleRows() - 1)); break;
    case win::VK_NEXT: target = std::min(count - 1, from + (VisibleRows() - 1)); break;
    case win::VK_HOME: target = 0; break;
    case win::VK_END: target = count - 1; break;
    case win::VK_SPACE:
      if (multiSelect_ && caret_ >= 0) SelectByUser(caret_, extendedSelect_ ? ssCtrl : 0);
      return;
    default: return;
  }
  // Moving the caret alone: Control in an extended list, always in a plain
  // multiple-selection list.
  if (multiSelect_ && (!extendedSelect_ || ((Shift & ssCtrl) && !(Shift & ssShift)))) {
    SetCaret(target);
    return;
  }
  if (multiSelect_ && !(Shift & ssShift)) anchor_ = target;
  SelectByUser(target, Shift & ssShift);
}

void TListBox::TypeAhead(char16_t Character) {
  const int count = items_.Count();
  if (Character <= u' ' || count == 0) return;
  const char16_t wanted = foldAscii(Character);
  for (int step = 1; step <= count; ++step) {
    const int index = (std::max(caret_, -1) + step) % count;
    const std::u16string& item = items_.Strings()[static_cast<std::size_t>(index)];
    if (!item.empty() && foldAscii(item[0]) == wanted) {
      if (multiSelect_ && !extendedSelect_) SetCaret(index);
      else SelectByUser(index, 0);
      return;
    }
  }
}

win::RECT TListBox::BarRect() const {
  const win::RECT area = ItemArea();
  return {area.right, area.top, area.right + (HasBar() ? kBarWidth : 0), area.bottom};
}

win::SCROLLINFO TListBox::BarInfo() const {
  win::SCROLLINFO info;
  info.fMask = win::SIF_ALL;
  info.nMax = std::max(0, items_.Count() - 1);
  info.nPage = static_cast<win::UINT>(std::min(VisibleRows(), items_.Count()));
  info.nPos = info.nTrackPos = topIndex_;
  return barTracker_.Shown(info);
}

void TListBox::BarRequest(win::WORD Code, int Position) {
  switch (Code) {
    case win::SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
    case win::SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
    case win::SB_PAGEUP: SetTopIndex(topIndex_ - VisibleRows()); break;
    case win::SB_PAGEDOWN: SetTopIndex(topIndex_ + VisibleRows()); break;
    case win::SB_THUMBTRACK:
    case win::SB_THUMBPOSITION: SetTopIndex(Position); break;
    default: break;
  }
  Invalidate();
}

void TListBox::HandleMouse(TMessage& Message) {
  const win::POINT point{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)};
  const auto request = [this](win::WORD code, int position) { BarRequest(code, position); };
  switch (Message.Msg) {
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK: {
      if (HandleAllocated() && CanFocus() && !Focused()) SetFocus();
      if (HasBar() && barTracker_.Press(BarRect(), true, BarInfo(), point, request)) {
        if (HandleAllocated()) {
          win::SetCapture(Handle());
          win::SetTimer(Handle(), kBarRepeatTimer, ScrollBarTracker::kFirstRepeatDelay, nullptr);
        }
        return;
      }
      const int index = ItemAtPos(point);
      if (index < 0) return;
      SelectByUser(index, ShiftFromKeys(Message.WParam));
      dragging_ = !multiSelect_;
      if (dragging_ && HandleAllocated()) win::SetCapture(Handle());
      return;
    }
    case win::WM_MOUSEMOVE:
      if (barTracker_.Active()) {
        barTracker_.Move(point, BarInfo(), request);
      } else if (dragging_) {
        // Dragging past the ends scrolls a row at a time.
        const win::RECT area = ItemArea();
        const int y = std::clamp<int>(point.y, area.top - 1, area.bottom);
        int index = y < area.top ? topIndex_ - 1 : (y >= area.bottom ? topIndex_ + VisibleRows() : ItemAtPos({area.left, y}));
        if (index < 0 && y >= area.top && y < area.bottom) index = items_.Count() - 1;
        SelectByUser(std::clamp(index, 0, items_.Count() - 1), 0);
      }
      return;
    case win::WM_LBUTTONUP:
      if (barTracker_.Active()) {
        if (HandleAllocated()) win::KillTimer(Handle(), kBarRepeatTimer);
        barTracker_.Release(request);
        Invalidate();
      }
      dragging_ = false;
      if (HandleAllocated() && win::GetCapture() == Handle()) win::ReleaseCapture();
      return;
    default:
      return;
  }
}

void TListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_GETDLGCODE:
      Message.Result = win::DLGC_WANTARROWS | win::DLGC_WANTCHARS;
      return;
    case win::WM_CHAR:
      if (const char16_t typed =
              TypedCharacter(static_cast<char16_t>(Message.WParam), [this](char& key) { KeyPress(key); }))
        TypeAhead(typed);
      return;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
      dragging_ = false;
      Invalidate();
      break;
    case win::WM_TIMER:
      if (Message.WParam != kBarRepeatTimer) break;
      win::SetTimer(Handle(), kBarRepeatTimer, ScrollBarTracker::kRepeatInterval, nullptr);
      barTracker_.Repeat(BarInfo(), [this](win::WORD code, int position) { BarRequest(code, position); });
      return;
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
    case win::WM_MOUSEMOVE:
    case win::WM_LBUTTONUP:
      HandleMouse(Message);
      ReportMouse(Message);
      return;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// The mouse events without the press-and-release click of other controls:
// a list box clicks when the user changes its selection.
void TListBox::ReportMouse(TMessage& Message) {
  const int x = win::GET_X_LPARAM(Message.LParam);
  const int y = win::GET_Y_LPARAM(Message.LParam);
  const TShiftState shift = ShiftFromKeys(Message.WParam);
  switch (Message.Msg) {
    case win::WM_LBUTTONDBLCLK:
      DblClick();
      MouseDown(mbLeft, shift | ssDouble, x, y);
      break;
    case win::WM_LBUTTONDOWN: MouseDown(mbLeft, shift, x, y); break;
    case win::WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    default: MouseUp(mbLeft, shift, x, y); break;
  }
}

bool TListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, win::POINT MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  win::UINT lines = 3;
  win::SystemParametersInfoW(win::SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const long long rows = static_cast<long long>(WheelDelta) * std::min<win::UINT>(lines, 1000) / kWheelDelta;
  SetTopIndex(static_cast<int>(std::clamp<long long>(topIndex_ - rows, -1, items_.Count())));
  return true;
}

void TListBox::FontChanged() {
  itemHeight_ = std::max(1, FontMeasure(Font()).LineHeight());
  topIndex_ = ClampTop(topIndex_);
  TCustomControl::FontChanged();
}

void TListBox::Resize() {
  topIndex_ = ClampTop(topIndex_);
  Invalidate();
  TCustomControl::Resize();
}

void TListBox::PaintFrame(TCanvas& Canvas, win::RECT& Rect) {
  if (borderStyle_ == bsSingle) DrawSunkenEdge(Canvas, Rect);
}

void TListBox::Paint() {
  TCanvas& canvas = Canvas();
  win::RECT frame{0, 0, Width(), Height()};
  FillSolid(canvas, frame, Color());
  PaintFrame(canvas, frame);
  const win::RECT area = ItemArea();
  canvas.SetFont(Font());
  const int saved = win::SaveDC(canvas.Handle());
  win::IntersectClipRect(canvas.Handle(), area.left, area.top, area.right, area.bottom);
  const int last = std::min(items_.Count(), topIndex_ + VisibleRows() + 1);
  for (int index = topIndex_; index < last; ++index) {
    const win::RECT row = ItemRect(index);
    const bool selected = Selected(index);
    if (selected) FillSolid(canvas, row, clHighlight);
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(!Enabled() ? clGrayText : (selected ? clHighlightText : Font().Color()));
    canvas.TextOut(row.left + kTextInset, row.top, std::u16string_view(items_.Strings()[static_cast<std::size_t>(index)]));
    canvas.Brush().SetStyle(bsSolid);
    if (index == caret_ && Focused()) DrawFocusRectangle(canvas, row);
  }
  win::RestoreDC(canvas.Handle(), saved);
  if (HasBar()) PaintScrollBar(canvas, BarRect(), true, BarInfo(), Enabled(), barTracker_.PressedPart());
}

}  // namespace gui
