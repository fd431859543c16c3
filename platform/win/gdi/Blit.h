#pragma once
// Block transfers: PatBlt, BitBlt and StretchBlt with ternary raster
// operations. Between monochrome and colour surfaces GDI's rule applies: a
// monochrome source paints its black pixels in the destination DC's text
// colour and its white pixels in its background colour; a colour source on a
// monochrome destination gives white where it equals the source DC's
// background colour and black elsewhere.
#include "platform/win/Types.h"

namespace win {

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Width and height may be negative (the rectangle extends left or up).
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
// Opposite signs of the destination and source sizes mirror the image.
// Shrinking combines source pixels by the destination's stretch mode:
// BLACKONWHITE ANDs them, WHITEONBLACK ORs them, HALFTONE averages them,
// COLORONCOLOR keeps one.
BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);

}  // namespace win
