#include "LibPngReference.h"

#include <png.h>

#include <cstring>
#include <random>
#include <stdexcept>

namespace images::testing {
namespace {

int channelsOf(int colorType) {
  switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

void writeToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

struct ReadCursor {
  const std::string* bytes;
  std::size_t position;
};

void readFromString(png_structp png, png_bytep data, png_size_t length) {
  auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (cursor->position + length > cursor->bytes->size()) png_error(png, "read past end");
  std::memcpy(data, cursor->bytes->data() + cursor->position, length);
  cursor->position += length;
}

void quietWarning(png_structp, png_const_charp) {}

}  // namespace

std::size_t RowBytes(const ReferenceImage& image) {
  return (std::size_t{image.width} * channelsOf(image.colorType) * image.bitDepth + 7) / 8;
}

void FillPattern(ReferenceImage& image, unsigned patternKey) {
  std::mt19937 random(patternKey);
  image.rows.assign(image.height, std::vector<std::uint8_t>(RowBytes(image)));
  for (std::uint32_t y = 0; y < image.height; ++y) {
    auto& row = image.rows[y];
    for (std::size_t i = 0; i < row.size(); ++i) {
      // Smooth ramps with some noise and flat runs, so every filter has work.
      const unsigned ramp = static_cast<unsigned>(i * 7 + y * 3);
      row[i] = static_cast<std::uint8_t>((y % 5 == 0) ? 0x40 : (ramp + (random() % 4 == 0 ? random() : 0)));
    }
  }
  if (image.colorType == 3) {
    const std::size_t entries = std::size_t{1} << image.bitDepth;
    image.palette.resize(entries);
    for (std::size_t k = 0; k < entries; ++k)
      image.palette[k] = {static_cast<std::uint8_t>(k * 37 + 5), static_cast<std::uint8_t>(255 - k * 11),
                          static_cast<std::uint8_t>(k * k)};
  }
}

std::string WritePng(const ReferenceImage& image) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quietWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng could not write the image");
  }
  png_set_write_fn(png, &out, writeToString, nullptr);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, image.compressionLevel);
  if (image.filter >= 0) png_set_filter(png, 0, PNG_FILTER_NONE << image.filter);
  if (image.idatSize > 0) png_set_compression_buffer_size(png, image.idatSize);
  if (image.fileGamma) png_set_gAMA(png, info, *image.fileGamma);
  std::vector<png_color> palette;
  for (const auto& c : image.palette) palette.push_back({c.red, c.green, c.blue});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!image.paletteAlpha.empty())
    png_set_tRNS(png, info, image.paletteAlpha.data(), static_cast<int>(image.paletteAlpha.size()), nullptr);
  if (image.transparentRgb) {
    png_color_16 colour{};
    colour.red = (*image.transparentRgb)[0];
    colour.green = (*image.transparentRgb)[1];
    colour.blue = (*image.transparentRgb)[2];
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rowPointers;
  for (const auto& row : image.rows) rowPointers.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rowPointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

DecodedReference ReadPng(const std::string& bytes) {
  DecodedReference result;
  ReadCursor cursor{&bytes, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quietWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    result.ok = false;
    return result;
  }
  png_set_read_fn(png, &cursor, readFromString);
  png_read_info(png, info);
  result.width = png_get_image_width(png, info);
  result.height = png_get_image_height(png, info);
  result.bitDepth = png_get_bit_depth(png, info);
  result.colorType = png_get_color_type(png, info);
  png_colorp palette = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &palette, &entries))
    for (int i = 0; i < entries; ++i) result.palette.push_back({palette[i].red, palette[i].green, palette[i].blue});
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  result.rows.assign(result.height, std::vector<std::uint8_t>(rowBytes));
  std::vector<png_bytep> rowPointers;
  for (auto& row : result.rows) rowPointers.push_back(row.data());
  png_read_image(png, rowPointers.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  result.ok = true;
  return result;
}

unsigned SampleAt(const std::vector<std::uint8_t>& row, int bitDepth, std::size_t index) {
  if (bitDepth == 16) return row[2 * index];  // high byte
  if (bitDepth == 8) return row[index];
  const std::size_t bit = index * static_cast<std::size_t>(bitDepth);
  return (row[bit / 8] >> (8 - bitDepth - bit % 8)) & ((1u << bitDepth) - 1);
}

Rgb8Image ReadPngRgb8(const std::string& bytes) {
  Rgb8Image image;
  const DecodedReference raw = ReadPng(bytes);
  if (!raw.ok) return image;
  image.ok = true;
  image.width = raw.width;
  image.height = raw.height;
  const int channels = channelsOf(raw.colorType);
  const unsigned maxSample = raw.bitDepth >= 8 ? 255u : (1u << raw.bitDepth) - 1;
  image.rgb.reserve(std::size_t{raw.width} * raw.height * 3);
  for (const auto& row : raw.rows) {
    for (std::uint32_t x = 0; x < raw.width; ++x) {
      const std::size_t first = std::size_t{x} * channels;
      if (raw.colorType == 3) {
        const unsigned index = SampleAt(row, raw.bitDepth, x);
        const ReferenceColor c = index < raw.palette.size() ? raw.palette[index] : ReferenceColor{0, 0, 0};
        image.rgb.insert(image.rgb.end(), {c.red, c.green, c.blue});
      } else if (raw.colorType == 0 || raw.colorType == 4) {
        const auto grey = static_cast<std::uint8_t>(SampleAt(row, raw.bitDepth, first) * 255 / maxSample);
        image.rgb.insert(image.rgb.end(), {grey, grey, grey});
      } else {
        for (int c = 0; c < 3; ++c)
          image.rgb.push_back(static_cast<std::uint8_t>(SampleAt(row, raw.bitDepth, first + c)));
      }
    }
  }
  return image;
}

}  // namespace images::testing
