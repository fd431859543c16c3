#include "platform/win/gdi/DibFormat.h"

#include <cstdlib>
#include <cstring>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/PaletteObject.h"

namespace win {
namespace {

bool supportedBitCount(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

std::uint32_t quadToPixel(const RGBQUAD& q) {
  return (static_cast<std::uint32_t>(q.rgbRed) << 16) | (static_cast<std::uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
}

std::uint32_t paletteEntryPixel(HDC dc, WORD index) {
  const DeviceContext* context = dcFromHandle(dc);
  PALETTEENTRY entry{};
  if (context && GetPaletteEntries(context->state.palette, index, 1, &entry) == 1)
    return (static_cast<std::uint32_t>(entry.peRed) << 16) | (static_cast<std::uint32_t>(entry.peGreen) << 8) |
           entry.peBlue;
  return 0;
}

}  // namespace

int dibColorCount(const BITMAPINFOHEADER& header) {
  if (header.biBitCount > 8) return 0;
  const int full = 1 << header.biBitCount;
  if (header.biClrUsed == 0 || header.biClrUsed > static_cast<DWORD>(full)) return full;
  return static_cast<int>(header.biClrUsed);
}

bool readDibLayout(const BITMAPINFO* info, UINT usage, HDC dc, DibLayout& layout) {
  if (!info) return false;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB) return false;
  if (!supportedBitCount(header.biBitCount) || header.biWidth <= 0 || header.biHeight == 0) return false;
  if (header.biHeight == INT32_MIN) return false;
  const int height = std::abs(header.biHeight);
  if (!surfaceSizeAllowed(header.biWidth, height)) return false;
  layout.width = header.biWidth;
  layout.height = height;
  layout.bottomUp = header.biHeight > 0;
  layout.bitCount = header.biBitCount;
  layout.rowBytes = dibRowBytes(header.biWidth, header.biBitCount);
  layout.palette.clear();
  const int colors = dibColorCount(header);
  // The colour table starts right after the header, whose size the caller declares.
  const auto* table = reinterpret_cast<const std::uint8_t*>(info) + header.biSize;
  for (int i = 0; i < colors; ++i) {
    if (usage == DIB_PAL_COLORS) {
      WORD index;
      std::memcpy(&index, table + 2 * i, sizeof index);
      layout.palette.push_back(paletteEntryPixel(dc, index));
    } else {
      RGBQUAD quad;
      std::memcpy(&quad, table + 4 * i, sizeof quad);
      layout.palette.push_back(quadToPixel(quad));
    }
  }
  // Indices beyond a short colour table read as black.
  if (colors > 0) layout.palette.resize(static_cast<std::size_t>(1) << layout.bitCount, 0);
  return true;
}

void decodeDibRow(const DibLayout& layout, const std::uint8_t* row, std::uint32_t* pixels) {
  const int width = layout.width;
  switch (layout.bitCount) {
    case 1:
      for (int x = 0; x < width; ++x) pixels[x] = layout.palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int x = 0; x < width; ++x) pixels[x] = layout.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
      break;
    case 8:
      for (int x = 0; x < width; ++x) pixels[x] = layout.palette[row[x]];
      break;
    case 24:
      for (int x = 0; x < width; ++x, row += 3)
        pixels[x] = (static_cast<std::uint32_t>(row[2]) << 16) | (static_cast<std::uint32_t>(row[1]) << 8) | row[0];
      break;
    case 32:
      for (int x = 0; x < width; ++x, row += 4)
        pixels[x] = (static_cast<std::uint32_t>(row[2]) << 16) | (static_cast<std::uint32_t>(row[1]) << 8) | row[0];
      break;
    default: break;
  }
}

int nearestPaletteIndex(const std::vector<std::uint32_t>& palette, std::uint32_t pixel) {
  int best = 0;
  long bestDistance = -1;
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int dr = r - static_cast<int>((palette[i] >> 16) & 0xFF);
    const int dg = g - static_cast<int>((palette[i] >> 8) & 0xFF);
    const int db = b - static_cast<int>(palette[i] & 0xFF);
    const long distance = static_cast<long>(dr) * dr + static_cast<long>(dg) * dg + static_cast<long>(db) * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

void encodeDibRow(const DibLayout& layout, const std::uint32_t* pixels, std::uint8_t* row) {
  const int width = layout.width;
  if (layout.bitCount <= 8) {
    std::memset(row, 0, static_cast<std::size_t>(layout.rowBytes));
    // Runs of one colour are common; remember the last lookup.
    std::uint32_t lastPixel = ~0u;
    int lastIndex = 0;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = pixels[x] & 0xFFFFFF;
      if (pixel != lastPixel) {
        lastIndex = nearestPaletteIndex(layout.palette, pixel);
        lastPixel = pixel;
      }
      const auto index = static_cast<std::uint8_t>(lastIndex);
      if (layout.bitCount == 8) row[x] = index;
      else if (layout.bitCount == 4) row[x >> 1] |= static_cast<std::uint8_t>((index & 0xF) << ((x & 1) ? 0 : 4));
      else row[x >> 3] |= static_cast<std::uint8_t>((index & 1) << (7 - (x & 7)));
    }
    return;
  }
  const int step = layout.bitCount / 8;
  for (int x = 0; x < width; ++x, row += step) {
    row[0] = static_cast<std::uint8_t>(pixels[x]);
    row[1] = static_cast<std::uint8_t>(pixels[x] >> 8);
    row[2] = static_cast<std::uint8_t>(pixels[x] >> 16);
    if (step == 4) row[3] = 0;
  }
  const std::int64_t used = static_cast<std::int64_t>(width) * step;
  if (layout.rowBytes > used) std::memset(row, 0, static_cast<std::size_t>(layout.rowBytes - used));
}

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

std::vector<std::uint8_t> encodeBmpFile(int width, int height, int bitCount, bool rgb565,
                                        const std::vector<std::uint32_t>& palette,
                                        const std::vector<std::uint8_t>& bits) {
  constexpr std::uint32_t kFileHeaderBytes = 14;
  constexpr std::uint32_t kInfoHeaderBytes = 40;
  const bool bitFields = bitCount == 16 && rgb565;
  const std::uint32_t colours = bitCount <= 8 ? static_cast<std::uint32_t>(palette.size()) : 0;
  const std::uint32_t bitsOffset = kFileHeaderBytes + kInfoHeaderBytes + (bitFields ? 12 : 0) + colours * 4;
  const auto imageBytes = static_cast<std::uint32_t>(bits.size());

  std::vector<std::uint8_t> out;
  out.reserve(bitsOffset + bits.size());
  // BITMAPFILEHEADER: "BM", file size, two reserved words, offset of the rows.
  out.push_back('B');
  out.push_back('M');
  putU32(out, bitsOffset + imageBytes);
  putU32(out, 0);
  putU32(out, bitsOffset);
  // BITMAPINFOHEADER: size, width, height (bottom-up), planes, bit count,
  // compression, image size, resolution x/y, colours used/important.
  putU32(out, kInfoHeaderBytes);
  putU32(out, static_cast<std::uint32_t>(width));
  putU32(out, static_cast<std::uint32_t>(height));
  putU16(out, 1);
  putU16(out, static_cast<std::uint32_t>(bitCount));
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
  for (std::uint32_t i = 0; i < colours; ++i) putU32(out, palette[i] & 0xFFFFFF);
  out.insert(out.end(), bits.begin(), bits.end());
  return out;
}

}  // namespace win
