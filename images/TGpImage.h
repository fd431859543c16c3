#pragma once
// GDI+ images: one loaded from a file (optionally deleted with the image, as
// the loader's temporary files are) or made blank, and the conversion of
// one into a plain bitmap. Only made while GdiPlusAvailable.
#include <cstdint>
#include <memory>
#include <string>

#include "images/GdiPlusLibrary.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TObject.h"

namespace images {

class TGpImage : public gui::TObject {
 public:
  // Raises EGDIPlus "Image file <name> not found." for a missing file and
  // "Can't load image file <name>." for one GDI+ cannot read, or whose
  // declared size is above the platform's bitmap limit.
  TGpImage(const std::string& FileName, bool DeleteOnFree);
  ~TGpImage() override;

  // Asked once, then cached.
  int Width();
  int Height();
  // 0xAARRGGBB; 0 when GDI+ refuses.
  gdiplus::ARGB GetPixel(int X, int Y);
  void SetPixel(int X, int Y, gdiplus::ARGB Color);

  gdiplus::GpImage* Handle() const { return FHandle; }

 protected:
  TGpImage() = default;
  void Adopt(gdiplus::GpImage* handle);

  gdiplus::GpImage* FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  std::string FDeleteFile;
};

// A GDI+ bitmap: made blank, or a PNG file the loader reads directly.
class TGpBitmap : public TGpImage {
 public:
  TGpBitmap(const std::string& FileName, bool DeleteOnFree) : TGpImage(FileName, DeleteOnFree) {}
  // 32-bit ARGB, fully transparent; raises EGDIPlus "Can't create bitmap".
  static std::unique_ptr<TGpBitmap> CreateBlank(int W, int H);

 private:
  TGpBitmap() = default;
};

// The image drawn over white, as a plain bitmap the caller owns.
std::unique_ptr<gui::TBitmap> GpImageToBitmap(TGpImage& Image);

}  // namespace images
