#pragma once
// Writes a bitmap's rows as PNG image data, not interlaced: per row a filter
// byte and the filtered row. Palette rows (1, 4, 8 bits) go as stored; any
// other bitmap must be 24-bit and goes as red, green, blue.
#include "images/PngFilters.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"

namespace images {

void EncodePngImageData(gui::TBitmap& Bitmap, TEncodeFilterSet Filters, gui::TStream& Out);

}  // namespace images
