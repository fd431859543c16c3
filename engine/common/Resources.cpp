#include "engine/common/Resources.h"

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/win/Gdi.h"

namespace engine {
namespace {

constexpr int kPictureSize = 16;
using PictureRows = std::array<std::string_view, kPictureSize>;

// Pixels as hexadecimal indices into the 16-colour palette below; rows top first.
constexpr PictureRows kErrorPicture = {
    "7888888888888887",
    "8FFFFFFFFFFFFFF0",
    "8F99FFFFFFFF99F0",
    "8F999FFFFFF999F0",
    "8FF999FFFF999FF0",
    "8FFF999FF999FFF0",
    "8FFFF999999FFFF0",
    "8FFFFF9999FFFFF0",
    "8FFFFF9999FFFFF0",
    "8FFFF999999FFFF0",
    "8FFF999FF999FFF0",
    "8FF999FFFF999FF0",
    "8F999FFFFFF999F0",
    "8F99FFFFFFFF99F0",
    "8FFFFFFFFFFFFFF0",
    "7000000000000007",
};

// An hourglass with sand running down.
constexpr PictureRows kWaitingPicture = {
    "7777777777777777",
    "7444444444444447",
    "7744FFFFFFFF4477",
    "7774FBBBBBBF4777",
    "7774FFBBBBFF4777",
    "77774FFBBFF47777",
    "777774FBBF477777",
    "7777774BB4777777",
    "7777774FB4777777",
    "777774FFBF477777",
    "77774FFFBFF47777",
    "7774FFFBBFFF4777",
    "7774FFBBBBFF4777",
    "7744BBBBBBBB4477",
    "7444444444444447",
    "7777777777777777",
};

// Transparent ("1") at the four corners of the error picture.
constexpr PictureRows kErrorMask = {
    "1000000000000001", "0000000000000000", "0000000000000000", "0000000000000000",
    "0000000000000000", "0000000000000000", "0000000000000000", "0000000000000000",
    "0000000000000000", "0000000000000000", "0000000000000000", "0000000000000000",
    "0000000000000000", "0000000000000000", "0000000000000000", "1000000000000001",
};

// The classic 16-colour palette (red, green, blue).
constexpr std::array<std::array<win::BYTE, 3>, 16> kPalette = {{
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

int HexDigit(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

struct FourBitInfo {
  win::BITMAPINFOHEADER header;
  win::RGBQUAD colors[16];
};

win::HBITMAP MakeFourBitPicture(const PictureRows& rows) {
  FourBitInfo info{};
  info.header.biSize = sizeof(win::BITMAPINFOHEADER);
  info.header.biWidth = kPictureSize;
  info.header.biHeight = -kPictureSize;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = 4;
  info.header.biCompression = win::BI_RGB;
  for (std::size_t i = 0; i < kPalette.size(); ++i) {
    info.colors[i] = win::RGBQUAD{kPalette[i][2], kPalette[i][1], kPalette[i][0], 0};
  }
  void* bits = nullptr;
  const win::HBITMAP bitmap =
      win::CreateDIBSection(0, reinterpret_cast<const win::BITMAPINFO*>(&info), win::DIB_RGB_COLORS, &bits, 0, 0);
  if (bitmap == 0 || bits == nullptr) return bitmap;
  const auto rowBytes = static_cast<std::size_t>(win::dibRowBytes(kPictureSize, 4));
  auto* out = static_cast<win::BYTE*>(bits);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < kPictureSize; x += 2) {
      out[y * rowBytes + static_cast<std::size_t>(x / 2)] =
          static_cast<win::BYTE>(HexDigit(rows[y][x]) << 4 | HexDigit(rows[y][x + 1]));
    }
  }
  return bitmap;
}

win::HBITMAP MakeMask(const PictureRows& rows) {
  // Monochrome rows padded to 16 bits: two bytes per 16-pixel row.
  std::vector<win::BYTE> bits(kPictureSize * 2, 0);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      if (rows[y][x] == '1') bits[y * 2 + static_cast<std::size_t>(x / 8)] |= static_cast<win::BYTE>(0x80 >> (x % 8));
    }
  }
  return win::CreateBitmap(kPictureSize, kPictureSize, 1, 1, bits.data());
}

}  // namespace

win::HBITMAP LoadEngineBitmap(int resourceId) {
  switch (resourceId) {
    case kErrorPictureResource:
      return MakeFourBitPicture(kErrorPicture);
    case kWaitingPictureResource:
      return MakeFourBitPicture(kWaitingPicture);
    case kErrorMaskResource:
      return MakeMask(kErrorMask);
    default:
      return 0;
  }
}

}  // namespace engine
