#include "platform/gui/BmpFormat.h"

#include "platform/win/gdi/DibFormat.h"

namespace gui {

// The file layout is written once, in the drawing layer's DIB code.
std::vector<std::uint8_t> encodeBmp(const DibImage& image) {
  return win::encodeBmpFile(image.width, image.height, image.bitCount, image.rgb565, image.palette, image.bits);
}

}  // namespace gui
