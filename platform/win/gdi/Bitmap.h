#pragma once
// Bitmaps: device-dependent bitmaps (32-bit or monochrome surfaces) and DIB
// sections. A 32 bpp DIB section's bits are its surface. Lower depths
// (1, 4, 8, 24 bpp) keep the caller's bits as the master copy and a 32-bit
// shadow surface for drawing: the bits are read into the shadow when the
// bitmap is selected into a DC or read while not selected, and the shadow is
// written back to the bits when the bitmap leaves its DC, on GdiFlush and
// before GetDIBits. So while such a bitmap is selected, call GdiFlush before
// reading its bits directly.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/Surface.h"

namespace win {

struct DeviceContext;

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 4;

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  void* bmBits;
};

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // negative: rows stored top-down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];  // colour table follows the header
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(GdiObjectKind::Bitmap) {}
  int describe(int bufferSize, void* buffer) const override;

  Surface surface;
  int bitsPixel = 32;                // what GetObject reports
  bool dib = false;
  BITMAPINFOHEADER header{};         // DIB sections: as created (biSizeImage filled in)
  std::vector<RGBQUAD> colorTable;   // DIB sections of 8 bpp or fewer
  std::unique_ptr<std::uint8_t[]> bits;  // low-depth DIB sections: the caller's bits
  std::ptrdiff_t bitsStride = 0;     // bytes per row of `bits`
  DeviceContext* selectedInto = nullptr;

  bool hasShadow() const { return dib && bits != nullptr; }
  void readBitsIntoSurface();        // no-op unless hasShadow()
  void writeSurfaceToBits();         // no-op unless hasShadow()
};

BitmapObject* bitmapFromHandle(HBITMAP bitmap);

// Bytes per row of a DIB: rows are padded to 32 bits.
std::int64_t dibRowBytes(std::int64_t width, int bitCount);

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 1 bpp (monochrome) or 32 bpp; `bits` (optional) holds rows padded to 16 bits.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// Writes back the shadows of all DIB sections currently selected into DCs.
BOOL GdiFlush();

// Reads rows [start, start + lines) of the bitmap (counted from the bottom for
// bottom-up formats) as a DIB in `info`'s format (1, 4, 8, 24 or 32 bpp).
// With null `bits`, fills in the header (and a 32 bpp bitmap's size) only.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
LONG GetBitmapBits(HBITMAP bitmap, LONG bufferSize, void* bits);

}  // namespace win
