// Moving pixels between bitmaps or devices and device-independent bits.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/gdi/BlitEngine.h"
#include "platform/win/gdi/Blit.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/DibFormat.h"
#include "platform/win/gdi/PaletteObject.h"

namespace win {
namespace {

// The sixteen colours of 4 bpp DIBs, as surface pixels.
constexpr std::uint32_t kSixteenColors[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Image row (top-down) of DIB row `dibRow` of an image `height` rows high.
long long imageRow(const DibLayout& layout, long long dibRow) {
  return layout.bottomUp ? layout.height - 1 - dibRow : dibRow;
}

// The colour table GetDIBits hands out for a bitmap at a depth of 8 bpp or less.
std::vector<std::uint32_t> outputPalette(const BitmapObject& bitmap, int bitCount, HDC dc) {
  std::vector<std::uint32_t> palette;
  if (bitmap.dib && bitmap.bitsPixel == bitCount && !bitmap.colorTable.empty()) {
    for (const RGBQUAD& q : bitmap.colorTable)
      palette.push_back((static_cast<std::uint32_t>(q.rgbRed) << 16) | (static_cast<std::uint32_t>(q.rgbGreen) << 8) |
                        q.rgbBlue);
  } else if (bitCount == 1) {
    palette = {0x000000, 0xFFFFFF};
  } else if (bitCount == 4) {
    palette.assign(std::begin(kSixteenColors), std::end(kSixteenColors));
  } else {
    const DeviceContext* context = dcFromHandle(dc);
    PALETTEENTRY entries[256];
    const UINT count = context ? GetPaletteEntries(context->state.palette, 0, 256, entries) : 0;
    for (UINT i = 0; i < count; ++i)
      palette.push_back((static_cast<std::uint32_t>(entries[i].peRed) << 16) |
                        (static_cast<std::uint32_t>(entries[i].peGreen) << 8) | entries[i].peBlue);
  }
  palette.resize(static_cast<std::size_t>(1) << bitCount, 0);
  return palette;
}

void writeColorTable(BITMAPINFO* info, const std::vector<std::uint32_t>& palette, UINT usage) {
  auto* table = reinterpret_cast<std::uint8_t*>(info) + info->bmiHeader.biSize;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (usage == DIB_PAL_COLORS) {
      const WORD index = static_cast<WORD>(i);
      std::memcpy(table + 2 * i, &index, sizeof index);
    } else {
      const RGBQUAD quad{static_cast<BYTE>(palette[i]), static_cast<BYTE>(palette[i] >> 8),
                         static_cast<BYTE>(palette[i] >> 16), 0};
      std::memcpy(table + 4 * i, &quad, sizeof quad);
    }
  }
}

// Fills a header describing the bitmap (GetDIBits with a zero bit count).
void describeBitmap(const BitmapObject& bitmap, BITMAPINFOHEADER& header) {
  const int bits = bitmap.bitsPixel == 16 ? 24 : bitmap.bitsPixel;
  header.biWidth = bitmap.surface.width;
  header.biHeight = bitmap.dib ? bitmap.header.biHeight : bitmap.surface.height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bits);
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(dibRowBytes(bitmap.surface.width, bits) * bitmap.surface.height);
  header.biClrUsed = 0;
  header.biClrImportant = 0;
}

// Decodes DIB rows [firstRow, firstRow + rowCount) from `bits` (which start at
// DIB row `bitsFirstRow` and hold `bitsRows` rows) into a top-down surface
// whose row 0 is image row `imageTop`.
bool decodeImageRows(const DibLayout& layout, const std::uint8_t* bits, long long bitsFirstRow, long long bitsRows,
                     long long imageTop, long long rows, Surface& out) {
  if (rows <= 0 || !allocateSurface(out, layout.width, static_cast<int>(rows))) return false;
  for (long long y = 0; y < rows; ++y) {
    const long long dibRow = imageRow(layout, imageTop + y);  // the mapping is its own inverse
    if (dibRow < bitsFirstRow || dibRow >= bitsFirstRow + bitsRows) continue;
    decodeDibRow(layout, bits + (dibRow - bitsFirstRow) * layout.rowBytes, out.rowPtr(static_cast<int>(y)));
  }
  return true;
}

}  // namespace

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  BitmapObject* bitmap = bitmapFromHandle(handle);
  if (!bitmap || !info || !dcFromHandle(dc) || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biBitCount == 0) {
    describeBitmap(*bitmap, header);
    if (!bits) {
      if (header.biBitCount <= 8) writeColorTable(info, outputPalette(*bitmap, header.biBitCount, dc), usage);
      return bitmap->surface.height;
    }
  }
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN) return 0;
  DibLayout layout;
  layout.width = header.biWidth;
  layout.height = std::abs(header.biHeight);
  layout.bottomUp = header.biHeight > 0;
  layout.bitCount = header.biBitCount;
  if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 && layout.bitCount != 24 &&
      layout.bitCount != 32)
    return 0;
  if (header.biCompression != BI_RGB || !surfaceSizeAllowed(layout.width, layout.height)) return 0;
  layout.rowBytes = dibRowBytes(layout.width, layout.bitCount);
  if (layout.bitCount <= 8) layout.palette = outputPalette(*bitmap, layout.bitCount, dc);
  header.biSizeImage = static_cast<DWORD>(layout.rowBytes * layout.height);
  if (layout.bitCount <= 8) writeColorTable(info, layout.palette, usage);
  if (!bits) return layout.height;
  if (start >= static_cast<UINT>(layout.height) || !bitmap->readBitsIntoSurface()) return 0;
  const long long count = std::min<long long>(lines, layout.height - static_cast<long long>(start));
  std::vector<std::uint32_t> row(static_cast<std::size_t>(layout.width), 0);
  const Surface& surface = bitmap->surface;
  for (long long r = 0; r < count; ++r) {
    const long long y = imageRow(layout, start + r);
    std::fill(row.begin(), row.end(), 0);
    if (y < surface.height)
      std::copy_n(surface.rowPtr(static_cast<int>(y)), std::min(layout.width, surface.width), row.begin());
    encodeDibRow(layout, row.data(), static_cast<std::uint8_t*>(bits) + r * layout.rowBytes);
  }
  return static_cast<int>(count);
}

int SetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  BitmapObject* bitmap = bitmapFromHandle(handle);
  DibLayout layout;
  if (!bitmap || !bits || !readDibLayout(info, usage, dc, layout)) return 0;
  if (start >= static_cast<UINT>(layout.height) || !bitmap->readBitsIntoSurface()) return 0;
  const long long count = std::min<long long>(lines, layout.height - static_cast<long long>(start));
  Surface& surface = bitmap->surface;
  std::vector<std::uint32_t> row(static_cast<std::size_t>(layout.width));
  for (long long r = 0; r < count; ++r) {
    const long long y = imageRow(layout, start + r);
    if (y >= surface.height) continue;
    decodeDibRow(layout, static_cast<const std::uint8_t*>(bits) + r * layout.rowBytes, row.data());
    std::uint32_t* out = surface.rowPtr(static_cast<int>(y));
    const int width = std::min(layout.width, surface.width);
    for (int x = 0; x < width; ++x)
      out[x] = surface.monochrome ? ((row[static_cast<std::size_t>(x)] & 0xFFFFFF) ? 0xFFFFFF : 0) : row[static_cast<std::size_t>(x)];
  }
  bitmap->writeSurfaceToBits();
  return static_cast<int>(count);
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header || header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == INT32_MIN) return 0;
  const int height = std::abs(header->biHeight);
  const HBITMAP bitmap = dcFromHandle(dc) ? CreateCompatibleBitmap(dc, header->biWidth, height)
                                          : CreateBitmap(header->biWidth, height, 1, 1, nullptr);
  if (bitmap && (init & CBM_INIT) && bits && info)
    SetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits, info, usage);
  return bitmap;
}

LONG GetBitmapBits(HBITMAP handle, LONG bufferSize, void* bits) {
  BitmapObject* bitmap = bitmapFromHandle(handle);
  if (!bitmap || !bits || bufferSize <= 0 || !bitmap->readBitsIntoSurface()) return 0;
  const Surface& surface = bitmap->surface;
  const long long rowBytes = surface.monochrome ? ((surface.width + 15) / 16) * 2 : surface.width * 4LL;
  const long long rows = std::min<long long>(surface.height, bufferSize / rowBytes);
  auto* out = static_cast<std::uint8_t*>(bits);
  for (long long y = 0; y < rows; ++y, out += rowBytes) {
    const std::uint32_t* row = surface.rowPtr(static_cast<int>(y));
    std::memset(out, 0, static_cast<std::size_t>(rowBytes));
    for (int x = 0; x < surface.width; ++x) {
      if (surface.monochrome) {
        if (row[x] & 0xFFFFFF) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
      } else {
        out[4 * x] = static_cast<std::uint8_t>(row[x]);
        out[4 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
        out[4 * x + 2] = static_cast<std::uint8_t>(row[x] >> 16);
      }
    }
  }
  return static_cast<LONG>(rows * rowBytes);
}

int StretchDIBits(HDC handle, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  DeviceContext* dc = dcFromHandle(handle);
  DibLayout layout;
  if (!dc || !bits || !readDibLayout(info, usage, handle, layout) || sourceWidth == 0 || sourceHeight == 0) return 0;
  // The source rectangle's top row in image (top-down) terms.
  const long long sourceTop = layout.bottomUp
                                  ? static_cast<long long>(layout.height) - sourceY - std::abs(sourceHeight)
                                  : static_cast<long long>(sourceY);
  const long long top = std::max(sourceTop, 0LL);
  const long long bottom = std::min<long long>(sourceTop + std::abs(sourceHeight), layout.height);
  Surface image;
  if (!decodeImageRows(layout, static_cast<const std::uint8_t*>(bits), 0, layout.height, top, bottom - top, image))
    return 0;
  BlitSource source;
  source.surface = &image;
  source.x = sourceX;
  source.y = sourceTop - top;
  source.width = sourceWidth;
  source.height = sourceHeight;
  const POINT a = logicalToDevice(*dc, POINT{x, y});
  const POINT b = logicalToDevice(
      *dc, POINT{clampCoord(static_cast<long long>(x) + width), clampCoord(static_cast<long long>(y) + height)});
  SurfaceAccess access(*dc, true);
  blit(*dc, a.x, a.y, static_cast<long long>(b.x) - a.x, static_cast<long long>(b.y) - a.y, source, ternaryCode(rop));
  return std::abs(sourceHeight);
}

int SetDIBitsToDevice(HDC handle, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  DeviceContext* dc = dcFromHandle(handle);
  DibLayout layout;
  if (!dc || !bits || !readDibLayout(info, usage, handle, layout) || width == 0 || height == 0) return 0;
  if (width > static_cast<DWORD>(kMaxSurfaceSide) || height > static_cast<DWORD>(kMaxSurfaceSide)) return 0;
  const long long w = width, h = height;
  const long long sourceTop = layout.bottomUp ? layout.height - sourceY - h : static_cast<long long>(sourceY);
  // Only the rows the band holds are drawn.
  const long long bandTop = layout.bottomUp ? layout.height - static_cast<long long>(startScan) - lines
                                            : static_cast<long long>(startScan);
  const long long top = std::max({sourceTop, 0LL, bandTop});
  const long long bottom = std::min<long long>({sourceTop + h, layout.height, bandTop + lines});
  Surface image;
  if (!decodeImageRows(layout, static_cast<const std::uint8_t*>(bits), startScan, lines, top, bottom - top, image))
    return 0;
  BlitSource source;
  source.surface = &image;
  source.x = sourceX;
  source.y = sourceTop - top;
  source.width = w;
  source.height = h;
  const POINT a = logicalToDevice(*dc, POINT{x, y});
  SurfaceAccess access(*dc, true);
  blit(*dc, a.x, a.y, w, h, source, ternaryCode(SRCCOPY));
  return static_cast<int>(lines);
}

}  // namespace win
