// Decoding BMP files into bottom-up DIB pixels. Every read is length-checked,
// sizes are 64-bit, and the image size is bounded before anything is
// allocated.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/gui/BmpFormat.h"

namespace gui {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::int64_t kMaxDensity = 1000000;  // pixels per metre; 25400 dpi

// Little-endian reads over the file; every read is checked against its end.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool has(std::uint64_t offset, std::uint64_t count) const { return offset <= size_ && count <= size_ - offset; }
  std::uint16_t u16(std::uint64_t at) const { return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8)); }
  std::uint32_t u32(std::uint64_t at) const {
    return static_cast<std::uint32_t>(data_[at]) | (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[at + 2]) << 16) | (static_cast<std::uint32_t>(data_[at + 3]) << 24);
  }
  std::int32_t i32(std::uint64_t at) const { return static_cast<std::int32_t>(u32(at)); }
  const std::uint8_t* at(std::uint64_t offset) const { return data_ + offset; }
  std::size_t size() const { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

struct Header {
  std::uint32_t fileSize = 0;
  std::uint32_t bitsOffset = 0;
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top-down
  std::uint32_t planes = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t imageSize = 0;
  std::int64_t xDensity = 0;
  std::int64_t yDensity = 0;
  std::uint32_t colorsUsed = 0;
  std::array<std::uint32_t, 3> masks{};  // red, green, blue
  std::uint64_t paletteOffset = 0;
  int paletteEntryBytes = 4;
};

BmpStatus readHeader(const ByteReader& in, Header& h) {
  if (!in.has(0, 18)) return BmpStatus::Truncated;
  if (in.at(0)[0] != 'B' || in.at(0)[1] != 'M') return BmpStatus::Corrupt;
  h.fileSize = in.u32(2);
  h.bitsOffset = in.u32(10);
  h.headerSize = in.u32(14);
  if (h.headerSize == 12) {
    if (!in.has(14, 12)) return BmpStatus::Truncated;
    h.width = in.u16(18);
    h.height = in.u16(20);
    h.planes = in.u16(22);
    h.bitCount = in.u16(24);
    h.paletteOffset = 26;
    h.paletteEntryBytes = 3;
    return BmpStatus::Ok;
  }
  if (h.headerSize != 40 && h.headerSize != 52 && h.headerSize != 56 && h.headerSize != 108 && h.headerSize != 124)
    return BmpStatus::Unsupported;
  if (!in.has(14, h.headerSize)) return BmpStatus::Truncated;
  h.width = in.i32(18);
  h.height = in.i32(22);
  h.planes = in.u16(26);
  h.bitCount = in.u16(28);
  h.compression = in.u32(30);
  h.imageSize = in.u32(34);
  h.xDensity = in.i32(38);
  h.yDensity = in.i32(42);
  h.colorsUsed = in.u32(46);
  h.paletteOffset = 14 + std::uint64_t{h.headerSize};
  if (h.compression == kBitFields) {
    std::uint64_t maskOffset = 54;
    if (h.headerSize == 40) {
      if (!in.has(54, 12)) return BmpStatus::Truncated;
      h.paletteOffset += 12;
    }
    for (std::uint32_t& mask : h.masks) {
      mask = in.u32(maskOffset);
      maskOffset += 4;
    }
  }
  return BmpStatus::Ok;
}

// A usable colour mask: non-empty and one run of bits.
bool contiguousMask(std::uint32_t mask) {
  if (mask == 0) return false;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

BmpStatus checkMasks(const Header& h) {
  const std::uint64_t limit = h.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  std::uint32_t seen = 0;
  for (std::uint32_t mask : h.masks) {
    if (!contiguousMask(mask) || mask > limit || (mask & seen)) return BmpStatus::Corrupt;
    seen |= mask;
  }
  return BmpStatus::Ok;
}

BmpStatus checkHeader(const ByteReader& in, const Header& h) {
  if (h.planes != 1) return BmpStatus::Corrupt;
  switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return BmpStatus::Unsupported;
  }
  if (h.width <= 0 || h.height == 0) return BmpStatus::Corrupt;
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width > kMaxBmpSide || rows > kMaxBmpSide || h.width * rows > kMaxBmpPixels) return BmpStatus::TooLarge;
  if (h.fileSize > in.size()) return BmpStatus::Truncated;
  if (h.bitsOffset < h.paletteOffset || h.bitsOffset > in.size()) return BmpStatus::Corrupt;
  if (h.imageSize > in.size() - h.bitsOffset) return BmpStatus::Truncated;
  if (h.xDensity < 0 || h.yDensity < 0 || h.xDensity > kMaxDensity || h.yDensity > kMaxDensity)
    return BmpStatus::Corrupt;
  switch (h.compression) {
    case kRgb: return BmpStatus::Ok;
    case kRle8: return h.bitCount == 8 && h.height > 0 ? BmpStatus::Ok : BmpStatus::Corrupt;
    case kRle4: return h.bitCount == 4 && h.height > 0 ? BmpStatus::Ok : BmpStatus::Corrupt;
    case kBitFields: return h.bitCount == 16 || h.bitCount == 32 ? checkMasks(h) : BmpStatus::Corrupt;
    default: return BmpStatus::Unsupported;
  }
}

BmpStatus readPalette(const ByteReader& in, const Header& h, std::vector<std::uint32_t>& palette) {
  if (h.bitCount > 8) return BmpStatus::Ok;
  const std::uint64_t maxEntries = std::uint64_t{1} << h.bitCount;
  std::uint64_t entries = h.colorsUsed;
  if (entries == 0 || h.headerSize == 12)
    entries = std::min<std::uint64_t>(maxEntries, (h.bitsOffset - h.paletteOffset) / h.paletteEntryBytes);
  if (entries == 0) return BmpStatus::Corrupt;
  if (!in.has(h.paletteOffset, entries * h.paletteEntryBytes)) return BmpStatus::Truncated;
  entries = std::min(entries, maxEntries);
  palette.resize(entries);
  for (std::uint64_t i = 0; i < entries; ++i) {
    const std::uint8_t* bgr = in.at(h.paletteOffset + i * h.paletteEntryBytes);
    palette[i] = (std::uint32_t{bgr[2]} << 16) | (std::uint32_t{bgr[1]} << 8) | bgr[0];
  }
  return BmpStatus::Ok;
}

// Rows as stored, flipped to bottom-up when the file is top-down.
BmpStatus readRows(const ByteReader& in, const Header& h, DibImage& image) {
  const std::int64_t rowBytes = image.rowBytes();
  if (!in.has(h.bitsOffset, static_cast<std::uint64_t>(rowBytes) * image.height)) return BmpStatus::Truncated;
  image.bits.resize(static_cast<std::size_t>(rowBytes * image.height));
  for (int row = 0; row < image.height; ++row) {
    const int target = h.height < 0 ? image.height - 1 - row : row;
    std::memcpy(image.bits.data() + target * rowBytes, in.at(h.bitsOffset + row * rowBytes),
                static_cast<std::size_t>(rowBytes));
  }
  return BmpStatus::Ok;
}

// Writes palette indices into bottom-up rows of 4 or 8 bits per pixel.
class IndexCanvas {
 public:
  explicit IndexCanvas(DibImage& image) : image_(image), rowBytes_(image.rowBytes()) {}
  bool put(int x, int y, std::uint8_t index) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return false;
    std::uint8_t* row = image_.bits.data() + y * rowBytes_;
    if (image_.bitCount == 8) {
      row[x] = index;
    } else {
      std::uint8_t& cell = row[x / 2];
      cell = (x % 2 == 0) ? static_cast<std::uint8_t>((cell & 0x0F) | (index << 4))
                          : static_cast<std::uint8_t>((cell & 0xF0) | (index & 0x0F));
    }
    return true;
  }

 private:
  DibImage& image_;
  std::int64_t rowBytes_;
};

// RLE8 and RLE4: pairs (count, value) are runs; (0, 0) ends a line, (0, 1) the
// bitmap, (0, 2, dx, dy) moves the pen, (0, n >= 3) starts n literal pixels
// padded to 16 bits. Pixels the data never sets stay index 0. A run or move
// that leaves the bitmap is refused; data that stops early keeps what came.
BmpStatus readRle(const ByteReader& in, const Header& h, DibImage& image) {
  const bool fourBits = h.compression == kRle4;
  image.bits.assign(static_cast<std::size_t>(image.rowBytes() * image.height), 0);
  IndexCanvas canvas(image);
  std::uint64_t at = h.bitsOffset;
  int x = 0, y = 0;
  while (in.has(at, 2)) {
    const std::uint8_t count = in.at(at)[0];
    const std::uint8_t value = in.at(at)[1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        const std::uint8_t index = fourBits ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value;
        if (!canvas.put(x++, y, index)) return BmpStatus::Corrupt;
      }
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (!in.has(at, 2)) return BmpStatus::Truncated;
      x += in.at(at)[0];
      y += in.at(at)[1];
      at += 2;
      if (x > image.width || y > image.height) return BmpStatus::Corrupt;
    } else {
      const std::uint64_t bytes = fourBits ? (value + 1u) / 2 : value;
      if (!in.has(at, bytes)) return BmpStatus::Truncated;
      for (int i = 0; i < value; ++i) {
        const std::uint8_t byte = in.at(at)[fourBits ? i / 2 : i];
        const std::uint8_t index = fourBits ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte;
        if (!canvas.put(x++, y, index)) return BmpStatus::Corrupt;
      }
      at += bytes + (bytes & 1);
    }
  }
  return BmpStatus::Ok;
}

std::uint8_t scaleChannel(std::uint32_t pixel, std::uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const std::uint64_t maximum = mask >> shift;
  const std::uint64_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
}

// 16- or 32-bit pixels whose red, green and blue sit under the masks become
// 24-bit BGR.
void convertToRgb24(const std::array<std::uint32_t, 3>& masks, DibImage& image) {
  DibImage converted;
  converted.width = image.width;
  converted.height = image.height;
  converted.bitCount = 24;
  const std::int64_t sourceRowBytes = image.rowBytes();
  const std::int64_t targetRowBytes = converted.rowBytes();
  converted.bits.assign(static_cast<std::size_t>(targetRowBytes * image.height), 0);
  const int pixelBytes = image.bitCount / 8;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* source = image.bits.data() + y * sourceRowBytes;
    std::uint8_t* target = converted.bits.data() + y * targetRowBytes;
    for (int x = 0; x < image.width; ++x, source += pixelBytes, target += 3) {
      std::uint32_t pixel = source[0] | (std::uint32_t{source[1]} << 8);
      if (pixelBytes == 4) pixel |= (std::uint32_t{source[2]} << 16) | (std::uint32_t{source[3]} << 24);
      target[0] = scaleChannel(pixel, masks[2]);
      target[1] = scaleChannel(pixel, masks[1]);
      target[2] = scaleChannel(pixel, masks[0]);
    }
  }
  image = std::move(converted);
}

void applyBitFields(const Header& h, DibImage& image) {
  if (h.compression != kBitFields) return;
  const auto& m = h.masks;
  if (h.bitCount == 16 && m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F) return;
  if (h.bitCount == 16 && m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F) {
    image.rgb565 = true;
    return;
  }
  if (h.bitCount == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF) return;
  // Bit-field pixels in a layout we do not keep.
  convertToRgb24(m, image);
}

bool indicesInPalette(const DibImage& image) {
  if (image.bitCount > 8) return true;
  const std::int64_t rowBytes = image.rowBytes();
  const std::size_t colours = image.palette.size();
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = image.bits.data() + y * rowBytes;
    for (int x = 0; x < image.width; ++x) {
      const int bit = x * image.bitCount;
      const unsigned index = (row[bit / 8] >> (8 - image.bitCount - bit % 8)) & ((1u << image.bitCount) - 1);
      if (index >= colours) return false;
    }
  }
  return true;
}

}  // namespace

void widenToRgb24(DibImage& image) {
  if (image.bitCount != 16) return;
  convertToRgb24(image.rgb565 ? std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F}
                              : std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F},
                 image);
}

BmpStatus decodeBmp(const std::uint8_t* data, std::size_t size, DibImage& image) {
  const ByteReader in(data, data ? size : 0);
  Header header;
  BmpStatus status = readHeader(in, header);
  if (status == BmpStatus::Ok) status = checkHeader(in, header);
  if (status != BmpStatus::Ok) return status;

  DibImage decoded;
  decoded.width = static_cast<int>(header.width);
  decoded.height = static_cast<int>(header.height < 0 ? -header.height : header.height);
  decoded.bitCount = static_cast<int>(header.bitCount);
  status = readPalette(in, header, decoded.palette);
  if (status != BmpStatus::Ok) return status;
  const bool rle = header.compression == kRle8 || header.compression == kRle4;
  status = rle ? readRle(in, header, decoded) : readRows(in, header, decoded);
  if (status != BmpStatus::Ok) return status;
  if (!indicesInPalette(decoded)) return BmpStatus::Corrupt;
  applyBitFields(header, decoded);
  image = std::move(decoded);
  return BmpStatus::Ok;
}

}  // namespace gui
