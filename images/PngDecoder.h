#pragma once
// Decodes inflated PNG image data (filter byte + row, per row or Adam7 pass row)
// into bitmap rows: palette indices of 1, 4 or 8 bits, or 24-bit blue-green-red.
#include <cstdint>
#include <vector>

#include "images/PngFormat.h"
#include "platform/gui/TStream.h"

namespace images {

struct TPngColor {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  bool operator==(const TPngColor&) const = default;
};

// What the bitmap looks like: its size, bits per pixel (1, 4, 8 or 24) and, for
// 1 to 8 bits, its palette (2^bits entries).
struct TPngRasterFormat {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;
  std::vector<TPngColor> Palette;
};

// Where decoded rows go. Begin sizes the bitmap with every row zeroed; ScanLine
// gives a row of at least (Width x BitsPerPixel + 7) / 8 bytes.
class TPngRasterTarget {
 public:
  virtual ~TPngRasterTarget() = default;
  virtual void Begin(const TPngRasterFormat& format) = 0;
  virtual std::uint8_t* ScanLine(int row) = 0;
  // Progress: after each row of a plain image, after each Adam7 pass (0..6).
  virtual void RowDone(int /*row*/) {}
  virtual void PassDone(int /*pass*/) {}
};

// What the decoder finds wrong with an image. RaiseOnPngStatus is the one
// place a status becomes EPNGImageException, with its message text.
enum class TPngStatus { Ok, UnknownColorType, CorruptedData, NoPalette, UnknownFilter, UnknownInterlace };

// Raises EPNGImageException for any status but Ok.
void RaiseOnPngStatus(TPngStatus status);

// The bitmap format of an image into `format`: UnknownColorType, NoPalette for
// a colour type 3 image without `palette`, CorruptedData for a header outside
// the format or the size limit. `gamma` (256 entries or nullptr) applies to the
// grey and PLTE palettes.
TPngStatus PngRasterFormatOf(const TPngHeader& header, const std::vector<TPngColor>* palette,
                             const std::uint8_t* gamma, TPngRasterFormat& format);

// Reads the image data from `inflated` into `target`, which was Begun with
// the image's format. `gamma` also applies to RGB samples. Data that ends
// early leaves the rest of the image zero. UnknownFilter for a filter byte
// above 4 (the rows before it stay), UnknownInterlace for an unknown
// interlace method; zlib errors pass through as exceptions.
TPngStatus DecodePngImageData(const TPngHeader& header, const std::uint8_t* gamma, gui::TStream& inflated,
                              TPngRasterTarget& target);

}  // namespace images
