// Documents full of images: N images drawn from 200 distinct files, in
// paragraphs of 20 with text between them. The first layout fetches and
// decodes each file once through the image cache; a later layout only sizes;
// painting walks the whole document view by view. Each should grow in
// proportion to N (the per-image counter stays flat, and the fitted
// complexity is O(N)).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace {

using namespace engine;

constexpr int kDistinctFiles = 200;
constexpr int kImagesPerParagraph = 20;
constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

// 200 small bitmaps of different colours in a temporary folder, made once.
const std::string& ImageFolder() {
  static const std::string folder = [] {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "pagewell_bench_images";
    std::filesystem::create_directories(dir);
    for (int i = 0; i < kDistinctFiles; ++i) {
      gui::TBitmap bitmap;
      bitmap.SetSize(16 + i % 8, 16);
      bitmap.Canvas().Brush().SetColor(static_cast<gui::TColor>(0x010203 * i));
      bitmap.Canvas().FillRect(win::RECT{0, 0, bitmap.Width(), bitmap.Height()});
      bitmap.SaveToFile((dir / ("img" + std::to_string(i) + ".bmp")).string());
    }
    return dir.string();
  }();
  return folder;
}

std::string ImagesPage(int images) {
  std::string html = "<html><body>";
  for (int i = 0; i < images; ++i) {
    if (i % kImagesPerParagraph == 0) html += i == 0 ? "<p>" : "</p><p>Some words between pictures ";
    html += "<img src=\"" + ImageFolder() + "/img" + std::to_string(i % kDistinctFiles) + ".bmp\"> word ";
  }
  return html + "</p></body></html>";
}

struct ImagesDocument {
  explicit ImagesDocument(int images) {
    InitializeEngineUnit();
    root->BitmapList = &cache;
    root->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false,
                              true, 1, 5, 10);
    ParseHtmlSource(ImagesPage(images), *root, nullptr);
    surface.SetSize(kViewWidth, kViewHeight);
  }
  ~ImagesDocument() {
    root.reset();
    FinalizeEngineUnit();
  }
  int LayOut() {
    int maxWidth = 0;
    int curs = 0;
    return root->LayoutContent(&surface.Canvas(), 0, kViewWidth, kViewHeight, 0, maxWidth, curs);
  }
  // Every view of the document from top to bottom.
  void PaintAll(int height) {
    const win::RECT clip{0, 0, kViewWidth, kViewHeight};
    for (int y = 0; y < height; y += kViewHeight) {
      root->SetYOffset(y);
      root->PaintContent(&surface.Canvas(), clip, 6000, 0, 0, 0, 0);
    }
  }

  images::TStringBitmapList cache;
  std::unique_ptr<TSectionList> root = std::make_unique<TSectionList>(nullptr, nullptr);
  gui::TBitmap surface;
};

void SetCounters(benchmark::State& state) {
  state.SetComplexityN(state.range(0));
  state.counters["per_image"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}

// Parsing is left out: the first layout fetches every image (200 decodes).
void BM_FirstLayoutWithImages(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto document = std::make_unique<ImagesDocument>(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    benchmark::DoNotOptimize(document->LayOut());
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
  SetCounters(state);
}
BENCHMARK(BM_FirstLayoutWithImages)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_RelayoutWithImages(benchmark::State& state) {
  ImagesDocument document(static_cast<int>(state.range(0)));
  document.LayOut();
  for (auto _ : state) benchmark::DoNotOptimize(document.LayOut());
  SetCounters(state);
}
BENCHMARK(BM_RelayoutWithImages)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_PaintEveryViewWithImages(benchmark::State& state) {
  ImagesDocument document(static_cast<int>(state.range(0)));
  const int height = document.LayOut();
  for (auto _ : state) document.PaintAll(height);
  state.counters["height"] = height;
  SetCounters(state);
}
BENCHMARK(BM_PaintEveryViewWithImages)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
