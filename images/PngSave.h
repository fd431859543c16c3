#pragma once
// Saving drawn pixels as PNG files through TPNGImage (tests and the render
// command). Files are written whole or not at all.
#include <string>

#include "images/TPNGImage.h"
#include "platform/win/gdi/Surface.h"

namespace images {

// The surface's pixels as a 24-bit image.
void SurfaceToPngImage(const win::Surface& Surface, TPNGImage& Image);
// Raises EPNGImageException for an empty surface, a stream error when the file cannot be written.
void SaveSurfaceAsPng(const win::Surface& Surface, const std::string& FileName);
// Saves any bitmap's pixels and palette; pixel formats above 8 bits are written as 24 bits.
void SaveBitmapAsPng(const gui::TBitmap& Bitmap, const std::string& FileName);

}  // namespace images
