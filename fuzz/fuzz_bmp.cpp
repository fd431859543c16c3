// Feeds arbitrary bytes to the BMP reader; it must refuse or decode, never
// crash, hang or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gui/BmpFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::DibImage image;
  if (gui::decodeBmp(data, size, image) == gui::BmpStatus::Ok) {
    const std::vector<std::uint8_t> encoded = gui::encodeBmp(image);
    gui::DibImage again;
    if (gui::decodeBmp(encoded.data(), encoded.size(), again) != gui::BmpStatus::Ok) std::abort();
  }
  return 0;
}
