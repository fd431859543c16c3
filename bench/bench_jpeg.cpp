// Loading a 12-megapixel photo (4000 x 3000, 4:2:0, quality 85): our JPEG
// picture into a bitmap, beside libjpeg's own decode into plain memory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "platform/gui/TBitmap.h"
#include "platform/gui/TJPEGImage.h"
#include "platform/gui/TStream.h"

// After our headers: libjpeg defines TRUE and FALSE as macros.
extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Photo-like pixels (smooth shading, edges, sensor noise) compressed once.
const std::vector<std::uint8_t>& photo() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * 3);
    std::mt19937 random(12);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      const int y = static_cast<int>(info.next_scanline);
      for (int x = 0; x < kWidth; ++x) {
        const double shade = 0.5 + 0.5 * std::sin(x / 143.0) * std::cos(y / 97.0);
        const bool edge = ((x / 300) + (y / 200)) % 4 == 0;
        for (int c = 0; c < 3; ++c) {
          const double base = edge ? 50.0 * c + 40 : 255.0 * shade * (0.5 + 0.2 * c);
          row[3 * x + c] = static_cast<std::uint8_t>(std::fmin(255, std::fmax(0, base + random() % 9 - 4.0)));
        }
      }
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> file(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return file;
  }();
  return bytes;
}

// libjpeg alone, RGB rows into memory. Argument 0: one buffer reused for
// every decode (warm, never faulted again: the strict reference); 1: fresh
// memory per decode, as loading an image must get.
void BM_LibjpegDecodeToMemory(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = photo();
  const std::size_t bytes = static_cast<std::size_t>(kWidth) * kHeight * 3;
  std::unique_ptr<std::uint8_t[]> reused(new std::uint8_t[bytes]);
  for (auto _ : state) {
    std::unique_ptr<std::uint8_t[]> fresh(state.range(0) ? new std::uint8_t[bytes] : nullptr);
    std::uint8_t* pixels = fresh ? fresh.get() : reused.get();
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[1] = {pixels + static_cast<std::size_t>(info.output_scanline) * kWidth * 3};
      jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels);
  }
}
BENCHMARK(BM_LibjpegDecodeToMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the image loader does: the stream into a JPEG picture, then the
// decoded picture into the bitmap it keeps.
void BM_TJPEGImageLoadIntoBitmap(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = photo();
  gui::TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  for (auto _ : state) {
    stream.SetPosition(0);
    gui::TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    jpeg.SetPixelFormat(gui::jf24Bit);
    gui::TBitmap bitmap;
    bitmap.Assign(&jpeg);
    benchmark::DoNotOptimize(bitmap.Width());
  }
}
BENCHMARK(BM_TJPEGImageLoadIntoBitmap)->Unit(benchmark::kMillisecond);

}  // namespace
