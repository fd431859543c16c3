#pragma once
// A GDI+ drawing surface on a device context or on a GDI+ image.
//
// On a DC, each drawing call wraps the DC's own pixels (the part it will
// touch) in a GDI+ bitmap, draws, and lets it go: GDI+ cannot take our DCs
// directly. The DC's mapping, origin and clip apply; drawing never spills
// outside the destination rectangle (GDI+'s filtering would), and the alpha
// byte GDI+ writes is cleared again, since surfaces hold 0x00RRGGBB.
#include "images/GdiPlusLibrary.h"
#include "images/TGpImage.h"
#include "platform/win/Types.h"

namespace images {

class TGpGraphics {
 public:
  // Both raise EGDIPlus "Can't Create Graphics" when GDI+ is not running or
  // the target has no pixels to draw on.
  explicit TGpGraphics(win::HDC DC);
  explicit TGpGraphics(TGpImage& Image);
  ~TGpGraphics();
  TGpGraphics(const TGpGraphics&) = delete;
  TGpGraphics& operator=(const TGpGraphics&) = delete;

  // At the image's own size.
  void DrawImage(TGpImage& Image, int X, int Y);
  // Sources of 10 pixels or fewer along a side that grows are enlarged
  // nearest-neighbour, so that their edges stay sharp.
  void DrawImageStretched(TGpImage& Image, int X, int Y, int W, int H);
  // The source rectangle at (X, Y), unscaled.
  void DrawImagePart(TGpImage& Image, int X, int Y, int SrcX, int SrcY, int SrcW, int SrcH);
  void DrawImageRectRect(TGpImage& Image, int DstX, int DstY, int DstW, int DstH, int SrcX, int SrcY, int SrcW,
                         int SrcH);
  // Fills what the target may paint with Color (its alpha is dropped on a DC).
  void Clear(gdiplus::ARGB Color);
  // Scales what is drawn afterwards (printing).
  void ScaleTransform(float ScaleX, float ScaleY);

 private:
  struct Placement {
    double x, y, w, h;        // destination, before the scale transform
    int sx, sy, sw, sh;       // source rectangle
    bool nearest;
  };
  void Draw(TGpImage& Image, const Placement& where);
  void DrawOnDC(gdiplus::GpImage* image, const Placement& where);
  void DrawOnImage(gdiplus::GpImage* image, const Placement& where);
  void DrawNearestOnDC(TGpImage& Image, int X, int Y, int W, int H);

  win::HDC FDC = 0;
  gdiplus::GpGraphics* FImageGraphics = nullptr;
  double FScaleX = 1.0;
  double FScaleY = 1.0;
};

}  // namespace images
