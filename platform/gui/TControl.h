#pragma once
// Controls: components with a place inside a parent window control, mouse
// events and painting. A control leaves its parent's list when it is freed;
// a parent frees the controls it still holds when it goes.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/Colors.h"
#include "platform/gui/TComponent.h"
#include "platform/gui/TFont.h"
#include "platform/win/Types.h"

namespace gui {

class TWinControl;

// A window message as the control's WndProc sees it.
struct TMessage {
  win::UINT Msg = 0;
  win::WPARAM WParam = 0;
  win::LPARAM LParam = 0;
  win::LRESULT Result = 0;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;
constexpr TShiftState ssDouble = 64;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, win::POINT MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, win::WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
  void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
  void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
  void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
  // Moves and sizes the control (negative sizes count as 0) and realigns
  // its parent.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  win::RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const win::RECT& Rect) {
    SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
  }
  virtual win::RECT ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  win::POINT ClientOrigin() const;
  win::POINT ClientToScreen(win::POINT Point) const;
  win::POINT ScreenToClient(win::POINT Point) const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool Value);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign Value);
  TColor Color() const { return color_; }
  // An explicit colour: the control stops following its parent's.
  void SetColor(TColor Value);
  // Moves the control above all its siblings (drawn last, hit first) or below them.
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool TopMost);
  // While set, the control takes its parent's Color, now and whenever it changes.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool Value);
  TFont& Font() { return font_; }
  void SetFont(const TFont& Value) { font_.Assign(&Value); }
  TCursor Cursor() const { return cursor_; }
  virtual void SetCursor(TCursor Value) { cursor_ = Value; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Value) { hint_ = Value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool Value) { showHint_ = Value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Value);

  // Marks the control for repainting; Update paints what is marked now.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }

  // Runs Message through WndProc and returns its result.
  win::LRESULT Perform(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);
  virtual void WndProc(TMessage& Message);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelEvent OnMouseWheel;

 protected:
  virtual void Click();
  virtual void DblClick();
  virtual void Resize();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, win::POINT MousePos);
  // The parent's area that the control covers changed.
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void ColorChanged() { Invalidate(); }
  virtual void FontChanged() { Invalidate(); }
  virtual void TextChanged() { Invalidate(); }
  // Mouse messages of this control (already in its client coordinates).
  void HandleMouseMessage(TMessage& Message);
  static TShiftState ShiftFromKeys(win::WPARAM Keys);

 private:
  // Takes a colour without changing whether the parent's is followed.
  void FollowColor(TColor Value);
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  TFont font_;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  std::string caption_;
  bool clickPending_ = false;
};

}  // namespace gui
