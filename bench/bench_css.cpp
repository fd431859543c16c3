// Reading an author style sheet, the cascade of one element against it, and
// the built-in sheet every document starts from.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "bench/AllocationCount.h"
#include "engine/css/CssReader.h"
#include "engine/css/TPropStack.h"
#include "engine/css/TProperties.h"
#include "engine/css/TStyleList.h"

namespace {

using namespace engine;

// A sheet of ruleCount rules in the mix author sheets have: tags, classes, ids, compounds,
// contextual and child selectors, shorthands and comments.
std::string AuthorSheet(int ruleCount) {
  std::string sheet;
  for (int rule = 0; rule < ruleCount; ++rule) {
    std::string n = std::to_string(rule);
    switch (rule % 5) {
      case 0:
        sheet += "/* section " + n + " */\n.c" + n + " { color: #3a" + std::to_string(rule % 10) +
                 "; margin: 1px 2px 3px 4px; font: italic bold 12px/14px arial, sans-serif }\n";
        break;
      case 1:
        sheet += "div.c" + n + " p, #id" + n + " { background: #fff url(images/b" + n +
                 ".png) no-repeat right top; padding: 2em }\n";
        break;
      case 2:
        sheet += "ul.nav" + n + " > li a:hover { color: rgb(10, 20, 30); text-decoration: underline }\n";
        break;
      case 3:
        sheet += "h" + std::to_string(rule % 6 + 1) + ".t" + n +
                 " { border: 1px solid #ccc; font-size: 120%; line-height: 1.4 }\n";
        break;
      default:
        sheet += "td.c" + n + ", th.c" + n + " { text-align: center; vertical-align: top; width: 50% }\n";
    }
  }
  return sheet;
}

void BuildDefaults(TStyleList& styles) {
  styles.BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, true, 1, 5, 10);
}

std::unique_ptr<TStyleList> DefaultSheet() {
  auto styles = std::make_unique<TStyleList>();
  BuildDefaults(*styles);
  return styles;
}

void Read(TStyleList& styles, const std::string& sheet) {
  TStringCssSource source(sheet);
  char current = ' ';
  ParseStyleSheet(styles, current, source, "", true);
}

void BM_ParseAuthorSheet(benchmark::State& state) {
  std::string sheet;
  while (sheet.size() < 100 * 1024) sheet += AuthorSheet(500);
  sheet.resize(100 * 1024);
  for (auto _ : state) {
    auto styles = DefaultSheet();
    Read(*styles, sheet);
    benchmark::DoNotOptimize(styles->Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(sheet.size()));
}
BENCHMARK(BM_ParseAuthorSheet);

// Each load of a viewer rebuilds its document's sheet from the same
// defaults; allocations per build are reported beside the time.
void BM_BuildDefaultSheet(benchmark::State& state) {
  auto styles = DefaultSheet();
  const std::int64_t allocationsBefore = bench::AllocationsSoFar();
  for (auto _ : state) {
    BuildDefaults(*styles);
    benchmark::DoNotOptimize(styles->Count());
  }
  state.counters["allocations"] = benchmark::Counter(
      static_cast<double>(bench::AllocationsSoFar() - allocationsBefore), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BuildDefaultSheet);

void BM_CascadeOneElement(benchmark::State& state) {
  auto styles = DefaultSheet();
  Read(*styles, AuthorSheet(500));
  TPropStack stack;
  auto bottom = std::make_unique<TProperties>();
  bottom->CopyDefault(*styles->DefProp);
  stack.Add(std::move(bottom));
  // A realistic parse stack of depth 8 under the element.
  const char* tags[] = {"html", "body", "div", "div", "table", "tbody", "tr", "td"};
  for (const char* tag : tags) {
    auto element = std::make_unique<TProperties>();
    element->Inherit(tag, *stack.Last());
    TProperties* pushed = stack.Add(std::move(element));
    styles->Cascade(*pushed, tag, tag[0] == 'd' ? "c11" : "", "", "", "", nullptr, &stack, stack.TopIndex());
  }
  for (auto _ : state) {
    auto element = std::make_unique<TProperties>();
    element->Inherit("p", *stack.Last());
    TProperties* pushed = stack.Add(std::move(element));
    styles->Cascade(*pushed, "p", "c10", "", "", "", nullptr, &stack, stack.TopIndex());
    benchmark::DoNotOptimize(pushed->GetColor());
    stack.Delete(stack.TopIndex());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_CascadeOneElement);

}  // namespace
