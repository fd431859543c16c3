#pragma once
// Drawing images for the document and the viewer: bitmaps stretched as
// device-independent bits (printing), masked images clipped to their opaque
// pixels, images through an inverted mask on screen, GDI+ images, tile
// bitmaps for backgrounds, and the size of any of the image kinds.
#include <memory>

#include "images/TGpImage.h"
#include "platform/gui/Colors.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TObject.h"
#include "platform/win/gdi/RegionObject.h"

namespace images {

// A TBitmap's, a TGpImage's, or a TGIFImage's (one frame's) size; anything
// else raises EGDIPlus "Not a TBitmap, TGifImage, TMetafile, or TGpImage".
int ImageWidthOf(gui::TObject* Image);
int ImageHeightOf(gui::TObject* Image);

// A copy of a TBitmap or GDI+ image for tiling (caller owns): a source one
// pixel wide (high) becomes a strip of Min(100, W) (Min(100, H)) pixels, at
// least one, so tiling never steps by 0. nullptr for an empty image.
std::unique_ptr<gui::TBitmap> MakeTileBitmap(gui::TObject* Image, int W, int H);

// Printing: the bitmap's bits drawn stretched into (X, Y, W, H) through the
// display palette. Errors leave the area undrawn.
void StretchBitmapAsDIB(gui::TCanvas& Canvas, int X, int Y, int W, int H, win::HBITMAP Bitmap);

// Printing a masked image, whole or the band FirstRow .. FirstRow +
// RowCount - 1 (cut to the image) stretched to W x H, clipped to the mask's
// opaque pixels under the canvas's scaling. Works on copies: the image,
// which caches share, is never changed. Errors leave the area undrawn.
void DrawMaskedImage(gui::TCanvas& Canvas, int X, int Y, int W, int H, gui::TBitmap* Image, gui::TBitmap* Mask,
                     int FirstRow, int RowCount);

// Screen: draws the image into (X, Y, W, H) leaving the target untouched
// under white mask pixels; nothing on a monochrome target.
void BlitImageThroughMask(win::HDC DC, gui::TBitmap* Image, gui::TBitmap* Mask, int X, int Y, int W, int H);

// The pixels whose colour differs from Color, as a region mapped through
// Transform (bitmap pixels to device units; nullptr for none); 0 when no
// pixel differs. Linear in the number of runs.
win::HRGN RegionFromMask(gui::TBitmap& Bitmap, const win::XFORM* Transform, gui::TColor Color);

// GDI+ images onto a DC; failures draw nothing.
void RenderGpImage(win::HDC DC, TGpImage& Image, int X, int Y);
void RenderGpImagePart(win::HDC DC, TGpImage& Image, int X, int Y, int SrcX, int SrcY, int SrcW, int SrcH);
void RenderGpImageStretched(win::HDC DC, TGpImage& Image, int X, int Y, int W, int H);
void RenderGpImageStretchedScaled(win::HDC DC, TGpImage& Image, int X, int Y, int W, int H, float ScaleX,
                                  float ScaleY);
void RenderGpImageScaled(win::HDC DC, TGpImage& Image, int X, int Y, float ScaleX, float ScaleY);
// The image over BackColor at its own size, then stretched onto the canvas
// into (X, Y, X + W, Y + H). Errors pass to the caller.
void RenderGpImageOnBackground(gui::TCanvas& Canvas, TGpImage& Image, int X, int Y, int W, int H,
                               gui::TColor BackColor);

}  // namespace images
