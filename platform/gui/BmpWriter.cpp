#include "platform/gui/BmpFormat.h"

namespace gui {

namespace {

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  putU16(out, value & 0xFFFF);
  putU16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const DibImage& image) {
  constexpr std::uint32_t kFileHeaderBytes = 14;
  constexpr std::uint32_t kInfoHeaderBytes = 40;
  const bool bitFields = image.bitCount == 16 && image.rgb565;
  const std::uint32_t colours = image.bitCount <= 8 ? static_cast<std::uint32_t>(image.palette.size()) : 0;
  const std::uint32_t bitsOffset = kFileHeaderBytes + kInfoHeaderBytes + (bitFields ? 12 : 0) + colours * 4;
  const auto imageBytes = static_cast<std::uint32_t>(image.bits.size());

  std::vector<std::uint8_t> out;
  out.reserve(bitsOffset + image.bits.size());
  out.push_back('B');
  out.push_back('M');
  putU32(out, bitsOffset + imageBytes);
  putU32(out, 0);
  putU32(out, bitsOffset);
  putU32(out, kInfoHeaderBytes);
  putU32(out, static_cast<std::uint32_t>(image.width));
  putU32(out, static_cast<std::uint32_t>(image.height));
  putU16(out, 1);
  putU16(out, static_cast<std::uint32_t>(image.bitCount));
  putU32(out, bitFields ? 3 : 0);
  putU32(out, imageBytes);
  putU32(out, 0);  // no density
  putU32(out, 0);
  putU32(out, colours);
  putU32(out, 0);
  if (bitFields) {
    putU32(out, 0xF800);
    putU32(out, 0x07E0);
    putU32(out, 0x001F);
  }
  for (std::uint32_t i = 0; i < colours; ++i) putU32(out, image.palette[i] & 0xFFFFFF);
  out.insert(out.end(), image.bits.begin(), image.bits.end());
  return out;
}

}  // namespace gui
