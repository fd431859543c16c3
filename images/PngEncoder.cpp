#include "images/PngEncoder.h"

#include <algorithm>
#include <vector>

namespace images {
namespace {

void rgbRow(const std::uint8_t* bitmapRow, int width, std::size_t pixelBytes, std::uint8_t* out) {
  for (int x = 0; x < width; ++x, bitmapRow += pixelBytes, out += 3) {
    out[0] = bitmapRow[2];
    out[1] = bitmapRow[1];
    out[2] = bitmapRow[0];
  }
}

}  // namespace

void EncodePngImageData(const PngBitmap& Bitmap, TEncodeFilterSet Filters, gui::TStream& Out) {
  const int width = Bitmap.Width();
  const bool paletted = Bitmap.IsPaletted();
  const auto bits = static_cast<std::size_t>(Bitmap.BitsPerPixel());
  const std::size_t rowBytes = paletted ? (static_cast<std::size_t>(width) * bits + 7) / 8
                                        : static_cast<std::size_t>(width) * 3;
  const std::size_t distance = paletted ? 1 : 3;
  std::vector<std::uint8_t> current(rowBytes), previous(rowBytes, 0), filtered(rowBytes + 1), scratch(rowBytes);
  for (int y = 0; y < Bitmap.Height(); ++y) {
    if (paletted) std::copy_n(Bitmap.ScanLine(y), rowBytes, current.begin());
    else rgbRow(Bitmap.ScanLine(y), width, bits / 8, current.data());
    filtered[0] = ChooseAndFilterRow(Filters, current.data(), previous.data(), filtered.data() + 1, scratch.data(),
                                     rowBytes, distance);
    Out.WriteBuffer(filtered.data(), static_cast<std::int64_t>(filtered.size()));
    current.swap(previous);
  }
}

}  // namespace images
