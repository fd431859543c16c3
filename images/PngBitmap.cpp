#include "images/PngBitmap.h"

namespace images {

int PngBitmap::BitsPerPixel() const {
  switch (format_) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pf32bit: return 32;
  }
  return 24;
}

void PngBitmap::allocate() {
  const std::size_t rowBits = static_cast<std::size_t>(width_) * static_cast<std::size_t>(BitsPerPixel());
  stride_ = ((rowBits + 31) / 32) * 4;
  pixels_.assign(stride_ * static_cast<std::size_t>(height_), 0);
}

void PngBitmap::SetSize(int width, int height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  allocate();
}

void PngBitmap::SetPixelFormat(TPngPixelFormat format) {
  if (format == format_) return;
  const bool trueColour = format_ >= pf24bit && format >= pf24bit;
  if (!trueColour) {
    format_ = format;
    if (!IsPaletted()) palette_.clear();
    allocate();
    return;
  }
  const std::vector<std::uint8_t> oldPixels = std::move(pixels_);
  const std::size_t oldStride = stride_;
  const std::size_t from = static_cast<std::size_t>(BitsPerPixel()) / 8;
  format_ = format;
  allocate();
  const std::size_t to = static_cast<std::size_t>(BitsPerPixel()) / 8;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* in = oldPixels.data() + static_cast<std::size_t>(y) * oldStride;
    std::uint8_t* out = ScanLine(y);
    for (int x = 0; x < width_; ++x, in += from, out += to) out[0] = in[0], out[1] = in[1], out[2] = in[2];
  }
}

void PngBitmap::AssignBitmap(const PngBitmap& source) {
  width_ = source.width_;
  height_ = source.height_;
  format_ = source.format_;
  stride_ = source.stride_;
  pixels_ = source.pixels_;
  palette_ = source.palette_;
  Transparent = source.Transparent;
  TransparentColor = source.TransparentColor;
}

}  // namespace images
