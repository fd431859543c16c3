// Drawing a cached 4000 x 3000 photo (a 24-bit DIB, as decoded) into an
// 800 x 600 view, paint after paint: shrunk to fit, and at full size with
// the view showing one part of it. The photo is converted for drawing once,
// not on every paint.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/gui/GdiCalls.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

gui::TBitmap& photo() {
  static gui::TBitmap* bitmap = [] {
    auto* made = new gui::TBitmap();
    made->SetPixelFormat(gui::pf24bit);
    made->SetSize(kPhotoWidth, kPhotoHeight);
    for (int y = 0; y < kPhotoHeight; ++y) {
      auto* row = static_cast<std::uint8_t*>(made->ScanLine(y));
      for (int x = 0; x < kPhotoWidth * 3; ++x) row[x] = static_cast<std::uint8_t>(x * 7 + y * 3);
    }
    return made;
  }();
  return *bitmap;
}

struct View {
  gui::TBitmap surface;
  View() { surface.SetSize(kViewWidth, kViewHeight); }
  gui::TCanvas& canvas() { return surface.Canvas(); }
};

// As the document draws a bitmap image: StretchBlt from its whole area in
// stretch mode COLORONCOLOR.
void BM_DrawPhotoShrunkIntoView(benchmark::State& state) {
  gui::TBitmap& image = photo();
  View view;
  const win::HDC target = view.canvas().Handle();
  for (auto _ : state) {
    win::SetStretchBltMode(target, win::COLORONCOLOR);
    win::StretchBlt(target, 0, 0, kViewWidth, kViewHeight, image.Canvas().Handle(), 0, 0, kPhotoWidth,
                    kPhotoHeight, win::SRCCOPY);
  }
}
BENCHMARK(BM_DrawPhotoShrunkIntoView)->Unit(benchmark::kMillisecond);

void BM_DrawPhotoAtFullSizeScrolled(benchmark::State& state) {
  gui::TBitmap& image = photo();
  View view;
  int step = 0;
  for (auto _ : state) {
    // Scrolled to a different part each paint; only the view's part is drawn.
    const int left = -((step * 97) % (kPhotoWidth - kViewWidth));
    const int top = -((step * 61) % (kPhotoHeight - kViewHeight));
    view.canvas().Draw(left, top, &image);
    ++step;
  }
}
BENCHMARK(BM_DrawPhotoAtFullSizeScrolled)->Unit(benchmark::kMillisecond);

}  // namespace
