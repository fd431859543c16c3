#include "platform/gui/TCanvas.h"

#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TGraphic.h"
#include "platform/win/kernel/CodePages.h"

namespace gui {

TCanvas::TCanvas() : copyMode_(win::SRCCOPY) {
  font_.OnChange = [this](TObject*) { DeselectFont(); };
  pen_.OnChange = [this](TObject*) { DeselectPen(); };
  brush_.OnChange = [this](TObject*) { DeselectBrush(); };
}

TCanvas::~TCanvas() {
  // Our objects must be out of the DC before their handles are deleted.
  DeselectHandles();
  font_.OnChange = nullptr;
  pen_.OnChange = nullptr;
  brush_.OnChange = nullptr;
}

win::HDC TCanvas::Handle() {
  RequiredState(csHandleValid);
  return handle_;
}

win::HDC TCanvas::FontHandle() {
  RequiredState(csHandleValid | csFontValid);
  return handle_;
}

void TCanvas::SetHandle(win::HDC Value) {
  if (Value == handle_) return;
  DeselectHandles();
  handle_ = Value;
  state_ = Value ? csHandleValid : 0;
}

void TCanvas::RequiredState(unsigned Required) {
  if ((Required & csHandleValid) || (Required & ~state_)) {
    if (!handle_) CreateHandle();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    state_ |= csHandleValid;
  }
  const unsigned missing = Required & ~state_;
  if (missing & csFontValid) SelectFont();
  if (missing & csPenValid) SelectPen();
  if (missing & csBrushValid) SelectBrush();
}

void TCanvas::SelectFont() {
  const win::HGDIOBJ old = win::SelectObject(handle_, font_.Handle());
  if (!oldFont_) oldFont_ = old;
  win::SetTextColor(handle_, ColorToRGB(font_.Color()));
  state_ |= csFontValid;
}

void TCanvas::SelectPen() {
  const win::HGDIOBJ old = win::SelectObject(handle_, pen_.Handle());
  if (!oldPen_) oldPen_ = old;
  win::SetROP2(handle_, pen_.Rop2());
  state_ |= csPenValid;
}

void TCanvas::SelectBrush() {
  const win::HGDIOBJ old = win::SelectObject(handle_, brush_.Handle());
  if (!oldBrush_) oldBrush_ = old;
  // Text and hatches fill their background only under a solid brush.
  win::SetBkColor(handle_, ColorToRGB(brush_.Color()));
  win::SetBkMode(handle_, brush_.Style() == bsSolid ? win::OPAQUE : win::TRANSPARENT);
  state_ |= csBrushValid;
}

void TCanvas::DeselectFont() {
  if (!(state_ & csFontValid)) return;
  win::SelectObject(handle_, oldFont_ ? oldFont_ : win::GetStockObject(win::SYSTEM_FONT));
  oldFont_ = 0;
  state_ &= ~csFontValid;
}

void TCanvas::DeselectPen() {
  if (!(state_ & csPenValid)) return;
  win::SelectObject(handle_, oldPen_ ? oldPen_ : win::GetStockObject(win::BLACK_PEN));
  oldPen_ = 0;
  state_ &= ~csPenValid;
}

void TCanvas::DeselectBrush() {
  if (!(state_ & csBrushValid)) return;
  win::SelectObject(handle_, oldBrush_ ? oldBrush_ : win::GetStockObject(win::NULL_BRUSH));
  oldBrush_ = 0;
  state_ &= ~csBrushValid;
}

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  DeselectFont();
  DeselectPen();
  DeselectBrush();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

win::POINT TCanvas::PenPos() {
  RequiredState(csHandleValid);
  win::POINT position{};
  win::GetCurrentPositionEx(handle_, &position);
  return position;
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(csHandleValid);
  win::MoveToEx(handle_, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  win::LineTo(handle_, X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  win::Rectangle(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  win::Ellipse(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  win::Arc(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Polygon(const std::vector<win::POINT>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  win::Polygon(handle_, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<win::POINT>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  win::Polyline(handle_, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::FillRect(const win::RECT& Rect) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  win::FillRect(handle_, &Rect, brush_.Handle());
  Changed();
}

void TCanvas::FrameRect(const win::RECT& Rect) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  win::FrameRect(handle_, &Rect, brush_.Handle());
  Changed();
}

void TCanvas::TextOut(int X, int Y, std::string_view Text) {
  TextOut(X, Y, std::u16string_view(win::multiByteToWide(win::CP_ACP, Text)));
}

void TCanvas::TextOut(int X, int Y, std::u16string_view Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  win::ExtTextOutW(handle_, X, Y, 0, nullptr, Text.data(), static_cast<win::UINT>(Text.size()), nullptr);
  win::SIZE extent{};
  win::GetTextExtentPoint32W(handle_, Text.data(), static_cast<int>(Text.size()), &extent);
  win::MoveToEx(handle_, X + extent.cx, Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const win::RECT& Rect, int X, int Y, std::string_view Text) {
  TextRect(Rect, X, Y, std::u16string_view(win::multiByteToWide(win::CP_ACP, Text)));
}

void TCanvas::TextRect(const win::RECT& Rect, int X, int Y, std::u16string_view Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  win::UINT options = win::ETO_CLIPPED;
  if (brush_.Style() != bsClear) options |= win::ETO_OPAQUE;
  win::ExtTextOutW(handle_, X, Y, options, &Rect, Text.data(), static_cast<win::UINT>(Text.size()), nullptr);
  Changed();
}

void TCanvas::DrawText(std::u16string_view Text, win::RECT& Rect, win::UINT Format) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  win::DrawTextW(handle_, Text.data(), static_cast<int>(Text.size()), &Rect, Format);
  Changed();
}

win::SIZE TCanvas::TextExtent(std::string_view Text) {
  return TextExtent(std::u16string_view(win::multiByteToWide(win::CP_ACP, Text)));
}

win::SIZE TCanvas::TextExtent(std::u16string_view Text) {
  RequiredState(csHandleValid | csFontValid);
  win::SIZE extent{};
  win::GetTextExtentPoint32W(handle_, Text.data(), static_cast<int>(Text.size()), &extent);
  return extent;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  StretchDraw(win::RECT{X, Y, X + Graphic->Width(), Y + Graphic->Height()}, Graphic);
}

void TCanvas::StretchDraw(const win::RECT& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(*this, Rect);
  Changed();
}

void TCanvas::CopyRect(const win::RECT& Dest, TCanvas& Canvas, const win::RECT& Source) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  const win::HDC source = Canvas.Handle();
  win::StretchBlt(handle_, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, source, Source.left,
                  Source.top, Source.right - Source.left, Source.bottom - Source.top, copyMode_);
  Changed();
}

win::COLORREF TCanvas::Pixels(int X, int Y) {
  RequiredState(csHandleValid);
  return win::GetPixel(handle_, X, Y);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  win::SetPixel(handle_, X, Y, ColorToRGB(Color));
  Changed();
}

win::RECT TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  win::RECT box{};
  win::GetClipBox(handle_, &box);
  return box;
}

}  // namespace gui
