// Arbitrary bytes classified by their signature and loaded as the document
// engine loads images (GIF kinds as animated images, the rest through the
// image loader, with a corner mask asked for on odd sizes); what loads is
// drawn stretched, and through its mask, into a small surface.
#include <cstdint>
#include <cstdlib>

#include "images/ImageKinds.h"
#include "images/ImageLoading.h"
#include "images/TGIFImage.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/GraphicsFunctions.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TJPEGImage.h"

namespace {

void drawBitmap(gui::TBitmap& target, gui::TBitmap& image, gui::TBitmap* mask) {
  const win::HDC dc = target.Canvas().Handle();
  win::StretchBlt(dc, -2, 1, 21, 13, image.Canvas().Handle(), 0, 0, image.Width(), image.Height(), win::SRCCOPY);
  if (!mask) return;
  if (mask->Width() != image.Width() || mask->Height() != image.Height()) std::abort();
  gui::TransparentStretchBlt(dc, 3, 3, 9, 40, image.Canvas().Handle(), 0, 0, image.Width(), image.Height(),
                             mask->Canvas().Handle(), 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::TJPEGImage::SetMaxPixels(1 << 22);
  gui::TMemoryStream input;
  if (size > 0) input.WriteBuffer(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  gui::TBitmap target;
  target.SetPixelFormat(gui::pf32bit);
  target.SetSize(16, 16);

  const images::TImageKind kind = images::DetectImageKind(data, size);
  if (kind == images::ikGif87a || kind == images::ikGif89a) {
    bool nonAnimated = false;
    if (auto gif = images::GifImageFromStream(nonAnimated, input)) {
      gif->DrawCurrentFrame(target.Canvas(), 1, 1, 30, 7);
      if (gui::TBitmap* first = gif->GetFirstFrameBitmap()) drawBitmap(target, *first, gif->GetFirstFrameMask());
    }
    return 0;
  }
  images::TMaskKind maskKind = size % 2 ? images::mkCornerColor : images::mkNone;
  std::unique_ptr<gui::TBitmap> mask;
  std::unique_ptr<gui::TObject> image = images::ImageFromStream(&input, maskKind, mask);
  if (!image) {
    if (mask) std::abort();
    return 0;
  }
  auto* bitmap = dynamic_cast<gui::TBitmap*>(image.get());
  if (!bitmap || bitmap->Empty()) std::abort();
  drawBitmap(target, *bitmap, mask.get());
  return 0;
}
