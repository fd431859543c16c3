#pragma once
// Bitmaps: device-dependent bitmaps (32-bit or monochrome surfaces) and DIB
// sections. A 32 bpp DIB section's bits are its surface. Lower depths
// (1, 4, 8, 24 bpp) keep the caller's bits as the master copy and a 32-bit
// shadow surface to draw on: a drawing call brings the shadow in step with
// the bits first and writes what it drew back (see SurfaceAccess). The
// shadow is made by the first call that needs it; until then the surface has
// its size but no pixels.
// The shadow is converted again only after the bits may have changed behind
// the drawing calls' back: after GdiFlush, and after the bits' address was
// handed out by GetObject (TBitmap::ScanLine goes through both). A caller
// that keeps the address from CreateDIBSection and writes through it after a
// drawing call must call GdiFlush before the next one, so that a picture
// that does not change is not converted again on every paint.
#include <cstdint>
#include <cstdlib>
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

// Frees a DIB section's bits. Large bits are mapped (see CreateDIBSection):
// `mapped` is then their mapping's length, else 0 for heap memory.
struct DibBitsDeleter {
  std::size_t mapped = 0;
  void operator()(std::uint8_t* bits) const;
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(GdiObjectKind::Bitmap) {}
  int describe(int bufferSize, void* buffer) const override;

  Surface surface;
  int bitsPixel = 32;                // what GetObject reports
  bool dib = false;
  BITMAPINFOHEADER header{};         // DIB sections: as created (biSizeImage filled in)
  std::vector<RGBQUAD> colorTable;   // DIB sections of 8 bpp or fewer
  using FreeBits = DibBitsDeleter;
  std::unique_ptr<std::uint8_t[], FreeBits> bits;  // low-depth DIB sections: the caller's bits
  std::ptrdiff_t bitsStride = 0;     // bytes per row of `bits`
  DeviceContext* selectedInto = nullptr;
  // The bits epoch (see GdiFlush) at which shadow and bits last agreed; 0
  // when they may differ.
  mutable std::uint64_t shadowEpoch = 0;

  bool hasShadow() const { return dib && bits != nullptr; }
  // Brings the shadow in step with the bits, making it first if need be.
  // False when it cannot be made: the surface then stays without pixels.
  bool readBitsIntoSurface();        // true unless hasShadow()
  void writeSurfaceToBits();         // no-op unless hasShadow() and made
};

BitmapObject* bitmapFromHandle(HBITMAP bitmap);

// Bytes per row of a DIB: rows are padded to 32 bits.
std::int64_t dibRowBytes(std::int64_t width, int bitCount);

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// The same without clearing a colour bitmap's pixels, for a caller that
// paints every pixel before any is read (an off-screen buffer whose first
// step fills it): their values are undefined until then.
HBITMAP createUnfilledCompatibleBitmap(HDC dc, int width, int height);
// 1 bpp (monochrome) or 32 bpp; `bits` (optional) holds rows padded to 16 bits.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// Drawing is never deferred. Marks the bits of every DIB section as possibly
// written by the caller, so each shadow is refreshed once on its next use.
// Always TRUE.
BOOL GdiFlush();

// Reads rows [start, start + lines) of the bitmap (counted from the bottom for
// bottom-up formats) as a DIB in `info`'s format (1, 4, 8, 24 or 32 bpp).
// With null `bits`, fills in the header (and a 32 bpp bitmap's size) only.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
// A DDB's pixels as rows of 4 bytes per pixel (blue, green, red, 0), or of
// 1 bit per pixel padded to 16 bits for monochrome bitmaps; top row first.
LONG GetBitmapBits(HBITMAP bitmap, LONG bufferSize, void* bits);

// Draws (part of) a DIB held in caller memory. Source coordinates are DIB
// coordinates: for bottom-up DIBs y counts from the bottom row. Returns the
// number of rows drawn, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// Copies without stretching; `bits` holds `lines` rows starting at DIB row `startScan`.
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

}  // namespace win
