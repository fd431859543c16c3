// Text measuring (the line breaker's hot path) and glyph drawing.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/TextDraw.h"
#include "platform/win/text/TextMeter.h"

namespace {

const std::u16string kLatinText =
    u"The quick brown fox jumps over the lazy dog; pack my box with five dozen liquor jugs, said Zoë.   ";

struct TextBench {
  TextBench() {
    win::allocateSurface(surface, 1200, 64, 0xFFFFFF);
    dc = win::createDeviceContextForSurface(&surface, win::POINT{0, 0}, win::RECT{0, 0, 1200, 64}, 32);
    font = win::CreateFontW(-16, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0, u"Arial");
    win::SelectObject(dc, font);
    win::SetBkMode(dc, win::TRANSPARENT);
  }
  ~TextBench() {
    win::releaseDeviceContext(dc);
    win::DeleteObject(font);
  }
  win::Surface surface;
  win::HDC dc = 0;
  win::HFONT font = 0;
};

void BM_GetTextExtentExPointW(benchmark::State& state) {
  TextBench bench;
  const int count = 100;
  std::u16string text = kLatinText.substr(0, count);
  int widths[count];
  int fit = 0;
  win::SIZE size;
  for (auto _ : state) {
    win::GetTextExtentExPointW(bench.dc, text.data(), count, 400, &fit, widths, &size);
    benchmark::DoNotOptimize(fit);
    benchmark::DoNotOptimize(widths[count - 1]);
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_GetTextExtentExPointW);

void BM_TextOutW(benchmark::State& state) {
  TextBench bench;
  const std::u16string text = kLatinText.substr(0, 60);
  for (auto _ : state) {
    win::TextOutW(bench.dc, 4, 20, text.data(), static_cast<int>(text.size()));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_TextOutW);

}  // namespace
