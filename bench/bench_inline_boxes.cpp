// Inline boxes on a long document: a table of N rows, each with a bordered
// span. Measured per N (5,000 to 20,000 rows):
// - BM_ResolveBoxes: turning every box's source positions into document
//   positions after a layout (one ordered pass over the text sections);
// - BM_ResolveBoxesOneByOne: the same through the root's FindDocPos for each
//   position, the walk over every section per box that the pass spares
//   (only up to 5,000 rows: it grows with rows x boxes);
// - BM_FirstPaintOfView: the first paint of one 800 x 600 view in the middle
//   after a layout (resolving, finding and measuring the view's boxes);
// - BM_HitTestPoint: link, cursor and object at a point in the middle of the
//   painted document.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/html/DocumentParser.h"
#include "engine/text/TInlineList.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace {

using namespace engine;

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

std::string RowsPage(int rows) {
  std::string html = "<table border=1>";
  html.reserve(static_cast<std::size_t>(rows) * 120);
  for (int i = 0; i < rows; ++i) {
    html += "<tr><td>row " + std::to_string(i) +
            "</td><td>some text <span style=\"border: 1px solid #C00000; background-color: #FFFFCC\">marked " +
            std::to_string(i) + "</span> and <a href=\"#r\">a link</a></td></tr>";
  }
  return html + "</table>";
}

// One parsed, laid-out and painted document per row count, kept across runs.
struct RowsDocument {
  explicit RowsDocument(int rows) {
    InitializeEngineUnit();
    root = std::make_unique<TSectionList>(nullptr, nullptr);
    root->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false,
                              true, 1, 5, 10);
    ParseHtmlSource(RowsPage(rows), *root, nullptr, {});
    surface.SetSize(kViewWidth, kViewHeight);
    LayOut();
  }
  void LayOut() {
    int maxWidth = 0;
    int curs = 0;
    documentHeight = root->LayoutContent(&surface.Canvas(), 0, kViewWidth, kViewHeight, 0, maxWidth, curs);
  }
  void PaintMiddle() {
    root->SetYOffset(documentHeight / 2);
    root->PaintContent(&surface.Canvas(), win::RECT{0, 0, kViewWidth, kViewHeight}, 6000, 0, 0, 0, 0);
  }
  TInlineList& boxes() { return *InlineListOf(root.get()); }

  std::unique_ptr<TSectionList> root;
  gui::TBitmap surface;
  int documentHeight = 0;
};

RowsDocument& DocumentOf(int rows) {
  static std::map<int, std::unique_ptr<RowsDocument>> documents;
  auto& slot = documents[rows];
  if (!slot) slot = std::make_unique<RowsDocument>(rows);
  return *slot;
}

void BM_ResolveBoxes(benchmark::State& state) {
  RowsDocument& document = DocumentOf(static_cast<int>(state.range(0)));
  TInlineList& boxes = document.boxes();
  for (auto _ : state) {
    boxes.NeedsConverting();
    benchmark::DoNotOptimize(boxes.StartOf(0));
  }
  state.counters["boxes"] = boxes.Count();
}
BENCHMARK(BM_ResolveBoxes)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ResolveBoxesOneByOne(benchmark::State& state) {
  RowsDocument& document = DocumentOf(static_cast<int>(state.range(0)));
  TInlineList& boxes = document.boxes();
  for (auto _ : state) {
    long sum = 0;
    for (int i = 0; i < boxes.Count(); ++i) {
      sum += document.root->FindDocPos(boxes.Items(i).StartBDoc, false);
      sum += document.root->FindDocPos(boxes.Items(i).EndBDoc, false);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ResolveBoxesOneByOne)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_FirstPaintOfView(benchmark::State& state) {
  RowsDocument& document = DocumentOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    document.LayOut();  // every line finds its boxes again at its next paint
    state.ResumeTiming();
    document.PaintMiddle();
  }
}
BENCHMARK(BM_FirstPaintOfView)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_HitTestPoint(benchmark::State& state) {
  RowsDocument& document = DocumentOf(static_cast<int>(state.range(0)));
  document.PaintMiddle();
  TSectionList& root = *document.root;
  const int y = document.documentHeight / 2 + kViewHeight / 2;
  gui::TCanvas& canvas = document.surface.Canvas();
  for (auto _ : state) {
    std::unique_ptr<TUrlTarget> target;
    TFormControlObj* control = nullptr;
    std::string title;
    int xr = 0;
    int yr = 0;
    int caretHeight = 0;
    bool inText = false;
    TIDObject* object = nullptr;
    int ix = 0;
    int iy = 0;
    for (int x = 20; x < 400; x += 40) {
      benchmark::DoNotOptimize(root.LinkAtPoint(&canvas, x, y, target, control, title));
      benchmark::DoNotOptimize(root.CursorAtPoint(&canvas, x, y, xr, yr, caretHeight, inText));
      benchmark::DoNotOptimize(root.ObjectAtPoint(x, y, object, ix, iy));
    }
  }
}
BENCHMARK(BM_HitTestPoint)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
