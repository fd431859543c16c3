#include "images/PngSave.h"

#include "images/EPNGImageException.h"

namespace images {

void SurfaceToPngImage(const win::Surface& Surface, TPNGImage& Image) {
  Image.SetSize(0, 0);
  Image.SetPixelFormat(gui::pf24bit);
  Image.SetSize(Surface.width, Surface.height);
  for (int y = 0; y < Surface.height; ++y) {
    const std::uint32_t* in = Surface.rowPtr(y);
    auto* out = static_cast<std::uint8_t*>(Image.ScanLine(y));
    for (int x = 0; x < Surface.width; ++x, out += 3) {
      const std::uint32_t pixel = in[x];  // 0x00RRGGBB
      out[0] = static_cast<std::uint8_t>(pixel);
      out[1] = static_cast<std::uint8_t>(pixel >> 8);
      out[2] = static_cast<std::uint8_t>(pixel >> 16);
    }
  }
}

void SaveSurfaceAsPng(const win::Surface& Surface, const std::string& FileName) {
  // A PNG image has at least one pixel.
  if (Surface.empty()) RaisePngError(EPngNoImageData);
  TPNGImage image;
  SurfaceToPngImage(Surface, image);
  image.SaveToFile(FileName);
}

void SaveBitmapAsPng(const gui::TBitmap& Bitmap, const std::string& FileName) {
  if (Bitmap.Empty()) RaisePngError(EPngNoImageData);
  TPNGImage image;
  image.Assign(&Bitmap);
  image.SaveToFile(FileName);
}

}  // namespace images
