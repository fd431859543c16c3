#include "images/PngFormat.h"

#include <zlib.h>

namespace images {
namespace {

std::uint32_t passCount(std::uint32_t extent, std::uint32_t start, std::uint32_t step) {
  return extent > start ? (extent - start + step - 1) / step : 0;
}

}  // namespace

std::uint32_t ChunkCrc(const std::uint8_t* type, const std::uint8_t* data, std::size_t length) {
  uLong crc = crc32(crc32(0L, Z_NULL, 0), type, 4);
  if (length > 0) crc = crc32_z(crc, data, length);
  return static_cast<std::uint32_t>(crc);
}

TPngHeader ParsePngHeader(const std::uint8_t* data) {
  TPngHeader header;
  header.Width = ReadBigEndian32(data);
  header.Height = ReadBigEndian32(data + 4);
  header.BitDepth = data[8];
  header.ColorType = data[9];
  header.CompressionMethod = data[10];
  header.FilterMethod = data[11];
  header.InterlaceMethod = data[12];
  return header;
}

void StorePngHeader(const TPngHeader& header, std::uint8_t* data) {
  WriteBigEndian32(header.Width, data);
  WriteBigEndian32(header.Height, data + 4);
  data[8] = header.BitDepth;
  data[9] = header.ColorType;
  data[10] = header.CompressionMethod;
  data[11] = header.FilterMethod;
  data[12] = header.InterlaceMethod;
}

bool IsKnownPngColorType(std::uint8_t colorType) {
  return colorType == kPngGrey || colorType == kPngRgb || colorType == kPngPalette || colorType == kPngGreyAlpha ||
         colorType == kPngRgbAlpha;
}

bool IsValidPngBitDepth(std::uint8_t colorType, std::uint8_t bitDepth) {
  switch (colorType) {
    case kPngGrey: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case kPngPalette: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case kPngRgb:
    case kPngGreyAlpha:
    case kPngRgbAlpha: return bitDepth == 8 || bitDepth == 16;
    default: return false;
  }
}

unsigned PngChannels(std::uint8_t colorType) {
  switch (colorType) {
    case kPngRgb: return 3;
    case kPngGreyAlpha: return 2;
    case kPngRgbAlpha: return 4;
    default: return 1;
  }
}

std::uint64_t PngRowBytes(const TPngHeader& header, std::uint64_t width) {
  const std::uint64_t bits = width * PngChannels(header.ColorType) * header.BitDepth;
  return (bits + 7) / 8;
}

std::size_t PngFilterDistance(const TPngHeader& header) {
  const std::size_t bytes = PngChannels(header.ColorType) * header.BitDepth / 8u;
  return bytes > 0 ? bytes : 1;
}

std::uint32_t Adam7Columns(const TAdam7Pass& pass, std::uint32_t width) {
  return passCount(width, pass.ColumnStart, pass.ColumnStep);
}

std::uint32_t Adam7Rows(const TAdam7Pass& pass, std::uint32_t height) {
  return passCount(height, pass.RowStart, pass.RowStep);
}

}  // namespace images
