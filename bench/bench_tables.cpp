// Long tables: parsing and laying out a bordered table of short cells at 800
// pixels on a canvas as the viewer measures with, at two sizes side by side
// (the cost must grow linearly), and with one cell spanning every row. Memory
// is reported per cell and against the source: the heap the document holds
// and the process's resident peak during one parse and layout.
#include <benchmark/benchmark.h>


#include <cstdint>
#include <memory>
#include <string>

#include "bench/AllocationCount.h"
#include "bench/ProcessMemory.h"
#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/DeviceContext.h"

namespace {

// rows x 6 cells of short text, every seventh cell a link; with spanAll the
// first cell of the first row spans every row.
std::string MakeTable(int rows, bool spanAll) {
  std::string html = "<html><body><table border=1 cellpadding=4>";
  for (int r = 0; r < rows; ++r) {
    html += "<tr>";
    for (int c = 0; c < 6; ++c) {
      if (spanAll && c == 0) {
        if (r == 0) html += "<td rowspan=" + std::to_string(rows) + ">side</td>";
        continue;
      }
      if ((r * 6 + c) % 7 == 0)
        html += "<td><a href=\"item" + std::to_string(r) + ".htm\">Item " + std::to_string(r) + "</a></td>";
      else
        html += "<td>cell " + std::to_string(r) + "." + std::to_string(c) + "</td>";
    }
    html += "</tr>\n";
  }
  return html + "</table></body></html>";
}

std::unique_ptr<engine::TSectionList> NewRoot() {
  auto root = std::make_unique<engine::TSectionList>(nullptr, nullptr);
  root->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false, true,
                            1, 5, 10);
  return root;
}

// The canvas a viewer lays out with before its window exists: a memory
// device context.
gui::TCanvas& MeasureCanvas() {
  static gui::TCanvas* canvas = [] {
    auto* made = new gui::TCanvas();
    made->SetHandle(win::CreateCompatibleDC(0));
    return made;
  }();
  return *canvas;
}

std::unique_ptr<engine::TSectionList> ParseAndLayOut(const std::string& html, bool layOut) {
  auto root = NewRoot();
  engine::ParseHtmlSource(html, *root, nullptr);
  if (layOut) {
    int maxWidth = 0;
    int curs = 0;
    benchmark::DoNotOptimize(root->LayoutContent(&MeasureCanvas(), 0, 800, 600, 0, maxWidth, curs));
  }
  return root;
}

// Parses (and lays out) html; freeing the document is not part of what is
// measured. Reports, per table cell, the heap allocations of one run and the
// heap the document holds (figures that do not depend on how busy the machine
// is), and the process's resident peak against the source size.
void Measure(benchmark::State& state, const std::string& html, bool layOut) {
  const double cells = 6.0 * static_cast<double>(state.range(0));
  std::int64_t held = 0;
  const std::int64_t residentPeak = bench::PeakResidentOf([&] {
    const std::int64_t before = bench::LiveHeapBytes();
    auto root = ParseAndLayOut(html, layOut);
    held = bench::LiveHeapBytes() - before;
  });
  std::int64_t allocations = 0;
  for (auto _ : state) {
    const std::int64_t allocationsBefore = bench::AllocationsSoFar();
    auto root = ParseAndLayOut(html, layOut);
    state.PauseTiming();
    allocations = bench::AllocationsSoFar() - allocationsBefore;
    root.reset();
    state.ResumeTiming();
  }
  state.counters["allocs_per_cell"] = static_cast<double>(allocations) / cells;
  state.counters["held_bytes_per_cell"] = static_cast<double>(held) / cells;
  state.counters["held_per_source_byte"] = static_cast<double>(held) / static_cast<double>(html.size());
  state.counters["rss_peak_per_source_byte"] = static_cast<double>(residentPeak) / static_cast<double>(html.size());
}

void BM_TableParseAndLayout(benchmark::State& state) {
  const std::string html = MakeTable(static_cast<int>(state.range(0)), state.range(1) != 0);
  Measure(state, html, /*layOut=*/true);
  state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TableParseAndLayout)
    ->Args({2000, 0})
    ->Args({20000, 0})
    ->Args({2000, 1})
    ->Args({20000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The parse alone, to tell its share from layout's.
void BM_TableParseOnly(benchmark::State& state) {
  const std::string html = MakeTable(static_cast<int>(state.range(0)), false);
  Measure(state, html, /*layOut=*/false);
}
BENCHMARK(BM_TableParseOnly)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
