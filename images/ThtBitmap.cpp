#include "images/ThtBitmap.h"

#include "platform/gui/GdiCalls.h"
#include "platform/gui/GraphicsFunctions.h"

namespace images {

namespace {

// The bitmap's palette selected into the target in the background for the
// length of a draw.
class BackgroundPalette {
 public:
  BackgroundPalette(win::HDC dc, win::HPALETTE palette) : dc_(dc) {
    if (!palette) return;
    old_ = win::SelectPalette(dc, palette, win::TRUE);
    win::RealizePalette(dc);
  }
  BackgroundPalette(const BackgroundPalette&) = delete;
  BackgroundPalette& operator=(const BackgroundPalette&) = delete;
  ~BackgroundPalette() {
    if (old_) win::SelectPalette(dc_, old_, win::TRUE);
  }

 private:
  win::HDC dc_;
  win::HPALETTE old_ = 0;
};

}  // namespace

ThtBitmap::ThtBitmap() = default;
ThtBitmap::~ThtBitmap() = default;

void ThtBitmap::SetMask(std::unique_ptr<gui::TBitmap> Mask) { mask_ = std::move(Mask); }

void ThtBitmap::Draw(gui::TCanvas& ACanvas, const win::RECT& Rect) {
  DrawBitmapPart(ACanvas, Rect, win::RECT{0, 0, Width(), Height()});
}

void ThtBitmap::DrawBitmapPart(gui::TCanvas& ACanvas, const win::RECT& DestRect, const win::RECT& SourceRect) {
  if (Empty()) return;
  const win::HDC target = ACanvas.Handle();
  BackgroundPalette palette(target, Palette());
  const int targetBits = win::GetDeviceCaps(target, win::BITSPIXEL) * win::GetDeviceCaps(target, win::PLANES);
  const gui::TPixelFormat format = PixelFormat();
  // NOTE: our strips are 32-bit where a 24-bit strip was planned; both count
  // as deep colour here.
  if (targetBits <= 8 && format >= gui::pf15bit && format <= gui::pf32bit) {
    win::SetStretchBltMode(target, win::HALFTONE);
    win::POINT origin{};
    win::GetBrushOrgEx(target, &origin);
    win::SetBrushOrgEx(target, origin.x, origin.y, nullptr);
  } else if (!Monochrome()) {
    win::SetStretchBltMode(target, win::COLORONCOLOR);
  }
  const int destWidth = DestRect.right - DestRect.left;
  const int destHeight = DestRect.bottom - DestRect.top;
  const int sourceWidth = SourceRect.right - SourceRect.left;
  const int sourceHeight = SourceRect.bottom - SourceRect.top;
  const win::HDC source = Canvas().Handle();
  if (mask_) {
    gui::TransparentStretchBlt(target, DestRect.left, DestRect.top, destWidth, destHeight, source, SourceRect.left,
                               SourceRect.top, sourceWidth, sourceHeight, mask_->Canvas().Handle(), SourceRect.left,
                               SourceRect.top);
  } else {
    win::StretchBlt(target, DestRect.left, DestRect.top, destWidth, destHeight, source, SourceRect.left,
                    SourceRect.top, sourceWidth, sourceHeight, ACanvas.CopyMode());
  }
}

}  // namespace images
