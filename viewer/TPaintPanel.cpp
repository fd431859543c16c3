#include "viewer/TPaintPanel.h"

#include <algorithm>
#include <optional>

#include "engine/document/TSectionList.h"
#include "images/DisplayPalette.h"
#include "images/TGIFImage.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/UserCalls.h"
#include "viewer/BackgroundTiles.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

namespace {

// The memory DC and bitmap of one off-screen paint, released however the paint ends.
struct OffScreen {
  win::HDC dc = 0;
  win::HBITMAP bitmap = 0;
  std::optional<win::SelectScope> select;
  ~OffScreen() {
    select.reset();
    if (bitmap) win::DeleteObject(bitmap);
    if (dc) win::DeleteDC(dc);
  }
};

}  // namespace

TPaintPanel::TPaintPanel(gui::TComponent* AOwner, THTMLViewer& Viewer) : gui::TCustomPanel(AOwner), viewer_(Viewer) {
  SetBevelInner(gui::bvNone);
  SetBevelOuter(gui::bvNone);
}

// Two quick clicks arrive as a double click (word selection).
void TPaintPanel::CreateParams(gui::TCreateParams& Params) {
  gui::TCustomPanel::CreateParams(Params);
  Params.ClassStyle |= win::CS_DBLCLKS;
}

bool TPaintPanel::PaintsWholeClient() const { return !viewer_.PaintSuppressed() && !offScreen_; }

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
  // PaintBackground fills the whole buffer first, unless the document is
  // being printed: then it starts from a cleared bitmap.
  if (buffer.dc) {
    buffer.bitmap = viewer_.Document().Printing ? win::CreateCompatibleBitmap(canvas.Handle(), width, height)
                                                : win::createUnfilledCompatibleBitmap(canvas.Handle(), width, height);
  }
  if (!buffer.bitmap) throw gui::EOutOfResources("Out of Resources");
  buffer.select.emplace(buffer.dc, buffer.bitmap);
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

// The background: the colour, then the document's background image when one
// was loaded into the image cache, tiled and placed as its style says.
void TPaintPanel::PaintBackground(gui::TCanvas& Canvas, const win::RECT& R) {
  engine::TSectionList& document = viewer_.Document();
  if (document.Printing) return;
  Canvas.Brush().SetColor(Color());
  Canvas.Brush().SetStyle(gui::bsSolid);
  Canvas.FillRect(R);
  viewer_.backgroundFixed_ = false;
  images::TBitmapItem* item = BackgroundItem();
  if (!item) return;
  int iw = 0, ih = 0;
  if (!ImageSize(*item, iw, ih) || iw < 1 || ih < 1) return;
  const engine::TBackgroundPosition& position = document.BackgroundPos;
  const bool fixed = position.X.Fixed;
  viewer_.backgroundFixed_ = fixed;
  const int xOffset = fixed ? 0 : viewer_.HorizontalPosition();
  const int yOffset = fixed ? 0 : document.YOffset;
  const int areaWidth = fixed ? ClientWidth() : viewer_.HScrollBar().Max();
  const int areaHeight = fixed ? ClientHeight() : std::max(viewer_.DocumentHeight(), ClientHeight());
  const TileRun xs = TileAxis(position.X, areaWidth, iw, xOffset, R.left, R.right);
  const TileRun ys = TileAxis(position.Y, areaHeight, ih, yOffset, R.top, R.bottom);
  DrawTiles(Canvas, *item, iw, ih, xs, ys);
}

// The cached image of the document's background, once it was loaded.
images::TBitmapItem* TPaintPanel::BackgroundItem() {
  engine::TSectionList& document = viewer_.Document();
  images::TStringBitmapList* cache = viewer_.ImageCache();
  if (!viewer_.ViewImages() || !cache || !document.BackgroundImageLoaded || document.BackgroundImageName.empty()) {
    return nullptr;
  }
  const int index = cache->IndexOf(document.BackgroundImageName);
  return index < 0 ? nullptr : cache->Item(index);
}

bool TPaintPanel::ImageSize(const images::TBitmapItem& Item, int& W, int& H) {
  if (auto* gif = dynamic_cast<images::TGIFImage*>(Item.MImage.get())) {
    W = gif->Width();
    H = gif->Height();
    return true;
  }
  if (auto* bitmap = dynamic_cast<gui::TBitmap*>(Item.MImage.get())) {
    W = bitmap->Width();
    H = bitmap->Height();
    return true;
  }
  return false;  // other kinds are drawn by the image code once it paints backgrounds
}

void TPaintPanel::DrawTiles(gui::TCanvas& Canvas, images::TBitmapItem& Item, int W, int H, const TileRun& Xs,
                            const TileRun& Ys) {
  auto* gif = dynamic_cast<images::TGIFImage*>(Item.MImage.get());
  auto* bitmap = dynamic_cast<gui::TBitmap*>(Item.MImage.get());
  const win::HDC dc = Canvas.Handle();
  const win::COLORREF oldBack = win::SetBkColor(dc, 0xFFFFFF);
  const win::COLORREF oldText = win::SetTextColor(dc, 0);
  // 64-bit counters: the run ends are clamped, so a tile step always advances.
  for (long long y = Ys.start; y < Ys.end; y += Ys.step) {
    for (long long x = Xs.start; x < Xs.end; x += Xs.step) {
      const int ix = static_cast<int>(x), iy = static_cast<int>(y);
      if (gif) {
        gif->DrawCurrentFrame(Canvas, ix, iy, W, H);
      } else if (bitmap && Item.Mask) {
        const win::HDC source = bitmap->Canvas().Handle();
        win::BitBlt(dc, ix, iy, W, H, source, 0, 0, win::SRCINVERT);
        win::BitBlt(dc, ix, iy, W, H, Item.Mask->Canvas().Handle(), 0, 0, win::SRCAND);
        win::BitBlt(dc, ix, iy, W, H, source, 0, 0, win::SRCPAINT);
      } else if (bitmap) {
        win::BitBlt(dc, ix, iy, W, H, bitmap->Canvas().Handle(), 0, 0, win::SRCCOPY);
      }
    }
  }
  win::SetBkColor(dc, oldBack);
  win::SetTextColor(dc, oldText);
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
