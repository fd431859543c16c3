// Arbitrary bytes decoded as a GIF; what loads is drawn, animated for a few
// frames on a virtual clock, copied and reduced to its first frame.
#include <cstdint>
#include <cstdlib>

#include "images/TGIFImage.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/kernel/Clock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static win::VirtualClock& clock = win::useVirtualClock();
  gui::TMemoryStream input;
  if (size > 0) input.WriteBuffer(data, static_cast<std::int64_t>(size));
  bool nonAnimated = false;
  std::unique_ptr<images::TGIFImage> image = images::GifImageFromStream(nonAnimated, input);
  if (!image) return 0;
  if (nonAnimated != (image->NumFrames() < 2)) std::abort();
  if (image->Strip()->Width() != image->Width() * image->NumFrames()) std::abort();
  gui::TBitmap target;
  target.SetPixelFormat(gui::pf32bit);
  target.SetSize(16, 16);
  std::unique_ptr<images::TGIFImage> copy = images::TGIFImage::CreateCopy(*image);
  copy->SetAnimating(true);
  for (int tick = 0; tick < 8; ++tick) {
    copy->DrawCurrentFrame(target.Canvas(), -3, 2, 21, 9);
    clock.advance(250);
    copy->AdvanceAnimation(0);
    if (copy->CurrentFrame() < 1 || copy->CurrentFrame() > copy->NumFrames()) std::abort();
  }
  gui::TBitmap* first = image->GetFirstFrameBitmap();
  if (!first || first->Width() != image->Width()) std::abort();
  if (gui::TBitmap* mask = image->GetFirstFrameMask()) target.Canvas().Draw(0, 0, mask);
  return 0;
}
