#pragma once
// The system PNG library as a reference in tests: it makes PNG files of any
// kind and decodes files into raw samples.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace images::testing {

struct ReferenceColor {
  std::uint8_t red, green, blue;
};

// What to write. Samples are packed as PNG stores them (rows of RowBytes).
struct ReferenceImage {
  std::uint32_t width = 1, height = 1;
  int bitDepth = 8;
  int colorType = 2;
  bool interlaced = false;
  std::vector<std::vector<std::uint8_t>> rows;  // raw packed rows
  std::vector<ReferenceColor> palette;
  std::vector<std::uint8_t> paletteAlpha;          // tRNS for palette images
  std::optional<std::array<std::uint16_t, 3>> transparentRgb;  // tRNS for RGB images
  std::optional<double> fileGamma;                 // gAMA
  int filter = -1;                                 // one filter type 0-4 for every row, -1: the library's choice
  std::size_t idatSize = 0;                        // split IDAT into chunks of this size (0: library default)
  int compressionLevel = 6;
};

std::size_t RowBytes(const ReferenceImage& image);
// Fills the rows with a pattern keyed by `patternKey` that uses every sample value range.
void FillPattern(ReferenceImage& image, unsigned patternKey);
std::string WritePng(const ReferenceImage& image);

// A decoded file: raw rows as stored (no transforms, interlacing undone).
struct DecodedReference {
  bool ok = false;
  std::uint32_t width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  std::vector<std::vector<std::uint8_t>> rows;
  std::vector<ReferenceColor> palette;
};
DecodedReference ReadPng(const std::string& bytes);

// The same, expanded to 8-bit RGB triples per pixel (16-bit samples: high byte),
// no gamma, alpha dropped.
struct Rgb8Image {
  bool ok = false;
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};
Rgb8Image ReadPngRgb8(const std::string& bytes);

// Reads the sample of pixel x in a packed raw row.
unsigned SampleAt(const std::vector<std::uint8_t>& row, int bitDepth, std::size_t index);

}  // namespace images::testing
