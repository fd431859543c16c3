#pragma once
// The pixels a PNG image decodes into and encodes from: rows top-down of 1, 4
// or 8 bits (palette indices, leftmost pixel in the top bits) or of 24 or 32
// bits (blue, green, red[, unused]), each row padded to 4 bytes, a palette for
// 8 bits and fewer, and the transparent colour.
#include <cstdint>
#include <vector>

#include "images/PngDecoder.h"

namespace images {

enum TPngPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

// A colour as 0x00BBGGRR.
using TPngColorRef = std::uint32_t;

class PngBitmap {
 public:
  virtual ~PngBitmap() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  TPngPixelFormat PixelFormat() const { return format_; }
  int BitsPerPixel() const;
  bool IsPaletted() const { return format_ <= pf8bit; }

  // Resizing keeps the pixel format and clears every pixel.
  virtual void SetSize(int width, int height);
  // Changing the format converts 24 and 32 bits into each other; any other
  // change clears the pixels, and a truecolour format drops the palette.
  void SetPixelFormat(TPngPixelFormat format);

  std::uint8_t* ScanLine(int row) { return pixels_.data() + static_cast<std::size_t>(row) * stride_; }
  const std::uint8_t* ScanLine(int row) const { return pixels_.data() + static_cast<std::size_t>(row) * stride_; }
  std::size_t RowStride() const { return stride_; }

  const std::vector<TPngColor>& Palette() const { return palette_; }
  void SetPalette(std::vector<TPngColor> palette) { palette_ = std::move(palette); }

  bool Transparent = false;
  TPngColorRef TransparentColor = 0;

  // A copy of the pixels, palette and transparency of another bitmap.
  void AssignBitmap(const PngBitmap& source);

 private:
  void allocate();
  int width_ = 0;
  int height_ = 0;
  TPngPixelFormat format_ = pf24bit;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::vector<TPngColor> palette_;
};

}  // namespace images
