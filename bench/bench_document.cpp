// Document model speed: laying out a root of 200,000 sections, and painting,
// hit-testing and position look-ups in one 800 x 600 view of it, beside the
// walk over every section that the indexes spare.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/css/TProperties.h"
#include "engine/document/TBodyBlock.h"
#include "engine/document/TSectionList.h"

namespace {

using namespace engine;

constexpr int kSections = 200000;

// A section of fixed height and text length that counts the paints it gets.
class LineSection : public TSectionBase {
 public:
  LineSection(TSectionList* document, int height, int chars) : TSectionBase(document), chars_(chars) {
    SectionHeight = height;
  }
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override {
    int height = TSectionBase::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth,
                                             Curs);
    CharCount = chars_;
    Curs += chars_;
    MaxWidth = 300;
    return height;
  }
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override {
    ++paints;
    return TSectionBase::PaintSection(canvas, clipRect, IMgr, X, XRef, YRef);
  }
  int CursorAtPoint(gui::TCanvas*, int, int Y, int&, int&, int&, bool&) override {
    return FirstCharPos + (Y - TopY) * chars_ / std::max(1, SectionHeight);
  }
  bool CharAtPosition(int Position, char16_t& Ch, TIDObject*&) override {
    if (Position < FirstCharPos || Position >= FirstCharPos + CharCount) return false;
    Ch = u'x';
    return true;
  }
  static inline long paints = 0;

 private:
  int chars_;
};

// A root whose body block holds kSections lines, as a long plain-text document has.
struct LongDocument {
  LongDocument() {
    style->PropTag = "body";
    auto body = std::make_unique<TBodyBlock>(&root, *style, &root, nullptr);
    for (int i = 0; i < kSections; ++i) body->MyCell->AddSection(std::make_unique<LineSection>(&root, 16, 60), 0);
    root.AddSection(std::move(body), 0);
  }
  int LayOut() {
    int maxWidth = 0;
    int curs = 0;
    return root.LayoutContent(nullptr, 0, 800, 600, 0, maxWidth, curs);
  }
  std::unique_ptr<TProperties> style = std::make_unique<TProperties>();
  TSectionList root{nullptr, nullptr};
};

LongDocument& Document() {
  static LongDocument document;
  return document;
}

void BM_LayoutRootOf200kSections(benchmark::State& state) {
  LongDocument& document = Document();
  for (auto _ : state) benchmark::DoNotOptimize(document.LayOut());
  state.counters["sections"] = kSections;
}
BENCHMARK(BM_LayoutRootOf200kSections)->Unit(benchmark::kMillisecond);

void BM_PaintOneViewInTheMiddle(benchmark::State& state) {
  LongDocument& document = Document();
  document.LayOut();
  document.root.SetYOffset(16 * kSections / 2);
  long before = LineSection::paints;
  long runs = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(document.root.PaintContent(nullptr, win::RECT{0, 0, 800, 600}, 6000, 0, 0, 0, 0));
    ++runs;
  }
  state.counters["sections_painted"] = static_cast<double>(LineSection::paints - before) / static_cast<double>(runs);
}
BENCHMARK(BM_PaintOneViewInTheMiddle)->Unit(benchmark::kMicrosecond);

// The reference: every section asked to paint, as a walk without the index does.
void BM_PaintEverySectionReference(benchmark::State& state) {
  LongDocument& document = Document();
  document.LayOut();
  TBlock& body = static_cast<TBlock&>(*document.root.Items(0));
  for (auto _ : state)
    for (const auto& section : *body.MyCell)
      benchmark::DoNotOptimize(section->PaintSection(nullptr, win::RECT{0, 0, 800, 600}, *document.root.IMgr, 0, 0, 0));
  state.counters["sections_painted"] = kSections;
}
BENCHMARK(BM_PaintEverySectionReference)->Unit(benchmark::kMicrosecond);

void BM_HitTestInTheMiddle(benchmark::State& state) {
  LongDocument& document = Document();
  document.LayOut();
  int y = 16 * kSections / 2 + 5;
  for (auto _ : state) {
    int xr = 0, yr = 0, caret = 0;
    bool inText = false;
    benchmark::DoNotOptimize(document.root.CursorAtPoint(nullptr, 10, y, xr, yr, caret, inText));
  }
}
BENCHMARK(BM_HitTestInTheMiddle)->Unit(benchmark::kMicrosecond);

void BM_CharAtPositionInTheMiddle(benchmark::State& state) {
  LongDocument& document = Document();
  document.LayOut();
  int position = 60 * kSections / 2 + 7;
  for (auto _ : state) {
    char16_t ch = 0;
    TIDObject* obj = nullptr;
    benchmark::DoNotOptimize(document.root.CharAtPosition(position, ch, obj));
  }
}
BENCHMARK(BM_CharAtPositionInTheMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace
