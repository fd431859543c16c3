// Feeds arbitrary bytes to the JPEG picture in both output formats: it must
// refuse with its exception or decode, never crash, hang or leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TJPEGImage.h"

namespace {

void decode(const std::uint8_t* data, std::size_t size, gui::TJPEGPixelFormat format) {
  gui::TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<std::int64_t>(size));
  stream.SetPosition(0);
  gui::TJPEGImage image;
  try {
    image.LoadFromStream(stream);
    image.SetPixelFormat(format);
    gui::TBitmap& bitmap = image.Bitmap();
    if (bitmap.Width() != image.Width() || bitmap.Height() != image.Height()) std::abort();
  } catch (const gui::EInvalidGraphic&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Large declared sizes only cost time: decoding them is what the limit allows.
  gui::TJPEGImage::SetMaxPixels(1 << 22);
  decode(data, size, gui::jf24Bit);
  if (size < 4096) decode(data, size, gui::jf8Bit);
  return 0;
}
