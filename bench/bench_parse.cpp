// Whole parses into a document root (lexer, cascade and builder; no layout):
// speed over the lexer benchmark's generated page and a documentation page, the memory the root holds
// against the source size, and hostile nesting that must stay linear.
#include <benchmark/benchmark.h>


#include <cstdint>
#include <memory>
#include <string>

#include "bench/AllocationCount.h"
#include "bench/GeneratedPage.h"
#include "bench/ProcessMemory.h"
#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"

namespace {

std::unique_ptr<engine::TSectionList> NewRoot() {
  auto root = std::make_unique<engine::TSectionList>(nullptr, nullptr);
  root->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false, true,
                            1, 5, 10);
  return root;
}

// Times the parse; the root is made and freed outside the timing. Returns
// the number of allocations the parse made.
std::int64_t ParseInto(benchmark::State& state, const std::string& document) {
  state.PauseTiming();
  auto root = NewRoot();
  const std::int64_t allocationsBefore = bench::AllocationsSoFar();
  state.ResumeTiming();
  engine::ParseHtmlSource(document, *root, nullptr);
  benchmark::DoNotOptimize(root->Count());
  state.PauseTiming();
  const std::int64_t allocations = bench::AllocationsSoFar() - allocationsBefore;
  root.reset();
  state.ResumeTiming();
  return allocations;
}

void BM_ParseGeneratedPage(benchmark::State& state) {
  static const std::string document = bench::MakeDocument(8u << 20, bench::kWords1252);
  std::int64_t allocations = 0;
  for (auto _ : state) allocations = ParseInto(state, document);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(document.size()));
  // Load-independent: heap allocations of one parse per kilobyte of source.
  state.counters["allocs_per_kb"] = static_cast<double>(allocations) * 1024 / static_cast<double>(document.size());
}
BENCHMARK(BM_ParseGeneratedPage)->Unit(benchmark::kMillisecond);

// The same over a page as tag-dense as real documentation, with a style sheet
// of 150 rules and classes to match.
void BM_ParseDocumentationPage(benchmark::State& state) {
  static const std::string document = bench::DocumentationPage(8u << 20);
  std::int64_t allocations = 0;
  for (auto _ : state) allocations = ParseInto(state, document);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(document.size()));
  state.counters["allocs_per_kb"] = static_cast<double>(allocations) * 1024 / static_cast<double>(document.size());
}
BENCHMARK(BM_ParseDocumentationPage)->Unit(benchmark::kMillisecond);

// Heap the root holds after the parse, as a multiple of the source size.
void BM_RootMemory(benchmark::State& state) {
  static const std::string document = bench::MakeDocument(8u << 20, bench::kWords1252);
  double ratio = 0;
  for (auto _ : state) {
    const std::int64_t before = bench::LiveHeapBytes();
    auto root = NewRoot();
    engine::ParseHtmlSource(document, *root, nullptr);
    ratio = static_cast<double>(bench::LiveHeapBytes() - before) / static_cast<double>(document.size());
    state.PauseTiming();
    root.reset();
    state.ResumeTiming();
  }
  state.counters["root_bytes_per_source_byte"] = ratio;
}
BENCHMARK(BM_RootMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void ParseRepeated(benchmark::State& state, const std::string& piece) {
  std::string document;
  for (std::int64_t i = 0; i < state.range(0); ++i) document += piece;
  for (auto _ : state) ParseInto(state, document);
  state.SetComplexityN(state.range(0));
}

void BM_UnclosedBold(benchmark::State& state) { ParseRepeated(state, "<b>x"); }
BENCHMARK(BM_UnclosedBold)->RangeMultiplier(2)->Range(12500, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void BM_NestedDiv(benchmark::State& state) { ParseRepeated(state, "<div>x"); }
BENCHMARK(BM_NestedDiv)->RangeMultiplier(2)->Range(12500, 100000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
