#include "platform/gui/TCustomEdit.h"

#include <algorithm>

#include "platform/gui/ClassicLook.h"
#include "platform/gui/ClipboardText.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TypedCharacter.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/user/Caret.h"

namespace gui {

namespace {

constexpr win::UINT_PTR kBarRepeatTimer = 1;
constexpr int kBarWidth = 16;
constexpr int kWheelDelta = 120;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isWordCharacter(char16_t c) { return c > ' ' && c != 0x3000; }

// The font measure of each edit's current font, shared while it lives.
FontMeasure& measureFor(std::unique_ptr<FontMeasure>& cache, TFont& font) {
  if (!cache) cache = std::make_unique<FontMeasure>(font);
  return *cache;
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clWindow);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetBounds(Left(), Top(), 121, 25);
  lineHeight_ = FontMeasure(Font()).LineHeight();
  Reflow();
}

TCustomEdit::~TCustomEdit() {
  if (HandleAllocated()) win::KillTimer(Handle(), kBarRepeatTimer);
  if (win::caretState().window != 0 && HandleAllocated() && win::caretState().window == Handle()) win::DestroyCaret();
}

void TCustomEdit::SetText(const std::u16string& Value) {
  if (Value == text_) return;
  text_ = Value;
  anchor_ = caret_ = 0;
  topRow_ = scrollX_ = 0;
  modified_ = false;
  Reflow();
  Change();
}

int TCustomEdit::SelStart() const { return std::min(anchor_, caret_); }

int TCustomEdit::SelLength() const { return std::abs(caret_ - anchor_); }

void TCustomEdit::SetSelStart(int Value) { MoveCaret(std::clamp(Value, 0, GetTextLen()), false); }

void TCustomEdit::SetSelLength(int Value) {
  const int start = SelStart();
  anchor_ = start;
  MoveCaret(static_cast<int>(std::clamp<long long>(static_cast<long long>(start) + Value, 0, GetTextLen())), true);
}

std::u16string TCustomEdit::SelText() const { return text_.substr(SelStart(), SelLength()); }

void TCustomEdit::SetSelText(const std::u16string& Value) { Replace(Value, false); }

void TCustomEdit::SelectAll() {
  anchor_ = 0;
  MoveCaret(GetTextLen(), true);
}

void TCustomEdit::ClearSelection() { Replace(u"", true); }

void TCustomEdit::CopyToClipboard() {
  // A password's characters never leave the control.
  if (passwordChar_ == 0 && SelLength() > 0) SetClipboardText(HandleAllocated() ? Handle() : 0, SelText());
}

void TCustomEdit::CutToClipboard() {
  if (passwordChar_ != 0 || readOnly_) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  std::u16string pasted = GetClipboardText(HandleAllocated() ? Handle() : 0);
  if (!MultiLine()) pasted = pasted.substr(0, pasted.find_first_of(u"\r\n"));
  Replace(pasted, true);
}

void TCustomEdit::SetPasswordChar(char16_t Value) {
  if (Value == passwordChar_) return;
  passwordChar_ = Value;
  Reflow();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  Reflow();
  AdjustHeight();
}

win::RECT TCustomEdit::TextArea() const {
  const int border = BorderWidth();
  const int right = std::max(border, Width() - border - (HasVerticalBar() ? kBarWidth : 0));
  const int bottom = std::max(border, Height() - border - (HasHorizontalBar() ? kBarWidth : 0));
  return {border, border, right, bottom};
}

win::RECT TCustomEdit::ClientRect() const {
  const win::RECT area = TextArea();
  return {0, 0, area.right - area.left, area.bottom - area.top};
}

void TCustomEdit::SetClientWidth(int Value) {
  SetWidth(Value + 2 * BorderWidth() + (HasVerticalBar() ? kBarWidth : 0));
}

void TCustomEdit::SetClientHeight(int Value) {
  SetHeight(Value + 2 * BorderWidth() + (HasHorizontalBar() ? kBarWidth : 0));
}

std::u16string TCustomEdit::RowText(int Index) const {
  if (Index < 0 || Index >= RowCount()) return {};
  const Row& row = rows_[static_cast<std::size_t>(Index)];
  return text_.substr(row.start, row.length);
}

std::u16string TCustomEdit::Displayed(int Start, int Length) const {
  if (passwordChar_ != 0) return std::u16string(static_cast<std::size_t>(Length), passwordChar_);
  return text_.substr(Start, Length);
}

void TCustomEdit::BuildRows(int) { rows_.assign(1, Row{0, GetTextLen(), 0}); }

void TCustomEdit::MeasureText(int Start, int Length, std::vector<int>& Ends) const {
  measureFor(measure_, const_cast<TCustomEdit*>(this)->Font()).PartialWidths(Displayed(Start, Length), Ends);
}

void TCustomEdit::MeasureRow(int RowIndex, std::vector<int>& Ends) const {
  const Row& row = rows_[static_cast<std::size_t>(RowIndex)];
  MeasureText(row.start, row.length, Ends);
}

void TCustomEdit::Reflow() {
  const win::RECT area = TextArea();
  BuildRows(std::max(1, static_cast<int>(area.right - area.left) - 2));
  if (rows_.empty()) rows_.push_back(Row{0, 0, 0});
  widest_ = 0;
  if (HasHorizontalBar() || !MultiLine()) {
    std::vector<int> ends;
    for (int i = 0; i < RowCount(); ++i) {
      MeasureRow(i, ends);
      if (!ends.empty()) widest_ = std::max(widest_, ends.back());
    }
  }
  ScrollTo(topRow_, scrollX_);
  ScrollCaretIntoView();
  Invalidate();
}

int TCustomEdit::RowOf(int Position) const {
  const auto after = std::upper_bound(rows_.begin(), rows_.end(), Position,
                                      [](int position, const Row& row) { return position < row.start; });
  return std::max(0, static_cast<int>(after - rows_.begin()) - 1);
}

int TCustomEdit::VisibleRows() const {
  if (!MultiLine()) return 1;
  const win::RECT area = TextArea();
  return std::max(1, static_cast<int>(area.bottom - area.top - 1) / std::max(1, lineHeight_));
}

int TCustomEdit::RowTop(int RowIndex) const {
  const win::RECT area = TextArea();
  if (!MultiLine()) return area.top + (area.bottom - area.top - lineHeight_) / 2;
  return area.top + 1 + (RowIndex - topRow_) * lineHeight_;
}

int TCustomEdit::XOfPosition(int Position) const {
  const int rowIndex = RowOf(Position);
  const Row& row = rows_[static_cast<std::size_t>(rowIndex)];
  const int offset = std::clamp(Position - row.start, 0, row.length);
  std::vector<int> ends;
  MeasureRow(rowIndex, ends);
  return TextArea().left + 1 + (offset > 0 ? ends[static_cast<std::size_t>(offset - 1)] : 0) - scrollX_;
}

win::POINT TCustomEdit::CaretPoint() const { return {XOfPosition(caret_), RowTop(RowOf(caret_))}; }

int TCustomEdit::PositionAt(win::POINT Point) const {
  int rowIndex = 0;
  if (MultiLine()) {
    const int dy = Point.y - RowTop(topRow_);
    rowIndex = topRow_ + (dy < 0 ? -1 - (-dy - 1) / std::max(1, lineHeight_) : dy / std::max(1, lineHeight_));
    rowIndex = std::clamp(rowIndex, 0, RowCount() - 1);
  }
  const Row& row = rows_[static_cast<std::size_t>(rowIndex)];
  std::vector<int> ends;
  MeasureRow(rowIndex, ends);
  const int x = Point.x - (TextArea().left + 1) + scrollX_;
  int left = 0;
  for (int k = 0; k < row.length; ++k) {
    const int right = ends[static_cast<std::size_t>(k)];
    if (x < (left + right) / 2) return row.start + k;
    left = right;
  }
  // The end of a row that wraps is the next row's start: stop before its
  // last (hanging) character.
  if (row.breakLength == 0 && rowIndex + 1 < RowCount() && row.length > 0) return row.start + row.length - 1;
  return row.start + row.length;
}

void TCustomEdit::MoveCaret(int Position, bool Extend) {
  caret_ = std::clamp(Position, 0, GetTextLen());
  if (!Extend) anchor_ = caret_;
  ScrollCaretIntoView();
  UpdateCaret();
  Invalidate();
}

void TCustomEdit::ScrollCaretIntoView() {
  int top = topRow_;
  const int row = RowOf(caret_);
  if (row < top) top = row;
  if (row >= top + VisibleRows()) top = row - VisibleRows() + 1;
  int scroll = scrollX_;
  if (!WrapsRows()) {
    const win::RECT area = TextArea();
    const int width = std::max(1, static_cast<int>(area.right - area.left) - 2);
    const int x = XOfPosition(caret_) - (area.left + 1) + scrollX_;
    if (x < scroll) scroll = x;
    if (x >= scroll + width) scroll = x - width + 1;
  }
  ScrollTo(top, scroll);
}

void TCustomEdit::ScrollTo(int TopRow, int ScrollX) {
  const win::RECT area = TextArea();
  const int width = std::max(1, static_cast<int>(area.right - area.left) - 2);
  topRow_ = std::clamp(TopRow, 0, std::max(0, RowCount() - VisibleRows()));
  scrollX_ = std::clamp(ScrollX, 0, std::max(0, widest_ - width + 1));
  UpdateCaret();
  Invalidate();
}

void TCustomEdit::UpdateCaret() {
  if (!HandleAllocated() || win::GetFocus() != Handle()) return;
  const win::POINT point = CaretPoint();
  win::SetCaretPos(point.x, point.y);
}

void TCustomEdit::Replace(const std::u16string& Inserted, bool ByUser) {
  if (ByUser && readOnly_) return;
  std::u16string text = Inserted;
  const int start = SelStart();
  const int length = SelLength();
  if (ByUser && maxLength_ > 0) {
    const int room = std::max(0, maxLength_ - (GetTextLen() - length));
    if (static_cast<int>(text.size()) > room) {
      text.resize(static_cast<std::size_t>(room));
      if (!text.empty() && isHighSurrogate(text.back())) text.pop_back();
    }
  }
  if (text.empty() && length == 0) return;
  text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), text);
  anchor_ = caret_ = start + static_cast<int>(text.size());
  modified_ = true;
  Reflow();
  UpdateCaret();
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

int TCustomEdit::WordStart(int Position) const {
  int p = std::clamp(Position, 0, GetTextLen());
  while (p > 0 && !isWordCharacter(text_[static_cast<std::size_t>(p - 1)])) --p;
  while (p > 0 && isWordCharacter(text_[static_cast<std::size_t>(p - 1)])) --p;
  return p;
}

int TCustomEdit::WordEnd(int Position) const {
  int p = std::clamp(Position, 0, GetTextLen());
  while (p < GetTextLen() && isWordCharacter(text_[static_cast<std::size_t>(p)])) ++p;
  while (p < GetTextLen() && !isWordCharacter(text_[static_cast<std::size_t>(p)])) ++p;
  return p;
}

void TCustomEdit::HandleChar(TMessage& Message) {
  const char16_t typed =
      TypedCharacter(static_cast<char16_t>(Message.WParam), [this](char& key) { KeyPress(key); });
  if (typed != 0) TypeCharacter(typed);
}

void TCustomEdit::TypeCharacter(char16_t Character) {
  if (readOnly_) return;
  // A character outside the basic plane comes as two messages; it is typed
  // whole, so that a length limit never keeps half of it.
  const char16_t high = pendingHighSurrogate_;
  pendingHighSurrogate_ = 0;
  if (isHighSurrogate(Character)) {
    pendingHighSurrogate_ = Character;
    return;
  }
  if (isLowSurrogate(Character)) {
    if (high) Replace(std::u16string{high, Character}, true);
    return;
  }
  switch (Character) {
    case u'\b':
      if (SelLength() == 0 && caret_ > 0) {
        int from = caret_ - 1;
        if (from > 0 && isLowSurrogate(text_[static_cast<std::size_t>(from)]) &&
            isHighSurrogate(text_[static_cast<std::size_t>(from - 1)]))
          --from;
        if (from > 0 && text_.compare(static_cast<std::size_t>(from - 1), 2, u"\r\n") == 0) --from;
        anchor_ = from;
      }
      Replace(u"", true);
      return;
    case u'\r':
      if (MultiLine() && WantReturns()) Replace(u"\r\n", true);
      return;
    case u'\t':
      if (MultiLine() && WantTabs()) Replace(u"\t", true);
      return;
    default:
      if (Character < u' ' || Character == 0x7F) return;
      Replace(std::u16string(1, Character), true);
  }
}

void TCustomEdit::KeyDown(win::WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key != 0) MoveByKey(Key, Shift);
}

// Caret keys (Shift extends the selection, Control goes by words or to the
// ends), Delete, and the clipboard keys.
void TCustomEdit::MoveByKey(win::WORD Key, TShiftState Shift) {
  const bool extend = (Shift & ssShift) != 0;
  const bool control = (Shift & ssCtrl) != 0;
  const Row& row = rows_[static_cast<std::size_t>(RowOf(caret_))];
  const auto step = [this](int from, int direction) {
    int to = from + direction;
    if (to > 0 && to < GetTextLen() && isLowSurrogate(text_[static_cast<std::size_t>(to)]) &&
        isHighSurrogate(text_[static_cast<std::size_t>(to - 1)]))
      to += direction;
    if (to > 0 && to < GetTextLen() && text_.compare(static_cast<std::size_t>(to - 1), 2, u"\r\n") == 0) to += direction;
    return to;
  };
  const auto toRow = [&](int rowIndex) {
    const win::POINT caret = CaretPoint();
    rowIndex = std::clamp(rowIndex, 0, RowCount() - 1);
    return PositionAt({caret.x, RowTop(rowIndex)});
  };
  switch (Key) {
    case win::VK_LEFT:
      if (!extend && SelLength() > 0) MoveCaret(SelStart(), false);
      else MoveCaret(control ? WordStart(caret_) : step(caret_, -1), extend);
      return;
    case win::VK_RIGHT:
      if (!extend && SelLength() > 0) MoveCaret(SelStart() + SelLength(), false);
      else MoveCaret(control ? WordEnd(caret_) : step(caret_, 1), extend);
      return;
    case win::VK_HOME: MoveCaret(control ? 0 : row.start, extend); return;
    case win::VK_END:
      MoveCaret(control ? GetTextLen()
                        : row.start + row.length - (row.breakLength == 0 && &row != &rows_.back() && row.length > 0),
                extend);
      return;
    case win::VK_UP: if (MultiLine()) MoveCaret(toRow(RowOf(caret_) - 1), extend); return;
    case win::VK_DOWN: if (MultiLine()) MoveCaret(toRow(RowOf(caret_) + 1), extend); return;
    case win::VK_PRIOR:
      if (MultiLine()) MoveCaret(toRow(RowOf(caret_) - VisibleRows()), extend);
      return;
    case win::VK_NEXT:
      if (MultiLine()) MoveCaret(toRow(RowOf(caret_) + VisibleRows()), extend);
      return;
    case win::VK_DELETE:
      if (extend) {
        CutToClipboard();
      } else if (!readOnly_) {
        if (SelLength() == 0) anchor_ = step(caret_, 1);
        Replace(u"", true);
      }
      return;
    case win::VK_INSERT:
      if (control) CopyToClipboard();
      else if (extend) PasteFromClipboard();
      return;
    default: break;
  }
  if (!control) return;
  if (Key == 'A') SelectAll();
  else if (Key == 'C') CopyToClipboard();
  else if (Key == 'X') CutToClipboard();
  else if (Key == 'V') PasteFromClipboard();
}

win::RECT TCustomEdit::VerticalBarRect() const {
  const win::RECT area = TextArea();
  return {area.right, area.top, area.right + (HasVerticalBar() ? kBarWidth : 0), area.bottom};
}

win::RECT TCustomEdit::HorizontalBarRect() const {
  const win::RECT area = TextArea();
  return {area.left, area.bottom, area.right, area.bottom + (HasHorizontalBar() ? kBarWidth : 0)};
}

win::SCROLLINFO TCustomEdit::BarInfo(bool Vertical) const {
  win::SCROLLINFO info;
  info.fMask = win::SIF_ALL;
  if (Vertical) {
    info.nMax = std::max(0, RowCount() - 1);
    info.nPage = static_cast<win::UINT>(VisibleRows());
    info.nPos = topRow_;
  } else {
    const win::RECT area = TextArea();
    info.nMax = widest_;
    info.nPage = static_cast<win::UINT>(std::max(1, static_cast<int>(area.right - area.left) - 2));
    info.nPos = scrollX_;
  }
  info.nPage = std::min<win::UINT>(info.nPage, static_cast<win::UINT>(info.nMax) + 1);
  info.nTrackPos = info.nPos;
  return barTracker_.Active() && trackingVertical_ == Vertical ? barTracker_.Shown(info) : info;
}

void TCustomEdit::BarRequest(bool Vertical, win::WORD Code, int Position) {
  const int line = Vertical ? 1 : std::max(1, lineHeight_);
  const int page = Vertical ? VisibleRows() : static_cast<int>(BarInfo(false).nPage);
  int current = Vertical ? topRow_ : scrollX_;
  switch (Code) {
    case win::SB_LINEUP: current -= line; break;
    case win::SB_LINEDOWN: current += line; break;
    case win::SB_PAGEUP: current -= page; break;
    case win::SB_PAGEDOWN: current += page; break;
    case win::SB_THUMBTRACK:
    case win::SB_THUMBPOSITION: current = Position; break;
    default: return;
  }
  if (Vertical) ScrollTo(current, scrollX_);
  else ScrollTo(topRow_, current);
}

void TCustomEdit::HandleMouse(TMessage& Message) {
  const win::POINT point{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)};
  const bool shift = (Message.WParam & win::MK_SHIFT) != 0;
  switch (Message.Msg) {
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK: {
      if (HandleAllocated() && CanFocus() && !Focused()) SetFocus();
      for (const bool vertical : {true, false}) {
        if (!(vertical ? HasVerticalBar() : HasHorizontalBar())) continue;
        trackingVertical_ = vertical;
        const auto request = [this, vertical](win::WORD code, int position) { BarRequest(vertical, code, position); };
        if (barTracker_.Press(vertical ? VerticalBarRect() : HorizontalBarRect(), vertical, BarInfo(vertical), point,
                              request)) {
          if (HandleAllocated()) {
            win::SetCapture(Handle());
            win::SetTimer(Handle(), kBarRepeatTimer, ScrollBarTracker::kFirstRepeatDelay, nullptr);
          }
          return;
        }
      }
      const win::RECT area = TextArea();
      if (point.x >= area.right || point.y >= area.bottom) return;  // the corner between the bars
      const int position = PositionAt(point);
      if (Message.Msg == win::WM_LBUTTONDBLCLK) {
        anchor_ = WordStart(std::min(position + 1, GetTextLen()));
        MoveCaret(WordEnd(position), true);
        return;
      }
      MoveCaret(position, shift);
      selecting_ = true;
      if (HandleAllocated()) win::SetCapture(Handle());
      return;
    }
    case win::WM_MOUSEMOVE:
      if (barTracker_.Active()) {
        const bool vertical = trackingVertical_;
        barTracker_.Move(point, BarInfo(vertical), [this, vertical](win::WORD code, int position) {
          BarRequest(vertical, code, position);
        });
      } else if (selecting_) {
        MoveCaret(PositionAt(point), true);
      }
      return;
    case win::WM_LBUTTONUP:
      if (barTracker_.Active()) {
        const bool vertical = trackingVertical_;
        if (HandleAllocated()) win::KillTimer(Handle(), kBarRepeatTimer);
        barTracker_.Release([this, vertical](win::WORD code, int position) { BarRequest(vertical, code, position); });
        Invalidate();
      }
      selecting_ = false;
      if (HandleAllocated() && win::GetCapture() == Handle()) win::ReleaseCapture();
      return;
    default:
      return;
  }
}

void TCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_CHAR:
      HandleChar(Message);
      return;
    case win::WM_GETDLGCODE:
      Message.Result = win::DLGC_WANTARROWS | win::DLGC_WANTCHARS | win::DLGC_HASSETSEL |
                       (MultiLine() && WantTabs() ? win::DLGC_WANTTAB : 0);
      return;
    case win::WM_SETFOCUS:
      win::CreateCaret(Handle(), 0, 1, lineHeight_);
      UpdateCaret();
      win::ShowCaret(Handle());
      Invalidate();
      break;
    case win::WM_KILLFOCUS:
      if (win::caretState().window == Handle()) win::DestroyCaret();
      selecting_ = false;
      Invalidate();
      break;
    case win::WM_TIMER:
      if (Message.WParam != kBarRepeatTimer) break;
      win::SetTimer(Handle(), kBarRepeatTimer, ScrollBarTracker::kRepeatInterval, nullptr);
      barTracker_.Repeat(BarInfo(trackingVertical_), [this](win::WORD code, int position) {
        BarRequest(trackingVertical_, code, position);
      });
      return;
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
    case win::WM_MOUSEMOVE:
    case win::WM_LBUTTONUP:
      HandleMouse(Message);
      break;
    default:
      break;
  }
  TCustomControl::WndProc(Message);
}

bool TCustomEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, win::POINT MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!MultiLine()) return false;
  win::UINT lines = 3;
  win::SystemParametersInfoW(win::SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const long long rows = static_cast<long long>(WheelDelta) * std::min<win::UINT>(lines, 1000) / kWheelDelta;
  ScrollTo(static_cast<int>(std::clamp<long long>(topRow_ - rows, -1, RowCount())), scrollX_);
  return true;
}

void TCustomEdit::FontChanged() {
  measure_.reset();
  lineHeight_ = FontMeasure(Font()).LineHeight();
  Reflow();
  AdjustHeight();
  TCustomControl::FontChanged();
}

void TCustomEdit::Resize() {
  Reflow();
  TCustomControl::Resize();
}

void TCustomEdit::PaintRow(TCanvas& Canvas, int RowIndex, const win::RECT& Area) {
  const Row& row = rows_[static_cast<std::size_t>(RowIndex)];
  const int y = RowTop(RowIndex);
  const int x = Area.left + 1 - scrollX_;
  const std::u16string shown = Displayed(row.start, row.length);
  Canvas.Brush().SetStyle(bsClear);
  Canvas.Font().SetColor(Enabled() ? Font().Color() : clGrayText);
  Canvas.TextOut(x, y, shown);
  const int from = std::max(SelStart(), row.start) - row.start;
  const int to = std::min(SelStart() + SelLength(), row.start + row.length) - row.start;
  if (!Focused() || from >= to) return;
  std::vector<int> ends;
  MeasureRow(RowIndex, ends);
  const int left = x + (from > 0 ? ends[static_cast<std::size_t>(from - 1)] : 0);
  const int right = x + ends[static_cast<std::size_t>(to - 1)];
  FillSolid(Canvas, {left, y, right, y + lineHeight_}, clHighlight);
  Canvas.Brush().SetStyle(bsClear);
  Canvas.Font().SetColor(clHighlightText);
  Canvas.TextOut(left, y, std::u16string_view(shown).substr(static_cast<std::size_t>(from),
                                                            static_cast<std::size_t>(to - from)));
}

void TCustomEdit::Paint() {
  TCanvas& canvas = Canvas();
  win::RECT frame{0, 0, Width(), Height()};
  FillSolid(canvas, frame, Color());
  if (borderStyle_ == bsSingle) DrawSunkenEdge(canvas, frame);
  const win::RECT area = TextArea();
  canvas.SetFont(Font());
  const int saved = win::SaveDC(canvas.Handle());
  win::IntersectClipRect(canvas.Handle(), area.left, area.top, area.right, area.bottom);
  const int last = std::min(RowCount(), topRow_ + VisibleRows() + 1);
  for (int row = MultiLine() ? topRow_ : 0; row < last; ++row) PaintRow(canvas, row, area);
  win::RestoreDC(canvas.Handle(), saved);
  canvas.Brush().SetStyle(bsSolid);
  const ScrollBarPart pressed = barTracker_.PressedPart();
  if (HasVerticalBar())
    PaintScrollBar(canvas, VerticalBarRect(), true, BarInfo(true), Enabled(),
                   trackingVertical_ ? pressed : ScrollBarPart::None);
  if (HasHorizontalBar())
    PaintScrollBar(canvas, HorizontalBarRect(), false, BarInfo(false), Enabled(),
                   trackingVertical_ ? ScrollBarPart::None : pressed);
  if (HasVerticalBar() && HasHorizontalBar())
    FillSolid(canvas, {area.right, area.bottom, area.right + kBarWidth, area.bottom + kBarWidth}, clBtnFace);
}

}  // namespace gui
