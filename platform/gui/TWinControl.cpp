#include "platform/gui/TWinControl.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UpdateBatch.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/NearEndSearch.h"

namespace gui {

namespace {

constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;

// Our windows and their controls. Looked up by handle, never through window
// data that another window's owner could have set. Never freed, so that
// controls outliving static destruction still find it.
std::unordered_map<win::HWND, TWinControl*>& controlsByWindow() {
  static auto* controls = new std::unordered_map<win::HWND, TWinControl*>();
  return *controls;
}

TShiftState keyboardShift() {
  TShiftState shift = 0;
  if (win::GetKeyState(kVkShift) < 0) shift |= ssShift;
  if (win::GetKeyState(kVkControl) < 0) shift |= ssCtrl;
  if (win::GetKeyState(kVkMenu) < 0) shift |= ssAlt;
  return shift;
}

bool isMouseMessage(win::UINT message) {
  return message >= win::WM_MOUSEFIRST && message <= win::WM_MOUSELAST && message != win::WM_MOUSEWHEEL;
}

bool isButtonDown(win::UINT message) {
  return message == win::WM_LBUTTONDOWN || message == win::WM_RBUTTONDOWN || message == win::WM_MBUTTONDOWN ||
         message == win::WM_LBUTTONDBLCLK || message == win::WM_RBUTTONDBLCLK || message == win::WM_MBUTTONDBLCLK;
}

bool isButtonUp(win::UINT message) {
  return message == win::WM_LBUTTONUP || message == win::WM_RBUTTONUP || message == win::WM_MBUTTONUP;
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // Children stay with whoever owns them; they only lose their parent.
  while (!controls_.empty()) RemoveControl(controls_.back());
  if (Parent()) Parent()->RemoveControl(this);
  DestroyHandle();
  ForgetControl(this);
}

TWinControl* TWinControl::FindControl(win::HWND Handle) {
  const auto found = controlsByWindow().find(Handle);
  return found == controlsByWindow().end() ? nullptr : found->second;
}

win::HWND TWinControl::Handle() {
  if (!handle_ && !creating_) {
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::SetParentWindow(win::HWND Value) {
  if (Value == parentWindow_) return;
  parentWindow_ = Value;
  if (handle_ && !Parent()) {
    DestroyHandle();
    if (Value) CreateWnd();
  }
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Style = win::WS_CHILD | win::WS_CLIPCHILDREN | win::WS_CLIPSIBLINGS;
  if (Visible()) Params.Style |= win::WS_VISIBLE;
  if (!Enabled()) Params.Style |= win::WS_DISABLED;
  if (tabStop_) Params.Style |= win::WS_TABSTOP;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  Params.WndParent = Parent() ? Parent()->handle_ : parentWindow_;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & win::WS_CHILD) && !params.WndParent)
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  creating_ = true;
  const win::RECT bounds{params.X, params.Y, params.X + params.Width, params.Y + params.Height};
  const win::HWND made =
      win::createWindowWithProcedure(StandardWndProc, params.ExStyle, params.Style, bounds, params.WndParent, this);
  creating_ = false;
  if (!made) {
    controlsByWindow().erase(handle_);
    handle_ = 0;
    throw EOutOfResources("Error creating window");
  }
  handle_ = made;
  if (params.ClassStyle) win::setWindowClassStyle(made, params.ClassStyle);
  // A host looking inside sees the control's class, as class-library windows show it.
  const std::string className = ClassName();
  win::setWindowClassName(made, std::u16string(className.begin(), className.end()));
  if (!Caption().empty()) TextChanged();
  for (TControl* child : std::vector<TControl*>(controls_))
    if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed && !windowed->handle_) windowed->CreateWnd();
  Realign();
}

void TWinControl::DestroyWnd() { win::DestroyWindow(handle_); }

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Destroying the window destroys the children's windows; WM_NCDESTROY
  // clears every handle.
  DestroyWnd();
  if (handle_) ForgetControl(this);
}

void TWinControl::ForgetControl(TWinControl* Control) {
  if (Control->handle_) controlsByWindow().erase(Control->handle_);
  Control->handle_ = 0;
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return controls_[static_cast<std::size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* AControl) const {
  for (const TControl* control = AControl; control; control = control->Parent())
    if (control == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->parent_ == this) return;
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl); windowed && windowed->ContainsControl(this))
    throw EInvalidOperation("A control cannot have itself as its parent");
  controls_.push_back(AControl);
  AControl->parent_ = this;
  if (AControl->Align() != alNone) ++alignedCount_;
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    windowed->DestroyHandle();
    if (handle_) windowed->CreateWnd();
  }
  AControl->Invalidate();
  // Children without an Align never move on their own, so only an aligned
  // child needs a new layout; placing thousands of controls stays linear.
  if (AControl->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (win::findFromEnds(controls_, AControl) == controls_.end()) return;
  AControl->Invalidate();
  if (captureControl_ == AControl) captureControl_ = nullptr;
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    ChildGone(windowed);
    windowed->DestroyHandle();
  }
  if (!win::eraseFromEnds(controls_, AControl)) return;  // a handler above took it out already
  AControl->parent_ = nullptr;
  if (AControl->Align() != alNone) {
    --alignedCount_;
    Realign();
  }
}

void TWinControl::ChildFocused(TWinControl* Control) {
  if (Parent()) Parent()->ChildFocused(Control);
}

void TWinControl::ChildGone(TWinControl* Control) {
  if (Parent()) Parent()->ChildGone(Control);
}

TControl* TWinControl::ControlAtPos(win::POINT Pos) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* control = *it;
    if (dynamic_cast<TWinControl*>(control) || !control->Visible() || !control->Enabled()) continue;
    const win::RECT r = control->BoundsRect();
    if (Pos.x >= r.left && Pos.x < r.right && Pos.y >= r.top && Pos.y < r.bottom) return control;
  }
  return nullptr;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::BoundsChanged() {
  if (handle_)
    win::SetWindowPos(handle_, 0, Left(), Top(), Width(), Height(), win::SWP_NOZORDER | win::SWP_NOACTIVATE);
  Realign();
}

win::RECT TWinControl::ClientRect() const {
  if (!handle_) return TControl::ClientRect();
  win::RECT client{};
  win::GetClientRect(handle_, &client);
  return client;
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || aligning_) return;
  aligning_ = true;
  win::RECT rect = ClientRect();
  try {
    AlignControls(nullptr, rect);
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::AlignControls(TControl*, win::RECT& Rect) {
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> aligned;
    for (TControl* control : controls_)
      if (control->Align() == align && control->Visible()) aligned.push_back(control);
    std::stable_sort(aligned.begin(), aligned.end(), [align](const TControl* a, const TControl* b) {
      switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* control : aligned) {
      const int width = std::max<int>(Rect.right - Rect.left, 0);
      const int height = std::max<int>(Rect.bottom - Rect.top, 0);
      switch (align) {
        case alTop:
          control->SetBounds(Rect.left, Rect.top, width, control->Height());
          Rect.top += control->Height();
          break;
        case alBottom:
          control->SetBounds(Rect.left, Rect.bottom - control->Height(), width, control->Height());
          Rect.bottom -= control->Height();
          break;
        case alLeft:
          control->SetBounds(Rect.left, Rect.top, control->Width(), height);
          Rect.left += control->Width();
          break;
        case alRight:
          control->SetBounds(Rect.right - control->Width(), Rect.top, control->Width(), height);
          Rect.right -= control->Width();
          break;
        default:
          control->SetBounds(Rect.left, Rect.top, width, height);
          break;
      }
    }
  }
}

void TWinControl::SetFocus() { win::SetFocus(Handle()); }

bool TWinControl::Focused() const { return handle_ != 0 && win::GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* control = this; control; control = control->Parent())
    if (!control->Visible() || !control->Enabled()) return false;
  return true;
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  int order = 0;
  for (const TControl* sibling : Parent()->controls_) {
    if (sibling == this) return order;
    if (dynamic_cast<const TWinControl*>(sibling)) ++order;
  }
  return -1;
}

void TWinControl::SetTabOrder(int Value) {
  if (!Parent()) return;
  auto& siblings = Parent()->controls_;
  siblings.erase(std::find(siblings.begin(), siblings.end(), this));
  auto position = siblings.begin();
  for (int order = 0; position != siblings.end(); ++position) {
    if (!dynamic_cast<TWinControl*>(*position)) continue;
    if (order++ == Value) break;
  }
  siblings.insert(position, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TControl* child : controls_) {
    auto* control = dynamic_cast<TWinControl*>(child);
    if (!control) continue;
    List.push_back(control);
    control->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  const auto count = static_cast<std::ptrdiff_t>(list.size());
  if (count == 0) return nullptr;
  const auto found = std::find(list.begin(), list.end(), CurControl);
  // Without a current control the walk starts before the first (or after the last) one.
  std::ptrdiff_t index = found != list.end() ? found - list.begin() : (GoForward ? -1 : count);
  for (std::ptrdiff_t step = 0; step < count; ++step) {
    index = GoForward ? (index + 1) % count : (index - 1 + count) % count;
    TWinControl* candidate = list[static_cast<std::size_t>(index)];
    if (candidate == CurControl) break;
    if ((!CheckTabStop || candidate->TabStop()) && candidate->CanFocus()) return candidate;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop)) next->SetFocus();
}

void TWinControl::Invalidate() {
  if (handle_) win::InvalidateRect(handle_, nullptr, win::TRUE);
}

void TWinControl::Update() {
  if (handle_ && !UpdateBatch::Defer(handle_)) win::UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::VisibleChanged() {
  if (handle_) win::ShowWindow(handle_, Visible() ? win::SW_SHOWNA : win::SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (handle_) win::EnableWindow(handle_, Enabled() ? win::TRUE : win::FALSE);
}

void TWinControl::TextChanged() {
  if (handle_) win::SetWindowTextW(handle_, win::multiByteToWide(win::CP_ACP, Caption()).c_str());
  Invalidate();
}

void TWinControl::DefaultHandler(TMessage& Message) {
  Message.Result = handle_ ? win::DefWindowProcW(handle_, Message.Msg, Message.WParam, Message.LParam) : 0;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_PAINT:
      HandlePaint();
      return;
    case win::WM_ERASEBKGND:
      Message.Result = EraseBackground(static_cast<win::HDC>(Message.WParam)) ? 1 : 0;
      return;
    case win::WM_SIZE: {
      win::RECT window{};
      win::GetWindowRect(handle_, &window);
      const int width = window.right - window.left;
      const int height = window.bottom - window.top;
      const bool resized = width != Width() || height != Height();
      if (resized) {
        width_ = width;
        height_ = height;
      }
      Realign();
      if (resized) Resize();
      return;
    }
    case win::WM_SETFOCUS:
      ChildFocused(this);
      DoEnter();
      return;
    case win::WM_KILLFOCUS:
      DoExit();
      return;
    case win::WM_KEYDOWN:
    case win::WM_SYSKEYDOWN:
    case win::WM_KEYUP:
    case win::WM_SYSKEYUP:
    case win::WM_CHAR:
      HandleKey(Message);
      return;
    case win::WM_HSCROLL:
    case win::WM_VSCROLL:
      // A scroll-bar control reports to its parent; the bar handles it.
      if (TWinControl* bar = FindControl(static_cast<win::HWND>(Message.LParam)); bar && bar->Parent() == this) {
        Message.Result = bar->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    case win::WM_SETCURSOR:
      if (HandleSetCursor()) {
        Message.Result = 1;
        return;
      }
      break;
    case win::WM_MOUSEWHEEL:
      TControl::WndProc(Message);
      if (Message.Result == 0) DefaultHandler(Message);
      return;
    default:
      if (isMouseMessage(Message.Msg)) {
        HandleMouseForChildren(Message);
        return;
      }
      break;
  }
  DefaultHandler(Message);
}

// Mouse messages over a windowless child go to it, in its coordinates; a
// child that took a button keeps the mouse until the button is released.
void TWinControl::HandleMouseForChildren(TMessage& Message) {
  const win::POINT point{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)};
  TControl* target = captureControl_ ? captureControl_ : ControlAtPos(point);
  if (!target) {
    TControl::WndProc(Message);
    return;
  }
  if (isButtonDown(Message.Msg) && !captureControl_) {
    captureControl_ = target;
    win::SetCapture(handle_);
  }
  TMessage child = Message;
  child.LParam = win::MAKELPARAM(static_cast<win::WORD>(point.x - target->Left()),
                                 static_cast<win::WORD>(point.y - target->Top()));
  target->WndProc(child);
  Message.Result = child.Result;
  if (isButtonUp(Message.Msg) && captureControl_) {
    captureControl_ = nullptr;
    if (win::GetCapture() == handle_) win::ReleaseCapture();
  }
}

void TWinControl::HandleKey(TMessage& Message) {
  if (Message.Msg == win::WM_CHAR) {
    // Characters outside the ANSI code page arrive as "?".
    const std::u16string wide(1, static_cast<char16_t>(Message.WParam));
    const std::string ansi = win::wideToMultiByte(win::CP_ACP, wide);
    char key = ansi.size() == 1 ? ansi[0] : '?';
    KeyPress(key);
    if (key == 0) return;
    DefaultHandler(Message);
    return;
  }
  auto key = static_cast<win::WORD>(Message.WParam);
  if (Message.Msg == win::WM_KEYDOWN && HandleTabKey(key)) return;
  if (Message.Msg == win::WM_KEYDOWN || Message.Msg == win::WM_SYSKEYDOWN) {
    KeyDown(key, keyboardShift());
    if (key != 0 && Message.Msg == win::WM_KEYDOWN && HandleArrowKey(key)) return;
  } else {
    KeyUp(key, keyboardShift());
  }
  if (key != 0) DefaultHandler(Message);
}

// Tab and Shift+Tab move the focus through the tab stops of the top-level
// control, unless the focused control keeps Tab for itself (WM_GETDLGCODE).
// Control+Tab and Alt+Tab are left to the control.
bool TWinControl::HandleTabKey(win::WORD Key) {
  if (Key != win::VK_TAB || (keyboardShift() & (ssCtrl | ssAlt)) != 0) return false;
  const win::LRESULT code = win::SendMessageW(handle_, win::WM_GETDLGCODE, Key, 0);
  if ((code & (win::DLGC_WANTTAB | win::DLGC_WANTALLKEYS)) != 0) return false;
  TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  top->SelectNext(this, (keyboardShift() & ssShift) == 0, true);
  return true;
}

// Arrows that the focused control does not keep (WM_GETDLGCODE) move the
// focus to the next or previous control, tab stop or not, after the
// control's own key-down handling had its chance.
bool TWinControl::HandleArrowKey(win::WORD Key) {
  if (Key != win::VK_LEFT && Key != win::VK_UP && Key != win::VK_RIGHT && Key != win::VK_DOWN) return false;
  const auto wanted = static_cast<win::LRESULT>(Perform(win::WM_GETDLGCODE, Key, 0));
  if ((wanted & (win::DLGC_WANTARROWS | win::DLGC_WANTALLKEYS)) != 0) return false;
  TWinControl* top = this;
  while (top->Parent()) top = top->Parent();
  top->SelectNext(this, Key == win::VK_RIGHT || Key == win::VK_DOWN, false);
  return true;
}

void TWinControl::PaintTo(win::HDC DC, int X, int Y) {
  const int saved = win::SaveDC(DC);
  try {
    win::OffsetViewportOrgEx(DC, X, Y, nullptr);
    win::IntersectClipRect(DC, 0, 0, Width(), Height());
    EraseBackground(DC);
    PaintWindow(DC);
    PaintControls(DC);
    for (TControl* child : std::vector<TControl*>(controls_))
      if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed && windowed->Visible())
        windowed->PaintTo(DC, windowed->Left(), windowed->Top());
  } catch (...) {
    win::RestoreDC(DC, saved);
    throw;
  }
  win::RestoreDC(DC, saved);
}

void TWinControl::KeyDown(win::WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(win::WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::HandlePaint() {
  win::PAINTSTRUCT paint{};
  const win::HDC dc = win::BeginPaint(handle_, &paint);
  try {
    PaintWindow(dc);
    PaintControls(dc);
  } catch (...) {
    win::EndPaint(handle_, &paint);
    throw;
  }
  win::EndPaint(handle_, &paint);
}

void TWinControl::PaintWindow(win::HDC) {}

void TWinControl::PaintControls(win::HDC DC) {
  for (TControl* control : std::vector<TControl*>(controls_)) {
    if (dynamic_cast<TWinControl*>(control) || !control->Visible()) continue;
    const int saved = win::SaveDC(DC);
    win::IntersectClipRect(DC, control->Left(), control->Top(), control->Left() + control->Width(),
                           control->Top() + control->Height());
    win::OffsetViewportOrgEx(DC, control->Left(), control->Top(), nullptr);
    control->Perform(win::WM_PAINT, static_cast<win::WPARAM>(DC), 0);
    win::RestoreDC(DC, saved);
  }
}

bool TWinControl::EraseBackground(win::HDC DC) {
  win::RECT bands[4];
  const int count = UncoveredBands(ClientRect(), bands);
  if (count == 0) return true;
  const win::HBRUSH brush = win::CreateSolidBrush(ColorToRGB(Color()));
  for (int i = 0; i < count; ++i) win::FillRect(DC, &bands[i], brush);
  win::DeleteObject(brush);
  return true;
}

bool TWinControl::PaintsWholeClient() const { return ChildCovers(ClientRect()); }

namespace {

// True when the window has no frame: its client area is all of it.
bool Frameless(const TWinControl& control) {
  return control.ClientWidth() == control.Width() && control.ClientHeight() == control.Height();
}

bool HasStyle(win::HWND window, win::LONG_PTR style) { return (win::GetWindowLongPtrW(window, win::GWL_STYLE) & style) != 0; }

}  // namespace

int TWinControl::UncoveredBands(const win::RECT& Rect, win::RECT (&Bands)[4]) const {
  Bands[0] = Rect;
  if (Rect.right <= Rect.left || Rect.bottom <= Rect.top) return 0;
  if (!handle_) return 1;
  // Rect less the cover's rectangle (in this window's client coordinates)
  // when the cover overlaps it and paints all of its own client area.
  int count = -1;
  const auto shown = [](const TWinControl& control) {
    return control.Visible() && control.handle_ && win::IsWindowVisible(control.handle_);
  };
  const auto subtract = [&](const TWinControl& cover, int left, int top) {
    const win::RECT over{std::max<int>(Rect.left, left), std::max<int>(Rect.top, top),
                         std::min<int>(Rect.right, left + cover.Width()),
                         std::min<int>(Rect.bottom, top + cover.Height())};
    if (over.right <= over.left || over.bottom <= over.top || !cover.PaintsWholeClient()) return false;
    count = 0;
    if (Rect.top < over.top) Bands[count++] = win::RECT{Rect.left, Rect.top, Rect.right, over.top};
    if (over.bottom < Rect.bottom) Bands[count++] = win::RECT{Rect.left, over.bottom, Rect.right, Rect.bottom};
    if (Rect.left < over.left) Bands[count++] = win::RECT{Rect.left, over.top, over.left, over.bottom};
    if (over.right < Rect.right) Bands[count++] = win::RECT{over.right, over.top, Rect.right, over.bottom};
    return true;
  };
  // Children are painted again after their parent when it clips them.
  if (HasStyle(handle_, win::WS_CLIPCHILDREN)) {
    for (const TControl* control : controls_) {
      const auto* child = dynamic_cast<const TWinControl*>(control);
      if (child && shown(*child) && Frameless(*child) && subtract(*child, child->Left(), child->Top())) return count;
    }
  }
  // So are the siblings stacked above a window that clips its siblings.
  if (HasStyle(handle_, win::WS_CLIPSIBLINGS) && Frameless(*this)) {
    for (win::HWND above = win::GetWindow(handle_, win::GW_HWNDPREV); above;
         above = win::GetWindow(above, win::GW_HWNDPREV)) {
      const TWinControl* sibling = FindControl(above);
      if (sibling && shown(*sibling) && Frameless(*sibling) &&
          subtract(*sibling, sibling->Left() - Left(), sibling->Top() - Top())) {
        return count;
      }
    }
  }
  return 1;
}

bool TWinControl::ChildCovers(const win::RECT& Rect) const {
  win::RECT bands[4];
  return UncoveredBands(Rect, bands) == 0;
}

bool TWinControl::HandleSetCursor() {
  TCursor cursor = Screen->Cursor();
  if (cursor == crDefault) {
    win::POINT point{};
    win::GetCursorPos(&point);
    point = ScreenToClient(point);
    const TControl* control = ControlAtPos(point);
    cursor = control && control->Cursor() != crDefault ? control->Cursor() : Cursor();
  }
  if (cursor == crDefault) return false;
  win::SetCursor(Screen->Cursors(cursor));
  return true;
}

win::LRESULT TWinControl::StandardWndProc(win::HWND Window, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) {
  TWinControl* control = nullptr;
  if (Msg == win::WM_NCCREATE) {
    control = static_cast<TWinControl*>(reinterpret_cast<win::CREATESTRUCTW*>(LParam)->lpCreateParams);
    if (control) {
      control->handle_ = Window;
      controlsByWindow()[Window] = control;
    }
  } else {
    control = FindControl(Window);
  }
  if (!control) return win::DefWindowProcW(Window, Msg, WParam, LParam);
  TMessage message{Msg, WParam, LParam, 0};
  try {
    control->WndProc(message);
  } catch (...) {
    Application->HandleException(control);
  }
  if (Msg == win::WM_NCDESTROY) {
    controlsByWindow().erase(Window);
    if (control->handle_ == Window) control->handle_ = 0;
  }
  return message.Result;
}

}  // namespace gui
