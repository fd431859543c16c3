#pragma once
// The variable-length-code LZW decoder of GIF image data. It writes colour
// indices into the part of an image that lies on the logical screen and
// stops as soon as every pixel of the image has been written, so surplus
// data costs nothing and a declared size far beyond the screen costs no memory.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace images {

// One image's pixel buffer. Only columns [0, VisibleWidth) of rows
// [0, VisibleHeight) are stored (rows top-down, VisibleWidth bytes each,
// zero before decoding); decoding still walks the declared size so that the
// interlace passes land on the right rows.
struct GifPixelTarget {
  int Width = 0;
  int Height = 0;
  bool Interlaced = false;
  int VisibleWidth = 0;
  int VisibleHeight = 0;
  std::vector<std::uint8_t> Pixels;
};

enum class GifLzwStatus { Ok, InvalidCodeSize, InvalidData };

// Decodes the concatenated data sub-blocks of one image. Data that ends early
// leaves the remaining pixels 0. `minCodeSize` is the byte that precedes the data.
GifLzwStatus DecodeGifLzw(const std::uint8_t* data, std::size_t size, int minCodeSize, GifPixelTarget& target);

}  // namespace images
