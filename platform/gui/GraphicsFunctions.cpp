#include "platform/gui/GraphicsFunctions.h"

#include <cstdint>
#include <cstring>

#include "platform/gui/GdiCalls.h"

namespace gui {
namespace {

// The bitmap's depth as a DIB: its own, with 16 bpp kept as 24 (no 16-bit
// DIBs here); 0 for a handle that is not a bitmap.
int dibBitCount(win::HBITMAP bitmap, int& width, int& height) {
  win::BITMAP info{};
  if (!bitmap || win::GetObject(bitmap, sizeof info, &info) != static_cast<int>(sizeof info)) return 0;
  width = info.bmWidth;
  height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  const int bits = info.bmBitsPixel * info.bmPlanes;
  if (bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32) return bits;
  return 24;
}

}  // namespace

bool TransparentStretchBlt(win::HDC DstDC, int DstX, int DstY, int DstW, int DstH, win::HDC SrcDC, int SrcX,
                           int SrcY, int SrcW, int SrcH, win::HDC MaskDC, int MaskX, int MaskY) {
  const win::COLORREF oldText = win::SetTextColor(DstDC, 0x000000);
  const win::COLORREF oldBack = win::SetBkColor(DstDC, 0xFFFFFF);
  const bool ok =
      win::StretchBlt(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, win::SRCINVERT) &&
      win::StretchBlt(DstDC, DstX, DstY, DstW, DstH, MaskDC, MaskX, MaskY, SrcW, SrcH, win::SRCAND) &&
      win::StretchBlt(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, win::SRCINVERT);
  win::SetTextColor(DstDC, oldText);
  win::SetBkColor(DstDC, oldBack);
  return ok;
}

void GetDIBSizes(win::HBITMAP Bitmap, win::DWORD& InfoHeaderSize, win::DWORD& ImageSize) {
  InfoHeaderSize = 0;
  ImageSize = 0;
  int width = 0, height = 0;
  const int bits = dibBitCount(Bitmap, width, height);
  if (bits == 0) return;
  const std::int64_t image = win::dibRowBytes(width, bits) * height;
  if (image <= 0 || image > 0xFFFFFFFFll) return;
  InfoHeaderSize = sizeof(win::BITMAPINFOHEADER) + (bits <= 8 ? (4u << bits) : 0u);
  ImageSize = static_cast<win::DWORD>(image);
}

bool GetDIB(win::HBITMAP Bitmap, win::HPALETTE Palette, void* BitmapInfo, void* Bits) {
  int width = 0, height = 0;
  const int bits = dibBitCount(Bitmap, width, height);
  if (bits == 0 || !BitmapInfo || !Bits) return false;
  auto* info = static_cast<win::BITMAPINFO*>(BitmapInfo);
  std::memset(&info->bmiHeader, 0, sizeof info->bmiHeader);
  info->bmiHeader.biSize = sizeof(win::BITMAPINFOHEADER);
  info->bmiHeader.biWidth = width;
  info->bmiHeader.biHeight = height;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = static_cast<win::WORD>(bits);
  info->bmiHeader.biCompression = win::BI_RGB;
  const win::HDC dc = win::CreateCompatibleDC(0);
  if (!dc) return false;
  const win::HPALETTE oldPalette = Palette ? win::SelectPalette(dc, Palette, win::FALSE) : 0;
  if (Palette) win::RealizePalette(dc);
  const int rows = win::GetDIBits(dc, Bitmap, 0, static_cast<win::UINT>(height), Bits, info, win::DIB_RGB_COLORS);
  if (oldPalette) win::SelectPalette(dc, oldPalette, win::FALSE);
  win::DeleteDC(dc);
  return rows == height;
}

}  // namespace gui
