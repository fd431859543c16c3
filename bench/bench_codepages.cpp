// Throughput of the code-page conversions that every loaded document goes through.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/win/kernel/CodePages.h"

namespace {

std::string sampleDocument(const std::string& paragraph) {
  std::string document;
  while (document.size() < (1 << 20)) document += "<p class=\"body\">" + paragraph + "</p>\n";
  return document;
}

void decodeBenchmark(benchmark::State& state, win::UINT codePage, const std::string& document) {
  for (auto _ : state) benchmark::DoNotOptimize(win::multiByteToWide(codePage, document));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}

void BM_DecodeWindows1252(benchmark::State& state) {
  decodeBenchmark(state, 1252, sampleDocument("Plain western text with caf\xE9 and \x93quotes\x94."));
}
void BM_DecodeUtf8Latin(benchmark::State& state) {
  decodeBenchmark(state, win::CP_UTF8, sampleDocument("Plain western text with caf\xC3\xA9 and more words."));
}
void BM_DecodeUtf8Japanese(benchmark::State& state) {
  decodeBenchmark(state, win::CP_UTF8, sampleDocument("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87"));
}
void BM_DecodeShiftJis(benchmark::State& state) {
  decodeBenchmark(state, 932, sampleDocument("\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x95\xB6\x8F\xCD text"));
}
void BM_EncodeUtf8(benchmark::State& state) {
  const std::u16string text = win::multiByteToWide(win::CP_UTF8, sampleDocument("Mixed caf\xC3\xA9 \xE6\x97\xA5"));
  for (auto _ : state) benchmark::DoNotOptimize(win::wideToMultiByte(win::CP_UTF8, text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size() * 2));
}

}  // namespace

BENCHMARK(BM_DecodeWindows1252);
BENCHMARK(BM_DecodeUtf8Latin);
BENCHMARK(BM_DecodeUtf8Japanese);
BENCHMARK(BM_DecodeShiftJis);
BENCHMARK(BM_EncodeUtf8);
