#pragma once
// Small helpers shared by the PNG tests.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <zlib.h>

#include "images/TPNGImage.h"
#include "images/PngPixels.h"

namespace images::testing {

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void LoadPng(TPNGImage& image, const std::string& bytes) {
  gui::TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  image.LoadFromStream(stream);
}

inline std::string SavePng(TPNGImage& image) {
  gui::TMemoryStream stream;
  image.SaveToStream(stream);
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

inline std::uint8_t* Row(gui::TBitmap& bitmap, int y) { return static_cast<std::uint8_t*>(bitmap.ScanLine(y)); }

inline int BitsOf(gui::TBitmap& bitmap) {
  const int paletteBits = PaletteBitsOf(bitmap.PixelFormat());
  return paletteBits > 0 ? paletteBits : bitmap.PixelFormat() == gui::pf32bit ? 32 : 24;
}

// The pixels as RGB triples, palette indices looked up.
inline std::vector<std::uint8_t> BitmapRgb(gui::TBitmap& bitmap) {
  std::vector<std::uint8_t> rgb;
  const int bits = BitsOf(bitmap);
  const std::vector<TPngColor> palette = PaletteColorsOf(bitmap);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = Row(bitmap, y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      if (bits >= 24) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
        rgb.insert(rgb.end(), {p[2], p[1], p[0]});
        continue;
      }
      const std::size_t bit = static_cast<std::size_t>(x) * bits;
      const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      const TPngColor c = index < palette.size() ? palette[index] : TPngColor{};
      rgb.insert(rgb.end(), {c.Red, c.Green, c.Blue});
    }
  }
  return rgb;
}

// The display table for a file gamma stored as value x 100000.
inline std::vector<std::uint8_t> GammaTableFor(std::uint32_t stored) {
  std::vector<std::uint8_t> table(256);
  const double exponent = 1.0 / (stored / 100000.0 * 2.2);
  for (int i = 0; i < 256; ++i)
    table[i] = static_cast<std::uint8_t>(std::nearbyint(255.0 * std::pow(i / 255.0, exponent)));
  return table;
}

// PNG chunk types of a file in order.
inline std::vector<std::string> ChunkTypesOf(const std::string& png) {
  std::vector<std::string> types;
  std::size_t at = 8;
  while (at + 8 <= png.size()) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(png.data() + at);
    const std::uint32_t length = (std::uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    types.push_back(png.substr(at + 4, 4));
    at += 12 + std::size_t{length};
  }
  return types;
}

inline std::string BigEndian32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

inline const std::string kSignature("\x89PNG\r\n\x1A\n", 8);

// One chunk: length, type, data and its CRC.
inline std::string Chunk(const std::string& type, const std::string& data) {
  const std::string typed = type + data;
  const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
  return BigEndian32(static_cast<std::uint32_t>(data.size())) + typed + BigEndian32(static_cast<std::uint32_t>(crc));
}

inline std::string Ihdr(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace = 0) {
  return Chunk("IHDR", BigEndian32(width) + BigEndian32(height) +
                           std::string{static_cast<char>(depth), static_cast<char>(colorType), 0, 0,
                                       static_cast<char>(interlace)});
}

inline std::string Zlib(const std::string& raw) {
  uLongf size = compressBound(raw.size());
  std::string out(size, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), raw.size());
  out.resize(size);
  return out;
}

inline std::string Idat(const std::string& rawRows) { return Chunk("IDAT", Zlib(rawRows)); }
inline const std::string kIend = Chunk("IEND", "");

}  // namespace images::testing
