#include "platform/gui/TButton.h"

#include "platform/gui/ClassicLook.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/UserCalls.h"

namespace gui {

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(Left(), Top(), 75, 25); }

void TButton::WndProc(TMessage& Message) {
  if (Message.Msg == win::WM_GETDLGCODE) {
    Message.Result = win::DLGC_BUTTON | win::DLGC_UNDEFPUSHBUTTON;
    return;
  }
  TButtonControl::WndProc(Message);
}

void TButton::KeyDown(win::WORD& Key, TShiftState Shift) {
  TButtonControl::KeyDown(Key, Shift);
  if (Key == win::VK_RETURN) Click();
}

// The classic face: a black ring when focused, the raised (or pressed)
// edge, the caption centred (one pixel down and right when pressed) and
// the focus rectangle inside.
void TButton::Paint() {
  TCanvas& canvas = Canvas();
  win::RECT rect = ClientRect();
  FillSolid(canvas, rect, Color());
  const bool focused = Focused();
  if (focused) Frame3D(canvas, rect, cl3DDkShadow, cl3DDkShadow, 1);
  DrawButtonEdge(canvas, rect, Pushed());
  canvas.SetFont(Font());
  const win::SIZE extent = canvas.TextExtent(std::u16string_view(Text()));
  const int shift = Pushed() ? 1 : 0;
  const int x = (Width() - extent.cx) / 2 + shift;
  const int y = (Height() - extent.cy) / 2 + shift;
  const int saved = win::SaveDC(canvas.Handle());
  win::IntersectClipRect(canvas.Handle(), rect.left, rect.top, rect.right, rect.bottom);
  DrawControlText(canvas, x, y, Text(), Enabled(), Font().Color());
  win::RestoreDC(canvas.Handle(), saved);
  if (focused) DrawFocusRectangle(canvas, {4, 4, Width() - 4, Height() - 4});
}

}  // namespace gui
