#pragma once
// The PNG image header and the geometry of the image data it implies.
#include <cstddef>
#include <cstdint>

namespace images {

// PNG stores every multi-byte number big-endian.
inline std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
inline void WriteBigEndian32(std::uint32_t value, std::uint8_t* p) {
  p[0] = static_cast<std::uint8_t>(value >> 24);
  p[1] = static_cast<std::uint8_t>(value >> 16);
  p[2] = static_cast<std::uint8_t>(value >> 8);
  p[3] = static_cast<std::uint8_t>(value);
}

// The CRC-32 a chunk carries: over its 4-byte type, then its data.
std::uint32_t ChunkCrc(const std::uint8_t* type, const std::uint8_t* data, std::size_t length);

// Colour types of the header.
inline constexpr std::uint8_t kPngGrey = 0;
inline constexpr std::uint8_t kPngRgb = 2;
inline constexpr std::uint8_t kPngPalette = 3;
inline constexpr std::uint8_t kPngGreyAlpha = 4;
inline constexpr std::uint8_t kPngRgbAlpha = 6;

// The most pixels an image may decode to (8192 x 8192): larger headers are
// refused before anything is allocated.
inline constexpr std::uint64_t kPngMaxPixels = std::uint64_t{1} << 26;

// IHDR data, 13 bytes:
//   0  width   (4, big-endian, 1 .. 2^31-1)
//   4  height  (4, big-endian, 1 .. 2^31-1)
//   8  bit depth, 9 colour type, 10 compression method, 11 filter method,
//   12 interlace method (1 byte each)
struct TPngHeader {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t BitDepth = 0;
  std::uint8_t ColorType = 0;
  std::uint8_t CompressionMethod = 0;
  std::uint8_t FilterMethod = 0;
  std::uint8_t InterlaceMethod = 0;
};

inline constexpr std::size_t kPngHeaderSize = 13;

// The header from its 13 data bytes, and back.
TPngHeader ParsePngHeader(const std::uint8_t* data);
void StorePngHeader(const TPngHeader& header, std::uint8_t* data);

// True for the colour types 0, 2, 3, 4 and 6.
bool IsKnownPngColorType(std::uint8_t colorType);
// True when the bit depth is one the colour type allows.
bool IsValidPngBitDepth(std::uint8_t colorType, std::uint8_t bitDepth);
// Samples per pixel of a colour type (palette: 1).
unsigned PngChannels(std::uint8_t colorType);
// Bytes of one row of `width` pixels, filter byte not counted (64-bit: never overflows).
std::uint64_t PngRowBytes(const TPngHeader& header, std::uint64_t width);
// Bytes of one complete pixel, at least 1: the distance the filters look left.
std::size_t PngFilterDistance(const TPngHeader& header);

// One Adam7 pass: the pixels of rows RowStart + k * RowStep and columns
// ColumnStart + k * ColumnStep.
struct TAdam7Pass {
  std::uint32_t RowStart, RowStep, ColumnStart, ColumnStep;
};
inline constexpr TAdam7Pass kAdam7Passes[7] = {
    {0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4}, {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};

// Pixels in one row (columns) and rows of a pass over an image; 0 when the image is
// too small to reach it.
std::uint32_t Adam7Columns(const TAdam7Pass& pass, std::uint32_t width);
std::uint32_t Adam7Rows(const TAdam7Pass& pass, std::uint32_t height);

}  // namespace images
