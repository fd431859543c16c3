// Lexing speed over a large generated document that looks like real pages:
// nested tables, links with several attributes, paragraphs of prose with a few
// character references, comments and line breaks.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/css/TProperties.h"
#include "bench/GeneratedPage.h"

namespace {

using bench::MakeDocument;
using bench::kWords1252;
using bench::kWordsUtf8;

void LexDocument(benchmark::State& benchState, const std::string& document, int codePage) {
  using namespace engine;
  for (auto _ : benchState) {
    ResetParseState();
    auto properties = std::make_unique<TProperties>();
    properties->CodePage = codePage;
    parseState.PropStack.Add(std::move(properties));
    SetDocumentText(document);
    NextCharSkippingMarkup();
    std::size_t characters = 0;
    do {
      NextSymbol();
      characters += parseState.Token->CurrentText().size();
    } while (parseState.Symbol != symEndOfInput);
    benchmark::DoNotOptimize(characters);
  }
  benchState.SetBytesProcessed(static_cast<std::int64_t>(benchState.iterations()) *
                               static_cast<std::int64_t>(document.size()));
}

void BM_LexWindows1252(benchmark::State& state) {
  static const std::string document = MakeDocument(8u << 20, kWords1252);
  LexDocument(state, document, 1252);
}
BENCHMARK(BM_LexWindows1252)->Unit(benchmark::kMillisecond);

void BM_LexUtf8(benchmark::State& state) {
  static const std::string document = MakeDocument(8u << 20, kWordsUtf8);
  LexDocument(state, document, 65001);
}
BENCHMARK(BM_LexUtf8)->Unit(benchmark::kMillisecond);

}  // namespace
