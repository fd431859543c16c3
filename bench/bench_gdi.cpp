// Drawing hot paths on a 1920x1080 32-bit surface.
#include <benchmark/benchmark.h>

#include <optional>

#include "platform/win/Gdi.h"

namespace {

using namespace win;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Screen {
  HDC dc = CreateCompatibleDC(0);
  HBITMAP bitmap = CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
  std::optional<SelectScope> select{std::in_place, dc, bitmap};
  ~Screen() {
    select.reset();
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

void BM_FillRectFullHd(benchmark::State& state) {
  Screen screen;
  const HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  const RECT all{0, 0, kWidth, kHeight};
  for (auto _ : state) benchmark::DoNotOptimize(FillRect(screen.dc, &all, brush));
  DeleteObject(brush);
}
BENCHMARK(BM_FillRectFullHd)->Unit(benchmark::kMillisecond);

void BM_BitBltSrcCopyFullHd(benchmark::State& state) {
  Screen source, target;
  for (auto _ : state)
    benchmark::DoNotOptimize(BitBlt(target.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY));
}
BENCHMARK(BM_BitBltSrcCopyFullHd)->Unit(benchmark::kMillisecond);

void BM_StretchBltHalftoneHalfSize(benchmark::State& state) {
  Screen source, target;
  SetStretchBltMode(target.dc, HALFTONE);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        StretchBlt(target.dc, 0, 0, kWidth / 2, kHeight / 2, source.dc, 0, 0, kWidth, kHeight, SRCCOPY));
}
BENCHMARK(BM_StretchBltHalftoneHalfSize)->Unit(benchmark::kMillisecond);

void BM_StretchBltColorOnColorDouble(benchmark::State& state) {
  Screen source, target;
  SetStretchBltMode(target.dc, COLORONCOLOR);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        StretchBlt(target.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, kWidth / 2, kHeight / 2, SRCCOPY));
}
BENCHMARK(BM_StretchBltColorOnColorDouble)->Unit(benchmark::kMillisecond);

// 1000 small rectangles through a clip region of 400 holes.
void BM_FillRectsThroughComplexClip(benchmark::State& state) {
  Screen screen;
  const HRGN clip = CreateRectRgn(0, 0, kWidth, kHeight);
  for (int i = 0; i < 400; ++i) {
    const int x = (i * 97) % (kWidth - 40), y = (i * 53) % (kHeight - 40);
    const HRGN hole = CreateRectRgn(x, y, x + 30, y + 30);
    CombineRgn(clip, clip, hole, RGN_DIFF);
    DeleteObject(hole);
  }
  SelectClipRgn(screen.dc, clip);
  const HBRUSH brush = CreateSolidBrush(RGB(200, 100, 50));
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 131) % (kWidth - 64), y = (i * 71) % (kHeight - 48);
      const RECT r{x, y, x + 64, y + 48};
      FillRect(screen.dc, &r, brush);
    }
  }
  DeleteObject(brush);
  DeleteObject(clip);
}
BENCHMARK(BM_FillRectsThroughComplexClip)->Unit(benchmark::kMillisecond);

}  // namespace
