#include "viewer/TPaintPanel.h"

#include "engine/document/TSectionList.h"
#include "images/DisplayPalette.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/UserCalls.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

namespace {

// The memory DC and bitmap of one off-screen paint, released however the paint ends.
struct OffScreen {
  win::HDC dc = 0;
  win::HBITMAP bitmap = 0;
  win::HGDIOBJ oldBitmap = 0;
  ~OffScreen() {
    if (dc && oldBitmap) win::SelectObject(dc, oldBitmap);
    if (bitmap) win::DeleteObject(bitmap);
    if (dc) win::DeleteDC(dc);
  }
};

}  // namespace

TPaintPanel::TPaintPanel(gui::TComponent* AOwner, THTMLViewer& Viewer) : gui::TCustomPanel(AOwner), viewer_(Viewer) {
  SetBevelInner(gui::bvNone);
  SetBevelOuter(gui::bvNone);
}

void TPaintPanel::Paint() {
  if (viewer_.PaintSuppressed() || offScreen_) return;
  viewer_.UpdateBorder();
  gui::TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  canvas.Brush().SetColor(Color());
  const win::RECT r = canvas.ClipRect();
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;

  OffScreen buffer;
  buffer.dc = win::CreateCompatibleDC(canvas.Handle());
  if (buffer.dc) buffer.bitmap = win::CreateCompatibleBitmap(canvas.Handle(), width, height);
  if (!buffer.bitmap) throw gui::EOutOfResources("Out of Resources");
  buffer.oldBitmap = win::SelectObject(buffer.dc, buffer.bitmap);
  win::SetWindowOrgEx(buffer.dc, r.left, r.top, nullptr);

  gui::TCanvas drawing;
  drawing.SetHandle(buffer.dc);
  drawing.SetFont(Font());
  offScreen_ = &drawing;
  try {
    PaintBackground(drawing, r);
    viewer_.DrawDocument(drawing);
  } catch (...) {
    offScreen_ = nullptr;
    drawing.SetHandle(0);
    throw;
  }
  offScreen_ = nullptr;
  drawing.SetHandle(0);
  win::BitBlt(canvas.Handle(), r.left, r.top, width, height, buffer.dc, r.left, r.top, win::SRCCOPY);
}

// The background colour under the document. Background images are drawn by
// the document-images code once the root loads them (BackgroundImageName is
// kept until then); without one the colour fills the clip rectangle.
void TPaintPanel::PaintBackground(gui::TCanvas& Canvas, const win::RECT& R) {
  if (viewer_.Document().Printing) return;
  viewer_.backgroundFixed_ = false;
  Canvas.Brush().SetColor(Color());
  Canvas.Brush().SetStyle(gui::bsSolid);
  Canvas.FillRect(R);
}

void TPaintPanel::WndProc(gui::TMessage& Message) {
  if (Message.Msg == win::WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == win::WM_LBUTTONDBLCLK && (Message.WParam & win::MK_LBUTTON)) {
    const auto x = static_cast<short>(win::LOWORD(static_cast<win::DWORD>(Message.LParam)));
    const auto y = static_cast<short>(win::HIWORD(static_cast<win::DWORD>(Message.LParam)));
    viewer_.DoubleClickAt(ShiftFromKeys(Message.WParam), x, y);
    return;
  }
  // The panel keeps the mouse while a button is down, so drags beyond its
  // edges still reach it.
  const bool down = Message.Msg == win::WM_LBUTTONDOWN || Message.Msg == win::WM_MBUTTONDOWN;
  const bool up = Message.Msg == win::WM_LBUTTONUP || Message.Msg == win::WM_MBUTTONUP;
  if (down && HandleAllocated()) win::SetCapture(Handle());
  gui::TCustomPanel::WndProc(Message);
  if (up && HandleAllocated() && win::GetCapture() == Handle()) win::ReleaseCapture();
}

}  // namespace viewer
