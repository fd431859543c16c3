// Arbitrary bytes loaded as a PNG image; whatever loads is saved and loaded again.
#include <cstdint>
#include <cstdlib>

#include "images/TPNGImage.h"
#include "platform/gui/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gui::TMemoryStream input;
  if (size > 0) input.WriteBuffer(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  images::TPNGImage image;
  try {
    image.LoadFromStream(input);
  } catch (const gui::Exception&) {
    return 0;
  }
  // What loaded must save as a file that loads again.
  gui::TMemoryStream saved;
  image.SaveToStream(saved);
  saved.SetPosition(0);
  images::TPNGImage again;
  try {
    again.LoadFromStream(saved);
  } catch (const gui::Exception&) {
    std::abort();
  }
  if (again.Width() != image.Width() || again.Height() != image.Height()) std::abort();
  return 0;
}
