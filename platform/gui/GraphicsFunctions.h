#pragma once
// The class library's free drawing helpers that image code calls: a masked
// stretch blit, and a bitmap's pixels as a device-independent bitmap.
#include "platform/win/Types.h"

namespace gui {

// Draws the source rectangle stretched into the destination, leaving the
// destination unchanged where the monochrome mask (same size as the source
// rectangle, at MaskX, MaskY) is white. The picture is XOR-ed in, the masked
// part cut back with the mask, and the picture XOR-ed out there again, so
// the source must be black under white mask pixels for them to stay
// untouched, as the masks of this library are made.
bool TransparentStretchBlt(win::HDC DstDC, int DstX, int DstY, int DstW, int DstH, win::HDC SrcDC, int SrcX,
                           int SrcY, int SrcW, int SrcH, win::HDC MaskDC, int MaskX, int MaskY);

// The sizes GetDIB needs for a bitmap at its own depth (1, 4, 8, 24 or 32):
// the header with its colour table, and the bits. Both 0 for an invalid
// bitmap or one whose bits would not fit in 32 bits.
void GetDIBSizes(win::HBITMAP Bitmap, win::DWORD& InfoHeaderSize, win::DWORD& ImageSize);
// Fills BitmapInfo (GetDIBSizes' InfoHeaderSize bytes) and Bits (ImageSize
// bytes) with the bitmap as a bottom-up DIB, colours matched through
// Palette (0 for none). False on failure.
bool GetDIB(win::HBITMAP Bitmap, win::HPALETTE Palette, void* BitmapInfo, void* Bits);

}  // namespace gui
