#include "platform/gui/TCustomPanel.h"

#include "platform/gui/GdiCalls.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/CodePages.h"

namespace gui {

namespace {

void bevelColors(TBevelCut bevel, TColor& top, TColor& bottom) {
  top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
  bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

}  // namespace

void Frame3D(TCanvas& Canvas, win::RECT& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas.Pen().SetWidth(1);
  --Rect.bottom;
  --Rect.right;
  for (int ring = 0; ring < Width; ++ring) {
    Canvas.Pen().SetColor(TopColor);
    Canvas.Polyline({{Rect.left, Rect.bottom}, {Rect.left, Rect.top}, {Rect.right, Rect.top}});
    Canvas.Pen().SetColor(BottomColor);
    Canvas.Polyline({{Rect.right, Rect.top}, {Rect.right, Rect.bottom}, {Rect.left - 1, Rect.bottom}});
    ++Rect.left;
    ++Rect.top;
    --Rect.right;
    --Rect.bottom;
  }
  ++Rect.bottom;
  ++Rect.right;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

template <typename T>
void TCustomPanel::ChangeFrame(T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  ChangeFrame(bevelInner_, Value);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  ChangeFrame(bevelOuter_, Value);
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (Value < 1) return;
  ChangeFrame(bevelWidth_, Value);
}

void TCustomPanel::SetBorderWidth(int Value) {
  if (Value < 0) return;
  ChangeFrame(borderWidth_, Value);
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  // The border is part of the window: make the window again.
  if (HandleAllocated()) {
    win::SetWindowLongPtrW(Handle(), win::GWL_STYLE,
                           (win::GetWindowLongPtrW(Handle(), win::GWL_STYLE) & ~win::LONG_PTR{win::WS_BORDER}) |
                               (Value == bsSingle ? win::LONG_PTR{win::WS_BORDER} : 0));
    win::SetWindowPos(Handle(), 0, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_FRAMECHANGED);
  }
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (Value == alignment_) return;
  alignment_ = Value;
  Invalidate();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (borderStyle_ == bsSingle) Params.Style |= win::WS_BORDER;
}

int TCustomPanel::FrameWidth() const {
  return borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

void TCustomPanel::AlignControls(TControl* AControl, win::RECT& Rect) {
  const int frame = FrameWidth();
  Rect.left += frame;
  Rect.top += frame;
  Rect.right -= frame;
  Rect.bottom -= frame;
  TCustomControl::AlignControls(AControl, Rect);
}

bool TCustomPanel::EraseBackground(win::HDC DC) {
  // Paint draws the frame rings with a solid pen and fills the rest with a
  // solid brush of the same colour; a brush left clear by a caption does not.
  TCanvas& canvas = Canvas();
  if (canvas.Brush().Style() == bsSolid && canvas.Pen().Style() == psSolid && canvas.Pen().Mode() == pmCopy) {
    return true;
  }
  return TCustomControl::EraseBackground(DC);
}

void TCustomPanel::Paint() {
  TCanvas& canvas = Canvas();
  win::RECT rect = ClientRect();
  TColor top = clBtnHighlight;
  TColor bottom = clBtnShadow;
  if (bevelOuter_ != bvNone) {
    bevelColors(bevelOuter_, top, bottom);
    Frame3D(canvas, rect, top, bottom, bevelWidth_);
  }
  Frame3D(canvas, rect, Color(), Color(), borderWidth_);
  if (bevelInner_ != bvNone) {
    bevelColors(bevelInner_, top, bottom);
    Frame3D(canvas, rect, top, bottom, bevelWidth_);
  }
  canvas.Brush().SetColor(Color());
  win::RECT bands[4];
  const int count = UncoveredBands(rect, bands);
  for (int i = 0; i < count; ++i) canvas.FillRect(bands[i]);
  if (Caption().empty()) return;
  canvas.Brush().SetStyle(bsClear);
  canvas.SetFont(Font());
  const std::u16string text = win::multiByteToWide(win::CP_ACP, Caption());
  const win::UINT horizontal =
      alignment_ == taCenter ? win::DT_CENTER : (alignment_ == taRightJustify ? win::DT_RIGHT : win::DT_LEFT);
  canvas.DrawText(text, rect, horizontal | win::DT_VCENTER | win::DT_SINGLELINE | win::DT_EXPANDTABS);
}

}  // namespace gui
