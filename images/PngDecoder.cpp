#include "images/PngDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "images/EPNGImageException.h"
#include "images/PngFilters.h"

namespace images {
namespace {

// ---- bitmap format ---------------------------------------------------------

int bitmapBitsFor(const TPngHeader& header) {
  if (header.ColorType == kPngRgb || header.ColorType == kPngRgbAlpha) return 24;
  if (header.BitDepth == 1) return 1;
  if (header.BitDepth <= 4) return 4;
  return 8;
}

TPngStatus checkHeader(const TPngHeader& header) {
  if (!IsKnownPngColorType(header.ColorType)) return TPngStatus::UnknownColorType;
  if (!IsValidPngBitDepth(header.ColorType, header.BitDepth)) return TPngStatus::CorruptedData;
  if (header.Width == 0 || header.Height == 0 || header.Width > 0x7FFFFFFFu || header.Height > 0x7FFFFFFFu)
    return TPngStatus::CorruptedData;
  if (std::uint64_t{header.Width} * header.Height > kPngMaxPixels) return TPngStatus::CorruptedData;
  return TPngStatus::Ok;
}

std::vector<TPngColor> greyPalette(unsigned entries, const std::uint8_t* gamma) {
  std::vector<TPngColor> palette(entries);
  for (unsigned k = 0; k < entries; ++k) {
    // MulDiv(k, 255, entries - 1): exact for every entry count used here.
    auto level = static_cast<std::uint8_t>((k * 255 + (entries - 1) / 2) / (entries - 1));
    if (gamma) level = gamma[level];
    palette[k] = {level, level, level};
  }
  return palette;
}

// 2-bit samples are stored scaled by 5 in a 4-bit bitmap, so entries 4-15
// repeat entries 0-3 and value v x 5 lands on entry v.
void widenTwoBitPalette(std::vector<TPngColor>& palette) {
  palette.resize(4);
  palette.resize(16);
  for (std::size_t k = 4; k < 16; ++k) palette[k] = palette[k % 4];
}

}  // namespace

void RaiseOnPngStatus(TPngStatus status) {
  switch (status) {
    case TPngStatus::Ok: return;
    case TPngStatus::UnknownColorType: RaisePngError(EPngInvalidColorType);
    case TPngStatus::CorruptedData: RaisePngError(EPngCorruptedData);
    case TPngStatus::NoPalette: RaisePngError(EPngNoPalette);
    case TPngStatus::UnknownFilter: RaisePngError(EPngInvalidFilter);
    case TPngStatus::UnknownInterlace: RaisePngError(EPngUnknownInterlace);
  }
  RaisePngError(EPngCorruptedData);
}

TPngStatus PngRasterFormatOf(const TPngHeader& header, const std::vector<TPngColor>* palette,
                             const std::uint8_t* gamma, TPngRasterFormat& format) {
  if (const TPngStatus status = checkHeader(header); status != TPngStatus::Ok) return status;
  format = TPngRasterFormat{};
  format.Width = static_cast<int>(header.Width);
  format.Height = static_cast<int>(header.Height);
  format.BitsPerPixel = bitmapBitsFor(header);
  if (header.ColorType == kPngGrey || header.ColorType == kPngGreyAlpha) {
    format.Palette = greyPalette(header.BitDepth >= 8 ? 256u : 1u << header.BitDepth, gamma);
  } else if (header.ColorType == kPngPalette) {
    if (palette == nullptr) return TPngStatus::NoPalette;
    // Entries the depth cannot reach are dropped; indices past the file's
    // entries show black.
    const std::size_t entries = std::size_t{1} << header.BitDepth;
    format.Palette.assign(palette->begin(), palette->begin() + std::min(entries, palette->size()));
    if (gamma)
      for (TPngColor& entry : format.Palette) entry = {gamma[entry.Red], gamma[entry.Green], gamma[entry.Blue]};
    format.Palette.resize(entries);
  }
  if (header.BitDepth == 2) widenTwoBitPalette(format.Palette);
  return TPngStatus::Ok;
}

namespace {

// ---- reading rows ----------------------------------------------------------

// A zero-initialised byte buffer whose pages cost nothing until written.
class ZeroedBuffer {
 public:
  explicit ZeroedBuffer(std::size_t size) : bytes_(static_cast<std::uint8_t*>(std::calloc(size ? size : 1, 1))) {
    if (!bytes_) throw std::bad_alloc();
  }
  std::uint8_t* get() const { return bytes_.get(); }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t, Free> bytes_;
};

// Reads filter byte + row; a short read zeroes the rest and marks the end.
class RowReader {
 public:
  explicit RowReader(gui::TStream& inflated) : inflated_(inflated) {}
  bool ended() const { return ended_; }

  void read(std::uint8_t* buffer, std::size_t count) {
    std::size_t have = 0;
    while (!ended_ && have < count) {
      const std::int64_t got = inflated_.Read(buffer + have, static_cast<std::int64_t>(count - have));
      if (got <= 0) ended_ = true;
      else have += static_cast<std::size_t>(got);
    }
    if (have < count) std::memset(buffer + have, 0, count - have);
  }

 private:
  gui::TStream& inflated_;
  bool ended_ = false;
};

// ---- converting a raw row into bitmap pixels -------------------------------

class RowConverter {
 public:
  RowConverter(const TPngHeader& header, const std::uint8_t* gamma)
      : header_(header), gamma_(gamma), bitmapBits_(bitmapBitsFor(header)) {
    const unsigned bitsPerPixel = PngChannels(header.ColorType) * header.BitDepth;
    pixelBytes_ = bitsPerPixel / 8;
    scale_ = bitmapBits_ >= 8 ? 1 : ((1u << bitmapBits_) - 1) / ((1u << header.BitDepth) - 1);
    for (unsigned b = 0; b < 256; ++b) {
      // One byte of 2-bit samples as two bytes of 4-bit samples scaled by 5.
      unsigned wide = 0;
      for (unsigned s = 0; s < 4; ++s) wide = (wide << 4) | (((b >> (6 - 2 * s)) & 3u) * 5u);
      twoBitWide_[b] = static_cast<std::uint16_t>(wide);
    }
  }

  // Converts `count` pixels of `raw` into `dest` at columns start, start + step, ...
  void convert(const std::uint8_t* raw, std::uint32_t count, std::uint8_t* dest, std::uint32_t start,
               std::uint32_t step) const {
    if (bitmapBits_ == 24) convertRgb(raw, count, dest, start, step);
    else if (bitmapBits_ == 8) convertIndex(raw, count, dest, start, step);
    else convertPacked(raw, count, dest, start, step);
  }

 private:
  void convertRgb(const std::uint8_t* raw, std::uint32_t count, std::uint8_t* dest, std::uint32_t start,
                  std::uint32_t step) const {
    const std::size_t sample = header_.BitDepth / 8;  // high byte first for 16-bit samples
    std::uint8_t* out = dest + std::size_t{start} * 3;
    const std::size_t outStep = std::size_t{step} * 3;
    if (gamma_ == nullptr && pixelBytes_ == 3) {
      for (std::uint32_t i = 0; i < count; ++i, raw += 3, out += outStep) {
        out[0] = raw[2];
        out[1] = raw[1];
        out[2] = raw[0];
      }
      return;
    }
    for (std::uint32_t i = 0; i < count; ++i, raw += pixelBytes_, out += outStep) {
      std::uint8_t red = raw[0], green = raw[sample], blue = raw[2 * sample];
      if (gamma_) red = gamma_[red], green = gamma_[green], blue = gamma_[blue];
      out[0] = blue;
      out[1] = green;
      out[2] = red;
    }
  }

  void convertIndex(const std::uint8_t* raw, std::uint32_t count, std::uint8_t* dest, std::uint32_t start,
                    std::uint32_t step) const {
    if (pixelBytes_ == 1 && step == 1) {
      std::memcpy(dest + start, raw, count);
      return;
    }
    for (std::uint32_t i = 0; i < count; ++i) dest[start + std::size_t{i} * step] = raw[std::size_t{i} * pixelBytes_];
  }

  void convertPacked(const std::uint8_t* raw, std::uint32_t count, std::uint8_t* dest, std::uint32_t start,
                     std::uint32_t step) const {
    const unsigned depth = header_.BitDepth;
    if (step == 1 && start == 0) {
      const std::size_t rawBytes = (std::size_t{count} * depth + 7) / 8;
      if (depth == static_cast<unsigned>(bitmapBits_)) {
        std::memcpy(dest, raw, rawBytes);
        return;
      }
      if (depth == 2) {
        const std::size_t destBytes = (std::size_t{count} + 1) / 2;
        for (std::size_t i = 0; i < rawBytes; ++i) {
          const std::uint16_t wide = twoBitWide_[raw[i]];
          dest[2 * i] = static_cast<std::uint8_t>(wide >> 8);
          if (2 * i + 1 < destBytes) dest[2 * i + 1] = static_cast<std::uint8_t>(wide);
        }
        return;
      }
    }
    const unsigned mask = (1u << depth) - 1;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t bit = std::size_t{i} * depth;
      const unsigned value = ((raw[bit / 8] >> (8 - depth - bit % 8)) & mask) * scale_;
      const std::size_t column = start + std::size_t{i} * step;
      if (bitmapBits_ == 1) {
        const auto bitMask = static_cast<std::uint8_t>(0x80u >> (column % 8));
        dest[column / 8] = static_cast<std::uint8_t>(value ? dest[column / 8] | bitMask : dest[column / 8] & ~bitMask);
      } else {
        const unsigned shift = (column % 2) ? 0 : 4;
        dest[column / 2] = static_cast<std::uint8_t>((dest[column / 2] & ~(0xFu << shift)) | (value << shift));
      }
    }
  }

  const TPngHeader& header_;
  const std::uint8_t* gamma_;
  int bitmapBits_;
  std::size_t pixelBytes_ = 1;
  unsigned scale_ = 1;
  std::uint16_t twoBitWide_[256];
};

// ---- the two layouts ---------------------------------------------------------

enum class RowsRead { All, DataEnded, UnknownFilter };

// Decodes `rows` rows of `columns` pixels; row r goes to bitmap row rowStart + r * rowStep.
RowsRead decodeRows(const TPngHeader& header, RowReader& reader, const RowConverter& converter,
                    TPngRasterTarget& target, const TAdam7Pass& pass, bool reportRows) {
  const std::uint32_t columns = Adam7Columns(pass, header.Width);
  const std::uint32_t rows = Adam7Rows(pass, header.Height);
  if (columns == 0 || rows == 0) return RowsRead::All;
  const auto rowBytes = static_cast<std::size_t>(PngRowBytes(header, columns));
  const std::size_t distance = PngFilterDistance(header);
  ZeroedBuffer first(rowBytes + 1), second(rowBytes + 1);
  std::uint8_t* current = first.get();
  std::uint8_t* previous = second.get();
  for (std::uint32_t r = 0; r < rows; ++r) {
    reader.read(current, rowBytes + 1);
    if (!UnfilterRow(current[0], current + 1, previous + 1, rowBytes, distance)) return RowsRead::UnknownFilter;
    const auto y = static_cast<int>(pass.RowStart + r * pass.RowStep);
    converter.convert(current + 1, columns, target.ScanLine(y), pass.ColumnStart, pass.ColumnStep);
    if (reportRows) target.RowDone(y);
    if (reader.ended()) return RowsRead::DataEnded;
    std::swap(current, previous);
  }
  return RowsRead::All;
}

}  // namespace

TPngStatus DecodePngImageData(const TPngHeader& header, const std::uint8_t* gamma, gui::TStream& inflated,
                              TPngRasterTarget& target) {
  if (const TPngStatus status = checkHeader(header); status != TPngStatus::Ok) return status;
  if (header.InterlaceMethod > 1) return TPngStatus::UnknownInterlace;
  RowReader reader(inflated);
  const RowConverter converter(header, gamma);
  if (header.InterlaceMethod == 0) {
    const RowsRead read = decodeRows(header, reader, converter, target, TAdam7Pass{0, 1, 0, 1}, true);
    return read == RowsRead::UnknownFilter ? TPngStatus::UnknownFilter : TPngStatus::Ok;
  }
  for (int pass = 0; pass < 7; ++pass) {
    const RowsRead read = decodeRows(header, reader, converter, target, kAdam7Passes[pass], false);
    if (read == RowsRead::UnknownFilter) return TPngStatus::UnknownFilter;
    if (read == RowsRead::DataEnded) break;
    target.PassDone(pass);
  }
  return TPngStatus::Ok;
}

}  // namespace images
