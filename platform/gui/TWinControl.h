#pragma once
// Controls with a window of their own. The window is made when first needed
// (Handle) and then for every child window control too; the window's
// messages go to WndProc, which dispatches them to the virtual handlers.
// Children with an Align are laid out inside the client area whenever it or
// they change: top, bottom, left and right ones in turn, each kind in the
// order of its position, and the client one in what is left.
#include <vector>

#include "platform/gui/TControl.h"
#include "platform/win/kernel/OffsetVector.h"
#include "platform/win/user/Messages.h"

namespace gui {

// Notifications that a parent reflects to the child control they concern,
// at CN_BASE + the message number (scroll bars get their own WM_HSCROLL and
// WM_VSCROLL back as CN_HSCROLL and CN_VSCROLL).
constexpr win::UINT CN_BASE = 0xBC00;
constexpr win::UINT CN_HSCROLL = CN_BASE + win::WM_HSCROLL;
constexpr win::UINT CN_VSCROLL = CN_BASE + win::WM_VSCROLL;

// The window a control asks for.
struct TCreateParams {
  win::DWORD Style = 0;
  win::DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  win::HWND WndParent = 0;
  win::UINT ClassStyle = 0;  // CS_ values
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, made on first use (with the parent's window first).
  win::HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }
  void HandleNeeded() { Handle(); }
  // A window outside the class library that this parentless control lives in.
  win::HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(win::HWND Value);
  // The control whose window is Handle, or nullptr.
  static TWinControl* FindControl(win::HWND Handle);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* AControl) const;
  // The visible, enabled child control without a window at Pos, or nullptr.
  TControl* ControlAtPos(win::POINT Pos) const;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  win::RECT ClientRect() const override;
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  virtual void SetFocus();
  bool Focused() const;
  virtual bool CanFocus() const;
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool Value) { tabStop_ = Value; }
  int TabOrder() const;
  void SetTabOrder(int Value);
  // The window controls below this one in tab order: each child in TabOrder,
  // followed by its own children.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  // The control after (GoForward) or before CurControl in this control's tab
  // order list that can take the focus (and is a tab stop when CheckTabStop),
  // wrapping around; nullptr when there is none.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) const;
  // Moves the focus to FindNextControl's answer, when there is one.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // Paints the control, its frame and its visible children into DC with the
  // control's top-left corner at (X, Y), wherever the control is placed and
  // whether or not it is shown.
  void PaintTo(win::HDC DC, int X, int Y);

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void WndProc(TMessage& Message) override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Paints the window: the control itself, then its windowless children.
  virtual void PaintWindow(win::HDC DC);
  void PaintControls(win::HDC DC);
  // Fills the background with Color; false leaves it. Nothing is filled
  // where a child covers the whole client area.
  virtual bool EraseBackground(win::HDC DC);
  // True when painting the window (with its background erased) sets every
  // pixel of its client area, itself or through children painted after it.
  virtual bool PaintsWholeClient() const;
  // The parts of Rect (client coordinates) that the window's own painting
  // shows: Rect less the first visible child over it that paints its whole
  // client area, as up to four bands written to Bands; returns their count.
  // Children are painted after their parent in the same paint, so what the
  // parent would paint under such a child is never seen.
  int UncoveredBands(const win::RECT& Rect, win::RECT (&Bands)[4]) const;
  bool ChildCovers(const win::RECT& Rect) const;
  // Lays out the aligned children inside Rect.
  virtual void AlignControls(TControl* AControl, win::RECT& Rect);
  virtual void KeyDown(win::WORD& Key, TShiftState Shift);
  virtual void KeyUp(win::WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  void DefaultHandler(TMessage& Message);
  // A window control below this one got the focus, or is going away; the
  // form that holds it keeps track of its active control through these.
  virtual void ChildFocused(TWinControl* Control);
  virtual void ChildGone(TWinControl* Control);

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void TextChanged() override;

 private:
  friend class TControl;
  void DestroyHandle();
  static void ForgetControl(TWinControl* Control);
  void HandlePaint();
  void HandleMouseForChildren(TMessage& Message);
  void HandleKey(TMessage& Message);
  bool HandleTabKey(win::WORD Key);
  bool HandleArrowKey(win::WORD Key);
  bool HandleSetCursor();
  static win::LRESULT StandardWndProc(win::HWND Window, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);

  win::HWND handle_ = 0;
  win::HWND parentWindow_ = 0;
  win::OffsetVector<TControl*> controls_;  // children, not owned until the parent goes
  int alignedCount_ = 0;             // children with an Align other than alNone
  TControl* captureControl_ = nullptr;  // a windowless child holding the mouse
  int alignDisabled_ = 0;
  bool aligning_ = false;
  bool tabStop_ = false;
  bool creating_ = false;
};

}  // namespace gui
