// Decoding and encoding a 2048 x 2048 truecolour image with TPNGImage and with
// the system PNG library, side by side on the same pixels and the same file.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "images/TChunkList.h"
#include "images/PngDecoder.h"
#include "images/TPNGImage.h"
#include "images/ZStreams.h"
#include "platform/win/gdi/BitmapObject.h"

#if PAGEWELL_HAVE_LIBPNG
#include <png.h>
#endif

namespace {

constexpr int kSize = 2048;

// Photo-like pixels: smooth shading, edges and some sensor noise, rows of RGB.
const std::vector<std::uint8_t>& samplePixels() {
  static const std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> rgb(std::size_t{kSize} * kSize * 3);
    std::mt19937 random(5);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const double shade = 0.5 + 0.5 * std::sin(x / 97.0) * std::cos(y / 61.0);
        const bool stripe = ((x / 128) + (y / 128)) % 3 == 0;
        std::uint8_t* p = &rgb[(std::size_t{static_cast<unsigned>(y)} * kSize + x) * 3];
        for (int c = 0; c < 3; ++c) {
          const double base = stripe ? 40.0 * c + 60 : 255.0 * shade * (0.6 + 0.2 * c);
          p[c] = static_cast<std::uint8_t>(std::clamp(base + static_cast<int>(random() % 5) - 2, 0.0, 255.0));
        }
      }
    }
    return rgb;
  }();
  return pixels;
}

void fillImage(images::TPNGImage& image) {
  image.SetPixelFormat(gui::pf24bit);
  image.SetSize(kSize, kSize);
  const auto& rgb = samplePixels();
  for (int y = 0; y < kSize; ++y) {
    auto* row = static_cast<std::uint8_t*>(image.ScanLine(y));
    const std::uint8_t* in = &rgb[std::size_t{static_cast<unsigned>(y)} * kSize * 3];
    for (int x = 0; x < kSize; ++x) {
      row[3 * x] = in[3 * x + 2];
      row[3 * x + 1] = in[3 * x + 1];
      row[3 * x + 2] = in[3 * x];
    }
  }
}

[[maybe_unused]] std::string saveWithOurs() {
  images::TPNGImage image;
  fillImage(image);
  gui::TMemoryStream out;
  image.SaveToStream(out);
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
}

#if PAGEWELL_HAVE_LIBPNG

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

std::string saveWithLibpng() {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, appendBytes, nullptr);
  png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, Z_DEFAULT_COMPRESSION);
  png_write_info(png, info);
  const auto& rgb = samplePixels();
  for (int y = 0; y < kSize; ++y)
    png_write_row(png, const_cast<png_bytep>(&rgb[std::size_t{static_cast<unsigned>(y)} * kSize * 3]));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct Cursor {
  const std::string* bytes;
  std::size_t at;
};

void readBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* cursor = static_cast<Cursor*>(png_get_io_ptr(png));
  if (cursor->at + length > cursor->bytes->size()) png_error(png, "short");
  std::memcpy(data, cursor->bytes->data() + cursor->at, length);
  cursor->at += length;
}

// A 24-bit bitmap made as TPNGImage makes its own: a zeroed DIB section.
void makeBitmap(gui::TBitmap& bitmap, int width, int height) {
  win::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(win::BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = win::BI_RGB;
  void* bits = nullptr;
  bitmap.SetHandle(win::CreateDIBSection(0, &info, win::DIB_RGB_COLORS, &bits, 0, 0));
}

// Where libpng puts the rows: Begin(width, height, rowBytes), then Row(y).
struct RowDestination {
  std::function<void(int width, int height, std::size_t rowBytes)> Begin;
  std::function<std::uint8_t*(int row)> Row;
};

// Decodes into BGR rows like ours does, so both produce the same pixels.
void loadWithLibpng(const std::string& file, const RowDestination& destination) {
  Cursor cursor{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return;
  }
  png_set_read_fn(png, &cursor, readBytes);
  png_read_info(png, info);
  png_set_bgr(png);
  png_read_update_info(png, info);
  const auto height = static_cast<int>(png_get_image_height(png, info));
  destination.Begin(static_cast<int>(png_get_image_width(png, info)), height, png_get_rowbytes(png, info));
  for (int y = 0; y < height; ++y) png_read_row(png, destination.Row(y), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

void loadWithLibpng(const std::string& file, std::vector<std::uint8_t>& pixels) {
  std::size_t stride = 0;
  loadWithLibpng(file, {[&](int, int height, std::size_t rowBytes) {
                          stride = rowBytes;
                          pixels.resize(rowBytes * static_cast<std::size_t>(height));
                        },
                        [&](int row) { return &pixels[stride * static_cast<std::size_t>(row)]; }});
}

// Into the rows of a TBitmap, the result the engine needs.
void loadWithLibpngIntoBitmap(const std::string& file, gui::TBitmap& bitmap) {
  loadWithLibpng(file, {[&](int width, int height, std::size_t) { makeBitmap(bitmap, width, height); },
                        [&](int row) { return static_cast<std::uint8_t*>(bitmap.ScanLine(row)); }});
}

#endif

const std::string& sampleFile() {
#if PAGEWELL_HAVE_LIBPNG
  static const std::string file = saveWithLibpng();
#else
  static const std::string file = saveWithOurs();
#endif
  return file;
}

void BM_DecodeTruecolour_TPNGImage(benchmark::State& state) {
  const std::string& file = sampleFile();
  for (auto _ : state) {
    gui::TMemoryStream in;
    in.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
    in.SetPosition(0);
    images::TPNGImage image;
    image.LoadFromStream(in);
    benchmark::DoNotOptimize(image.ScanLine(0));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSize} * kSize * 3);
}
BENCHMARK(BM_DecodeTruecolour_TPNGImage)->Unit(benchmark::kMillisecond);

// Rows into plain memory, for the codec alone.
class MemoryRows : public images::TPngRasterTarget {
 public:
  void Begin(const images::TPngRasterFormat& format) override {
    rowBytes_ = static_cast<std::size_t>(format.Width) * 3;
    pixels_ = std::vector<std::uint8_t>(rowBytes_ * static_cast<std::size_t>(format.Height));
  }
  std::uint8_t* ScanLine(int row) override { return pixels_.data() + rowBytes_ * static_cast<std::size_t>(row); }

 private:
  std::size_t rowBytes_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// The same steps as TPNGImage (chunks, CRCs, joined IDAT, inflate, unfilter,
// convert) without a bitmap to hold the result.
void BM_DecodeTruecolour_PngCodecIntoMemory(benchmark::State& state) {
  const std::string& file = sampleFile();
  for (auto _ : state) {
    gui::TMemoryStream in;
    in.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
    in.SetPosition(8);
    images::TChunkList chunks(nullptr);
    while (in.Position() < in.Size()) chunks.ReadChunk(in);
    const images::TPngHeader header = chunks.FirstOfClass<images::TChunkIHDR>()->Header();
    MemoryRows rows;
    images::TPngRasterFormat format;
    images::RaiseOnPngStatus(images::PngRasterFormatOf(header, nullptr, nullptr, format));
    rows.Begin(format);
    gui::TMemoryStream& data = chunks.FirstOfClass<images::TChunkIDAT>()->Data();
    data.SetPosition(0);
    images::TZDecompressionStream inflated(data);
    images::RaiseOnPngStatus(images::DecodePngImageData(header, nullptr, inflated, rows));
    benchmark::DoNotOptimize(rows.ScanLine(0));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSize} * kSize * 3);
}
BENCHMARK(BM_DecodeTruecolour_PngCodecIntoMemory)->Unit(benchmark::kMillisecond);

void BM_EncodeTruecolour_TPNGImage(benchmark::State& state) {
  images::TPNGImage image;
  fillImage(image);
  std::size_t size = 0;
  for (auto _ : state) {
    gui::TMemoryStream out;
    image.SaveToStream(out);
    size = static_cast<std::size_t>(out.Size());
  }
  state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_EncodeTruecolour_TPNGImage)->Unit(benchmark::kMillisecond);

#if PAGEWELL_HAVE_LIBPNG

void BM_DecodeTruecolour_Libpng(benchmark::State& state) {
  const std::string& file = sampleFile();
  for (auto _ : state) {
    // The same copy into memory and the same fresh pixel buffer that ours makes.
    std::string copy = file;
    std::vector<std::uint8_t> pixels;
    loadWithLibpng(copy, pixels);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSize} * kSize * 3);
}
BENCHMARK(BM_DecodeTruecolour_Libpng)->Unit(benchmark::kMillisecond);

void BM_DecodeTruecolour_LibpngIntoTBitmap(benchmark::State& state) {
  const std::string& file = sampleFile();
  for (auto _ : state) {
    std::string copy = file;
    gui::TBitmap bitmap;
    loadWithLibpngIntoBitmap(copy, bitmap);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSize} * kSize * 3);
}
BENCHMARK(BM_DecodeTruecolour_LibpngIntoTBitmap)->Unit(benchmark::kMillisecond);

void BM_EncodeTruecolour_Libpng(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) size = saveWithLibpng().size();
  state.counters["file_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_EncodeTruecolour_Libpng)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
