#include "images/PngEncoder.h"

#include <algorithm>
#include <vector>

#include "images/PngPixels.h"

namespace images {
namespace {

void rgbRow(const std::uint8_t* bitmapRow, int width, std::uint8_t* out) {
  for (int x = 0; x < width; ++x, bitmapRow += 3, out += 3) {
    out[0] = bitmapRow[2];
    out[1] = bitmapRow[1];
    out[2] = bitmapRow[0];
  }
}

}  // namespace

void EncodePngImageData(gui::TBitmap& Bitmap, TEncodeFilterSet Filters, gui::TStream& Out) {
  const int width = Bitmap.Width();
  const auto paletteBits = static_cast<std::size_t>(PaletteBitsOf(Bitmap.PixelFormat()));
  const std::size_t rowBytes = paletteBits > 0 ? (static_cast<std::size_t>(width) * paletteBits + 7) / 8
                                               : static_cast<std::size_t>(width) * 3;
  const std::size_t distance = paletteBits > 0 ? 1 : 3;
  std::vector<std::uint8_t> current(rowBytes), previous(rowBytes, 0), filtered(rowBytes + 1), scratch(rowBytes);
  for (int y = 0; y < Bitmap.Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(Bitmap.ScanLine(y));
    if (paletteBits > 0) std::copy_n(row, rowBytes, current.begin());
    else rgbRow(row, width, current.data());
    filtered[0] = ChooseAndFilterRow(Filters, current.data(), previous.data(), filtered.data() + 1, scratch.data(),
                                     rowBytes, distance);
    Out.WriteBuffer(filtered.data(), static_cast<std::int64_t>(filtered.size()));
    current.swap(previous);
  }
}

}  // namespace images
