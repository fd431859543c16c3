#pragma once
// Writes a bitmap's rows as PNG image data, not interlaced: per row a filter
// byte and the filtered row. Palette rows go as stored; 24- and 32-bit rows go
// as red, green, blue.
#include "images/PngBitmap.h"
#include "images/PngFilters.h"
#include "platform/gui/Streams.h"

namespace images {

void EncodePngImageData(const PngBitmap& Bitmap, TEncodeFilterSet Filters, gui::TStream& Out);

}  // namespace images
