#pragma once
// BMP files: reading and writing the device-independent bitmap they hold.
//
// File layout (little-endian):
//   0  "BM"                 2  file size (u32)       6  reserved (u32)
//   10 offset of the pixel bits (u32)
//   14 info header: its size (u32) says which one follows
//      12 bytes (OS/2 core): width u16, height u16, planes u16, bit count u16;
//         colour table of 3-byte BGR entries
//      40/52/56/108/124 bytes: width i32, height i32 (negative: top-down),
//         planes u16, bit count u16, compression u32, image size u32,
//         x/y pixels per metre i32, colours used u32, colours important u32;
//         bigger headers carry the colour masks at offset 40; a 40-byte header
//         with BI_BITFIELDS is followed by three u32 masks; colour table of
//         4-byte BGRx entries
//   pixel rows padded to 4 bytes, bottom row first unless top-down, or RLE
//   data (8-bit or 4-bit runs, never top-down).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gui {

// Pixels as a bottom-up DIB holds them.
struct DibImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;                    // 1, 4, 8, 16, 24 or 32
  bool rgb565 = false;                 // 16-bit pixels are 5-6-5 rather than 5-5-5
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, at most 2^bitCount entries (indexed formats)
  std::vector<std::uint8_t> bits;      // rows padded to 4 bytes, bottom row first

  std::int64_t rowBytes() const { return (static_cast<std::int64_t>(width) * bitCount + 31) / 32 * 4; }
};

enum class BmpStatus { Ok, Truncated, Corrupt, Unsupported, TooLarge };

// The largest image we decode: each side and the pixel count.
constexpr int kMaxBmpSide = 32768;
constexpr std::int64_t kMaxBmpPixels = std::int64_t{1} << 26;

// Decodes 1, 4, 8, 16, 24 and 32 bits per pixel, RLE8 and RLE4, bit fields.
// Indexed images stay indexed; 16-bit 5-5-5 and 5-6-5 and 32-bit 8-8-8 stay as
// they are; other bit-field layouts become 24-bit. On failure `image` is left
// unchanged.
BmpStatus decodeBmp(const std::uint8_t* data, std::size_t size, DibImage& image);

// 16-bit pixels (5-5-5, or 5-6-5 with rgb565) widened to 24-bit BGR, each
// channel scaled to 0..255 and rounded; other images are left as they are.
void widenToRgb24(DibImage& image);

// An uncompressed BMP file with a 40-byte header (and BI_BITFIELDS masks for
// 5-6-5 pixels).
std::vector<std::uint8_t> encodeBmp(const DibImage& image);

}  // namespace gui
