// Keys, the wheel, words under the pointer and the selection as character
// positions.
#include <algorithm>
#include <climits>
#include <vector>

#include "engine/document/SelTextBuf.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/user/SystemParameters.h"
#include "engine/objects/DocumentHover.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

namespace {

bool IsWordChar(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 192;
}

int SaturatedAdd(int a, int b) {
  return static_cast<int>(std::clamp<long long>(static_cast<long long>(a) + b, INT_MIN, INT_MAX));
}

}  // namespace

void THTMLViewer::KeyDown(win::WORD& Key, gui::TShiftState Shift) {
  gui::TWinControl::KeyDown(Key, Shift);
  if (middleScroll_) {
    LeaveMiddleScroll();
    return;
  }
  if (Shift & (gui::ssShift | gui::ssCtrl | gui::ssAlt)) return;
  const int old = VerticalPosition();
  long long target = old;
  switch (Key) {
    case win::VK_PRIOR: target -= vScrollBar_->LargeChange(); break;
    case win::VK_NEXT: target += vScrollBar_->LargeChange(); break;
    case win::VK_END: target = documentHeight_; break;
    case win::VK_HOME: target = 0; break;
    case win::VK_UP: target -= vScrollBar_->SmallChange(); break;
    case win::VK_DOWN: target += vScrollBar_->SmallChange(); break;
    case win::VK_LEFT:
    case win::VK_RIGHT: {
      const int step = Key == win::VK_LEFT ? -hScrollBar_->SmallChange() : hScrollBar_->SmallChange();
      SetHorizontalPosition(SaturatedAdd(HorizontalPosition(), step));
      return;
    }
    default: return;
  }
  const int now = static_cast<int>(std::clamp<long long>(target, 0, std::max(0, documentHeight_ - PanelHeight())));
  vScrollBar_->SetPosition32(now);
  root_->SetYOffset(now);
  if (backgroundFixed_ || std::abs(now - old) != vScrollBar_->SmallChange() || !paintPanel_->HandleAllocated()) {
    paintPanel_->Invalidate();
  } else {
    win::ScrollWindow(paintPanel_->Handle(), 0, old - now, nullptr, nullptr);
    win::UpdateWindow(paintPanel_->Handle());
  }
}

void THTMLViewer::WndProc(gui::TMessage& Message) {
  if (Message.Msg == win::WM_GETDLGCODE) {
    Message.Result = win::DLGC_WANTARROWS;
    return;
  }
  if (Message.Msg == kAutoScrollMessage) {
    AutoScrollLoop();
    return;
  }
  if (Message.Msg == kFormSubmitMessage) {
    FormSubmitMessage();
    return;
  }
  if (Message.Msg == kLinkActivationMessage) {
    FollowLink();
    return;
  }
  gui::TWinControl::WndProc(Message);
}

// Whole scroll lines of 16 pixels a notch, or half the delta when the
// system asks for no lines.
bool THTMLViewer::DoMouseWheel(gui::TShiftState Shift, int WheelDelta, win::POINT MousePos) {
  if (gui::TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (options_ & htNoWheelMouse) return false;
  win::UINT lines = 3;
  win::SystemParametersInfoW(win::SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int signedLines = static_cast<int>(std::min<win::UINT>(lines, 1000));
  int step = signedLines > 0 ? signedLines * vScrollBar_->SmallChange() : WheelDelta / 2;
  if (signedLines > 0 && WheelDelta > 0) step = -step;
  if (signedLines <= 0) step = -step;
  ScrollVertically(SaturatedAdd(VerticalPosition(), step));
  return true;
}

// The word under the point: a run of letters and digits (and any character
// from 192 up) within one object. After ends one past it, Before one before.
bool THTMLViewer::GetWordAtPoint(int X, int Y, std::u16string& Word, int& After, int& Before) {
  Word.clear();
  int xr = 0, yr = 0, caretHeight = 0;
  bool inText = false;
  const int position = root_->CursorAtPoint(&LayoutCanvas(), X + HorizontalPosition(), Y + VerticalPosition(), xr,
                                            yr, caretHeight, inText);
  if (position >= 0) caretPos_ = position;
  if (position < 0 || !inText) return false;
  After = position;
  Before = position - 1;
  char16_t ch = 0;
  engine::TIDObject* owner = nullptr;
  if (!root_->CharAtPosition(After, ch, owner) || !IsWordChar(ch)) return false;
  std::u16string tail(1, ch);
  ++After;
  engine::TIDObject* other = nullptr;
  while (root_->CharAtPosition(After, ch, other) && other == owner && IsWordChar(ch)) {
    tail += ch;
    ++After;
  }
  // Built backwards and turned once, so a long word costs its length.
  std::u16string head;
  while (Before >= 0 && root_->CharAtPosition(Before, ch, other) && other == owner && IsWordChar(ch)) {
    head += ch;
    --Before;
  }
  std::reverse(head.begin(), head.end());
  Word = head + tail;
  return true;
}

void THTMLViewer::DoubleClickAt(gui::TShiftState Shift, int X, int Y) {
  engine::SetHoverImagePressed(*root_, true);
  if (!busy_ && !linkFollowed_ && !noSelect_) {
    std::u16string word;
    int after = 0, before = 0;
    if (GetWordAtPoint(X, Y, word, after, before)) {
      root_->SelB = before + 1;
      root_->SelE = after;
      caretPos_ = before + 1;
      paintPanel_->Invalidate();
    }
  }
  if (OnMouseDouble) OnMouseDouble(this, gui::mbLeft, Shift, X, Y);
}

// The selected text as copied: forced line breaks are counted but not copied,
// so the text is cut to what was written.
std::u16string THTMLViewer::GetSelectionText() {
  if (root_->SelB < 0 || root_->SelE <= root_->SelB) return {};
  engine::SelTextCount counter;
  root_->CopyToSelectionBuffer(counter, root_->SelB, root_->SelE);
  const int count = counter.Finish();
  if (count <= 0) return {};
  std::vector<char16_t> buffer(static_cast<std::size_t>(count) + 1);
  engine::SelTextBuf copier(buffer.data(), count + 1);
  root_->CopyToSelectionBuffer(copier, root_->SelB, root_->SelE);
  const int written = copier.Finish();
  const auto length = static_cast<std::size_t>(std::clamp(written - 1, 0, count));
  std::u16string text(buffer.data(), length);
  const std::size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

int THTMLViewer::GetSelectionLength() const {
  return root_->SelB == caretPos_ ? root_->SelE - root_->SelB : root_->SelB - root_->SelE;
}

// Host-supplied lengths saturate instead of wrapping past the ends.
void THTMLViewer::SetSelectionLength(int Length) {
  const int other = SaturatedAdd(caretPos_, Length);
  root_->SelB = std::min(caretPos_, other);
  root_->SelE = std::max(caretPos_, other);
  paintPanel_->Invalidate();
}

void THTMLViewer::SetSelectionStart(int Position) {
  caretPos_ = Position;
  root_->SelB = Position;
  root_->SelE = Position;
  paintPanel_->Invalidate();
}

void THTMLViewer::SetCaretPosition(int Position) {
  if (Position >= 0) caretPos_ = Position;
}

}  // namespace viewer
