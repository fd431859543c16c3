#include "platform/gui/TComboBox.h"

#include <algorithm>

#include "platform/gui/ClassicLook.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TypedCharacter.h"
#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

constexpr int kButtonWidth = 16;
constexpr int kFrame = 2;

char16_t foldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

// The open list: a list box with a thin frame that holds the mouse while it
// is open. The pointer over an item picks it; a release over an item takes
// it; a press outside closes the list.
class TComboPopup : public TListBox {
 public:
  TComboPopup(TComboBox& Combo) : TListBox(&Combo), combo_(Combo) {
    SetTabStop(false);
    SetVisible(false);
  }
  bool openingPress = false;  // the press that opened the list is still down

  // The focus stays with the combo box.
  bool CanFocus() const override { return false; }

  void WndProc(TMessage& Message) override {
    const win::POINT point{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)};
    const bool inside = point.x >= 0 && point.y >= 0 && point.x < Width() && point.y < Height();
    const int item = inside ? ItemAtPos(point) : -1;
    switch (Message.Msg) {
      case win::WM_MOUSEMOVE:
        if (item >= 0) SetItemIndex(item);
        break;
      case win::WM_LBUTTONDOWN:
      case win::WM_LBUTTONDBLCLK:
        openingPress = false;
        if (!inside) {
          combo_.CloseUp(false);
          return;
        }
        if (item >= 0) {
          SetItemIndex(item);
          return;
        }
        break;  // the scroll bar
      case win::WM_LBUTTONUP: {
        const bool wasOpening = openingPress;
        openingPress = false;
        if (item >= 0) {
          SetItemIndex(item);
          combo_.CloseUp(true);
        } else if (!wasOpening && !inside) {
          combo_.CloseUp(false);
        } else {
          // The scroll bar lets go of the mouse; the open list takes it back.
          keepingCapture_ = true;
          TListBox::WndProc(Message);
          keepingCapture_ = false;
          if (Visible()) win::SetCapture(Handle());
        }
        return;
      }
      case win::WM_CAPTURECHANGED:
        if (!keepingCapture_ && Visible() && static_cast<win::HWND>(Message.LParam) != Handle())
          combo_.CloseUp(false);
        return;
      default:
        break;
    }
    TListBox::WndProc(Message);
  }

 protected:
  int FrameWidth() const override { return 1; }
  void PaintFrame(TCanvas& Canvas, win::RECT& Rect) override {
    Canvas.Brush().SetColor(cl3DDkShadow);
    Canvas.FrameRect(Rect);
    Rect = {Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1};
  }

 private:
  TComboBox& combo_;
  bool keepingCapture_ = false;
};

TComboBox::TComboBox(TComponent* AOwner) : TCustomControl(AOwner), items_(*this) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(Left(), Top(), 145, 21);
  AdjustHeight();
}

// The open list goes first, quietly, while this control can still answer it.
TComboBox::~TComboBox() {
  dropped_ = false;
  if (!popup_) return;
  if (popup_->HandleAllocated() && win::GetCapture() == popup_->Handle()) win::ReleaseCapture();
  delete popup_;
  popup_ = nullptr;
}

void TComboBox::AdjustHeight() { SetHeight(FontMeasure(Font()).LineHeight() + 8); }

void TComboBox::FontChanged() {
  AdjustHeight();
  TCustomControl::FontChanged();
}

void TComboBox::SetItemIndex(int Value) {
  if (Value < 0 || Value >= items_.Count()) Value = -1;
  if (Value == itemIndex_) return;
  itemIndex_ = Value;
  Invalidate();
}

std::u16string TComboBox::Text() const {
  return itemIndex_ >= 0 ? items_.Strings()[static_cast<std::size_t>(itemIndex_)] : std::u16string();
}

void TComboBox::ItemInserted(int Index) {
  if (itemIndex_ >= Index) ++itemIndex_;
}

void TComboBox::ItemDeleted(int Index) {
  if (itemIndex_ == Index) itemIndex_ = -1;
  else if (itemIndex_ > Index) --itemIndex_;
}

void TComboBox::ItemsReset() { itemIndex_ = -1; }

void TComboBox::ItemsChanged() {
  if (dropped_) CloseUp(false);
  Invalidate();
}

TListBox* TComboBox::DropDownList() const { return dropped_ ? popup_ : nullptr; }

void TComboBox::ChooseByUser(int Index) {
  if (Index < 0 || Index >= items_.Count() || Index == itemIndex_) return;
  itemIndex_ = Index;
  Invalidate();
  Click();
  if (OnChange) OnChange(this);
}

// Opens the list below the control in the outermost control's window (above
// it when there is no room below), over everything else there.
void TComboBox::SetDroppedDown(bool Value) {
  if (Value == dropped_) return;
  if (!Value) {
    CloseUp(false);
    return;
  }
  TWinControl* root = this;
  while (root->Parent()) root = root->Parent();
  if (root == this || !root->HandleAllocated() || !HandleAllocated()) return;
  if (OnDropDown) OnDropDown(this);
  if (!popup_) popup_ = new TComboPopup(*this);
  popup_->SetFont(Font());
  popup_->Items().Assign(items_.Strings());
  const int rows = std::clamp(items_.Count(), 1, dropDownCount_);
  const int height = rows * popup_->ItemHeight() + 2;
  const win::POINT below = root->ScreenToClient(ClientToScreen({0, Height()}));
  const win::POINT above = root->ScreenToClient(ClientToScreen({0, -height}));
  const bool roomBelow = below.y + height <= root->ClientHeight() || above.y < 0;
  popup_->SetParent(root);
  popup_->SetBounds(below.x, roomBelow ? below.y : above.y, Width(), height);
  popup_->SetItemIndex(itemIndex_);
  popup_->Show();
  win::SetWindowPos(popup_->Handle(), win::HWND_TOP, 0, 0, 0, 0,
                    win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  dropped_ = true;
  popup_->openingPress = win::GetKeyState(win::VK_LBUTTON) < 0;
  win::SetCapture(popup_->Handle());
  Invalidate();
}

void TComboBox::CloseUp(bool Take) {
  if (!dropped_) return;
  dropped_ = false;
  const int picked = popup_->ItemIndex();
  popup_->Hide();
  if (popup_->HandleAllocated() && win::GetCapture() == popup_->Handle()) win::ReleaseCapture();
  Invalidate();
  if (OnCloseUp) OnCloseUp(this);
  if (Take) ChooseByUser(picked);
}

void TComboBox::MoveInList(win::WORD Key) {
  const int count = items_.Count();
  if (count == 0) return;
  const int current = dropped_ ? popup_->ItemIndex() : itemIndex_;
  int target = current;
  switch (Key) {
    case win::VK_UP: target = current < 0 ? 0 : current - 1; break;
    case win::VK_DOWN: target = current + 1; break;
    case win::VK_PRIOR: target = current - (dropDownCount_ - 1); break;
    case win::VK_NEXT: target = current + (dropDownCount_ - 1); break;
    case win::VK_HOME: target = 0; break;
    case win::VK_END: target = count - 1; break;
    default: return;
  }
  target = std::clamp(target, 0, count - 1);
  if (dropped_) popup_->SetItemIndex(target);
  else ChooseByUser(target);
}

void TComboBox::KeyDown(win::WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const bool alt = (Shift & ssAlt) != 0;
  if (Key == win::VK_F4 || (alt && (Key == win::VK_DOWN || Key == win::VK_UP))) {
    if (dropped_) CloseUp(true);
    else SetDroppedDown(true);
    return;
  }
  if (dropped_ && (Key == win::VK_RETURN || Key == win::VK_ESCAPE)) {
    CloseUp(Key == win::VK_RETURN);
    return;
  }
  MoveInList(Key);
}

win::RECT TComboBox::ButtonRect() const {
  return {std::max(kFrame, Width() - kFrame - kButtonWidth), kFrame, Width() - kFrame, Height() - kFrame};
}

void TComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_GETDLGCODE:
      Message.Result = win::DLGC_WANTARROWS | win::DLGC_WANTCHARS;
      return;
    case win::WM_CHAR: {
      const char16_t typed =
          TypedCharacter(static_cast<char16_t>(Message.WParam), [this](char& key) { KeyPress(key); });
      if (typed <= u' ' || items_.Count() == 0) return;
      for (int step = 1; step <= items_.Count(); ++step) {
        const int index = (std::max(itemIndex_, -1) + step) % items_.Count();
        const std::u16string& item = items_.Strings()[static_cast<std::size_t>(index)];
        if (!item.empty() && foldAscii(item[0]) == foldAscii(typed)) {
          ChooseByUser(index);
          return;
        }
      }
      return;
    }
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
      if (HandleAllocated() && CanFocus() && !Focused()) SetFocus();
      if (Enabled()) SetDroppedDown(!dropped_);
      MouseDown(mbLeft, ShiftFromKeys(Message.WParam), win::GET_X_LPARAM(Message.LParam),
                win::GET_Y_LPARAM(Message.LParam));
      return;
    case win::WM_LBUTTONUP:
      MouseUp(mbLeft, ShiftFromKeys(Message.WParam), win::GET_X_LPARAM(Message.LParam),
              win::GET_Y_LPARAM(Message.LParam));
      return;
    case win::WM_KILLFOCUS:
      CloseUp(false);
      Invalidate();
      break;
    case win::WM_SETFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

// A sunken field with the chosen item, highlighted while focused and closed,
// and the raised button with its arrow (pressed while open).
void TComboBox::Paint() {
  TCanvas& canvas = Canvas();
  win::RECT frame{0, 0, Width(), Height()};
  FillSolid(canvas, frame, Color());
  DrawSunkenEdge(canvas, frame);
  const win::RECT button = ButtonRect();
  const win::RECT field{frame.left + 1, frame.top + 1, button.left - 1, frame.bottom - 1};
  const bool highlighted = Focused() && !dropped_;
  if (highlighted) FillSolid(canvas, field, clHighlight);
  canvas.SetFont(Font());
  const std::u16string text = Text();
  const int saved = win::SaveDC(canvas.Handle());
  win::IntersectClipRect(canvas.Handle(), field.left, field.top, field.right, field.bottom);
  const int y = (Height() - canvas.TextExtent(std::u16string_view(u"Ag")).cy) / 2;
  DrawControlText(canvas, field.left + 1, y, text, Enabled(), highlighted ? clHighlightText : Font().Color());
  win::RestoreDC(canvas.Handle(), saved);
  if (highlighted) DrawFocusRectangle(canvas, field);
  win::RECT face = button;
  FillSolid(canvas, face, clBtnFace);
  DrawButtonEdge(canvas, face, dropped_);
  const win::RECT glyph = dropped_ ? win::RECT{button.left + 1, button.top + 1, button.right + 1, button.bottom + 1}
                                   : button;
  DrawArrowGlyph(canvas, glyph, ArrowDirection::Down, Enabled());
}

}  // namespace gui
