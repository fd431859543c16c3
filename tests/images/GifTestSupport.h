#pragma once
// Hand-built GIF files for the GIF, animation and loader tests, and reading
// suite files and reference frames.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "images/TGif.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"

namespace images::testing {

inline std::string GifDataDir() { return std::string(PAGEWELL_TEST_DATA_DIR) + "/suites/gif/"; }

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void Fill(gui::TMemoryStream& stream, const std::string& bytes) {
  stream.Clear();
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
}

// LZW data that only uses literal codes, with a clear code first and
// whenever the decoder's table would fill, and an end code last; split into
// sub-blocks of at most 255 bytes and terminated.
inline std::string LzwSubBlocks(const std::vector<std::uint8_t>& pixels, int minCodeSize) {
  std::string packed;
  std::uint32_t buffer = 0;
  int count = 0;
  const auto put = [&](int code, int size) {
    buffer |= static_cast<std::uint32_t>(code) << count;
    count += size;
    while (count >= 8) {
      packed.push_back(static_cast<char>(buffer & 0xFF));
      buffer >>= 8;
      count -= 8;
    }
  };
  const int clear = 1 << minCodeSize;
  int size = minCodeSize + 1;
  int nextFree = clear + 2;
  bool first = true;
  put(clear, size);
  for (std::uint8_t pixel : pixels) {
    put(pixel, size);
    if (first) {
      first = false;
      continue;
    }
    ++nextFree;
    if (nextFree >= (1 << size) && size < 12) ++size;
    if (nextFree >= 4095) {
      put(clear, size);
      size = minCodeSize + 1;
      nextFree = clear + 2;
      first = true;
    }
  }
  put(clear + 1, size);
  if (count > 0) packed.push_back(static_cast<char>(buffer & 0xFF));
  std::string blocks;
  for (std::size_t at = 0; at < packed.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
    blocks.push_back(static_cast<char>(n));
    blocks += packed.substr(at, n);
  }
  return blocks + '\0';
}

inline std::string Word(int value) { return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)}; }

// Colours as 0xRRGGBB.
inline std::string ColorTableBytes(const std::vector<std::uint32_t>& colors) {
  std::string bytes;
  for (std::uint32_t c : colors) bytes += {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)};
  return bytes;
}

// Size bits of a colour table of `count` (a power of two, 2..256) entries.
inline int TableSizeBits(std::size_t count) {
  int bits = 0;
  while ((2u << bits) < count) ++bits;
  return bits;
}

// Header, logical screen and a global table (none when empty).
inline std::string GifHeader(int width, int height, const std::vector<std::uint32_t>& global,
                             const std::string& signature = "GIF89a") {
  std::string bytes = signature + Word(width) + Word(height);
  bytes += static_cast<char>(global.empty() ? 0 : 0x80 | TableSizeBits(global.size()));
  bytes += std::string("\0\0", 2);  // background index, aspect ratio
  return bytes + ColorTableBytes(global);
}

// Graphic control: disposal, delay in hundredths, transparent index (-1: none).
inline std::string GraphicControl(int disposal, int delay, int transparent) {
  std::string bytes = "\x21\xF9\x04";
  bytes += static_cast<char>((disposal << 2) | (transparent >= 0 ? 1 : 0));
  bytes += Word(delay);
  bytes += static_cast<char>(transparent >= 0 ? transparent : 0);
  return bytes + '\0';
}

inline std::string LoopExtension(int loops) {
  return std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16) + Word(loops) + '\0';
}

struct GifImageSpec {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<std::uint8_t> pixels;  // row by row, in display order
  bool interlaced = false;
  std::vector<std::uint32_t> local;  // local colour table (none when empty)
  int minCodeSize = 2;
};

inline GifImageSpec ImageSpec(int left, int top, int width, int height, std::vector<std::uint8_t> pixels) {
  GifImageSpec image;
  image.left = left;
  image.top = top;
  image.width = width;
  image.height = height;
  image.pixels = std::move(pixels);
  return image;
}

// The image's rows in interlace pass order.
inline std::vector<std::uint8_t> InterlacedOrder(const GifImageSpec& image) {
  std::vector<std::uint8_t> out;
  static constexpr int kStart[4] = {0, 4, 2, 1};
  static constexpr int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < image.height; y += kStep[pass])
      out.insert(out.end(), image.pixels.begin() + y * image.width, image.pixels.begin() + (y + 1) * image.width);
  return out;
}

inline std::string GifImageBlock(const GifImageSpec& image) {
  std::string bytes = "," + Word(image.left) + Word(image.top) + Word(image.width) + Word(image.height);
  int packed = image.interlaced ? 0x40 : 0;
  if (!image.local.empty()) packed |= 0x80 | TableSizeBits(image.local.size());
  bytes += static_cast<char>(packed);
  bytes += ColorTableBytes(image.local);
  bytes += static_cast<char>(image.minCodeSize);
  return bytes + LzwSubBlocks(image.interlaced ? InterlacedOrder(image) : image.pixels, image.minCodeSize);
}

// Pixel (x, y) of the strip as 0xRRGGBB and of the mask as 0 or 1 (white).
std::uint32_t StripPixel(gui::TBitmap& strip, int x, int y);
int MaskPixel(gui::TBitmap& mask, int x, int y);

struct LoadedGif {
  TGif gif;
  std::unique_ptr<gui::TBitmap> strip;
  std::unique_ptr<gui::TBitmap> mask;
};
// Loads and builds; raises what TGif raises.
void LoadGif(LoadedGif& loaded, const std::string& bytes);

// An RGBA image (rows top-down, 4 bytes per pixel) read from a PNG file;
// empty when the file cannot be read.
struct RgbaImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};
RgbaImage ReadPngRgba(const std::string& path);

}  // namespace images::testing
