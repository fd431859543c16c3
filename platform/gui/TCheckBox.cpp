#include "platform/gui/TCheckBox.h"

#include "platform/gui/ClassicLook.h"
#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

constexpr int kTextGap = 4;  // between the glyph and the text

}  // namespace

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(Left(), Top(), 97, 17); }

void TCheckBox::SetState(TCheckBoxState Value) {
  if (Value == state_) return;
  state_ = Value;
  Perform(win::BM_SETCHECK, static_cast<win::WPARAM>(state_), 0);
  Changed();
  if (!ClicksDisabled()) Click();
}

void TCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == win::WM_GETDLGCODE) {
    Message.Result = win::DLGC_BUTTON;
    return;
  }
  TButtonControl::WndProc(Message);
}

void TCheckBox::Paint() { PaintCheckControl(*this, Canvas(), false, Pushed()); }

void PaintCheckControl(TButtonControl& Control, TCanvas& Canvas, bool Radio, bool Pushed) {
  FillSolid(Canvas, Control.ClientRect(), Control.Color());
  const int glyphSize = Radio ? kRadioSize : kCheckBoxSize;
  const int glyphTop = (Control.Height() - glyphSize) / 2;
  const bool checked = Control.Perform(win::BM_GETCHECK, 0, 0) != 0;
  if (Radio) DrawRadioGlyph(Canvas, 0, glyphTop, checked, Control.Enabled(), Pushed);
  else DrawCheckBoxGlyph(Canvas, 0, glyphTop, checked, Control.Enabled(), Pushed);
  if (Control.Text().empty()) return;
  Canvas.SetFont(Control.Font());
  const win::SIZE extent = Canvas.TextExtent(std::u16string_view(Control.Text()));
  const int x = kCheckBoxSize + kTextGap;
  const int y = (Control.Height() - extent.cy) / 2;
  DrawControlText(Canvas, x, y, Control.Text(), Control.Enabled(), Control.Font().Color());
  if (Control.Focused()) DrawFocusRectangle(Canvas, {x - 1, y, x + extent.cx + 1, y + extent.cy});
}

}  // namespace gui
