// Decoding a large still GIF and a large animated GIF with our decoder and
// with giflib, side by side on the same files. The files are made once by
// giflib's encoder from deterministic pictures. Our full load (decoding plus
// composing the frame strip) is measured as well.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "images/TGIFImage.h"
#include "images/TGif.h"
#include "platform/gui/TStream.h"

#if PAGEWELL_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

constexpr int kStillWidth = 2000;
constexpr int kStillHeight = 1500;
constexpr int kFrameWidth = 480;
constexpr int kFrameHeight = 270;
constexpr int kFrames = 100;

// A picture's colour indices: smooth bands with a light dither, as GIFs of
// rendered or photographic pictures have them.
std::vector<std::uint8_t> pictureIndices(int width, int height, int phase, std::mt19937& random) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double v = 0.5 + 0.25 * std::sin((x + phase * 7) / 53.0) + 0.25 * std::cos((y - phase * 3) / 37.0);
      int index = static_cast<int>(v * 250);
      if (random() % 8 == 0) index += 1;
      const bool block = ((x + phase * 4) / 60 + y / 60) % 5 == 0;
      pixels[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(block ? 7 : std::clamp(index, 0, 254));
    }
  return pixels;
}

#if PAGEWELL_HAVE_GIFLIB
int appendOutput(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
  return count;
}

struct Frame {
  int left, top, width, height;
  std::vector<std::uint8_t> pixels;
  int transparent;
};

std::string encodeGif(int width, int height, const std::vector<Frame>& frames, bool loop) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, appendOutput, &error);
  EGifSetGifVersion(gif, true);
  GifColorType colors[256];
  for (int i = 0; i < 256; ++i)
    colors[i] = GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>((i * 7) & 255),
                             static_cast<GifByteType>(255 - i)};
  ColorMapObject* map = GifMakeMapObject(256, colors);
  EGifPutScreenDesc(gif, width, height, 8, 0, map);
  if (loop) {
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, 3, "\x01\x00\x00");
    EGifPutExtensionTrailer(gif);
  }
  for (const Frame& frame : frames) {
    if (frames.size() > 1) {
      GraphicsControlBlock control{DISPOSE_DO_NOT, false, 4, frame.transparent};
      GifByteType extension[4];
      EGifGCBToExtension(&control, extension);
      EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, nullptr);
    for (int y = 0; y < frame.height; ++y)
      EGifPutLine(gif, const_cast<GifPixelType*>(frame.pixels.data()) + static_cast<std::size_t>(y) * frame.width,
                  frame.width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

const std::string& stillGif() {
  static const std::string file = [] {
    std::mt19937 random(11);
    return encodeGif(kStillWidth, kStillHeight,
                     {Frame{0, 0, kStillWidth, kStillHeight, pictureIndices(kStillWidth, kStillHeight, 0, random), -1}},
                     false);
  }();
  return file;
}

// A full first frame, then frames that redraw a moving half-size area with
// some transparent pixels.
const std::string& animatedGif() {
  static const std::string file = [] {
    std::mt19937 random(12);
    std::vector<Frame> frames;
    frames.push_back(Frame{0, 0, kFrameWidth, kFrameHeight, pictureIndices(kFrameWidth, kFrameHeight, 0, random), -1});
    for (int k = 1; k < kFrames; ++k) {
      const int width = kFrameWidth / 2, height = kFrameHeight / 2;
      std::vector<std::uint8_t> pixels = pictureIndices(width, height, k, random);
      for (std::size_t i = 0; i < pixels.size(); i += 97) pixels[i] = 255;
      frames.push_back(Frame{(k * 13) % (kFrameWidth - width), (k * 7) % (kFrameHeight - height), width, height,
                             std::move(pixels), 255});
    }
    return encodeGif(kFrameWidth, kFrameHeight, frames, true);
  }();
  return file;
}

struct MemorySource {
  const std::string* bytes;
  std::size_t position;
};

int readMemory(GifFileType* gif, GifByteType* buffer, int count) {
  auto* source = static_cast<MemorySource*>(gif->UserData);
  const std::size_t n = std::min(static_cast<std::size_t>(count), source->bytes->size() - source->position);
  std::memcpy(buffer, source->bytes->data() + source->position, n);
  source->position += n;
  return static_cast<int>(n);
}

void decodeWithGiflib(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    MemorySource source{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib refused the file");
    benchmark::DoNotOptimize(gif->SavedImages);
    DGifCloseFile(gif, &error);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

void decodeWithTGif(benchmark::State& state, const std::string& file) {
  gui::TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  for (auto _ : state) {
    images::TGif gif;
    gif.LoadGifData(stream);
    benchmark::DoNotOptimize(gif.ImageCount());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

void loadGifImage(benchmark::State& state, const std::string& file) {
  gui::TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
  for (auto _ : state) {
    bool nonAnimated = false;
    std::unique_ptr<images::TGIFImage> image = images::GifImageFromStream(nonAnimated, stream);
    if (!image) state.SkipWithError("the file did not load");
    benchmark::DoNotOptimize(image.get());
  }
}

void BM_GifStillDecodeOurs(benchmark::State& state) { decodeWithTGif(state, stillGif()); }
void BM_GifStillDecodeGiflib(benchmark::State& state) { decodeWithGiflib(state, stillGif()); }
void BM_GifAnimatedDecodeOurs(benchmark::State& state) { decodeWithTGif(state, animatedGif()); }
void BM_GifAnimatedDecodeGiflib(benchmark::State& state) { decodeWithGiflib(state, animatedGif()); }
void BM_GifStillLoadImage(benchmark::State& state) { loadGifImage(state, stillGif()); }
void BM_GifAnimatedLoadImage(benchmark::State& state) { loadGifImage(state, animatedGif()); }

BENCHMARK(BM_GifStillDecodeOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifStillDecodeGiflib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifAnimatedDecodeOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifAnimatedDecodeGiflib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifStillLoadImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifAnimatedLoadImage)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
