// Text sections on generated prose (several fonts, links, NOBR stretches and
// long words): appending and finishing, line breaking at 800 pixels, and
// painting one 800 x 600 view of a long paragraph. Sizes grow tenfold so that
// the time ratios show the growth.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/css/TProperties.h"
#include "engine/document/IndentManager.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/html/TokenBuffers.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace {

using engine::TProperties;
using engine::TSection;

std::unique_ptr<TProperties> Style(const char* family, double points, bool bold, bool italic) {
  auto props = std::make_unique<TProperties>();
  props->DefFontName = family;
  props->Value(engine::Prop::FontFamily) = std::string(family);
  props->Value(engine::Prop::FontSize) = points;
  if (bold) props->Value(engine::Prop::FontWeight) = std::string("bold");
  if (italic) props->Value(engine::Prop::FontStyle) = std::string("italic");
  return props;
}

struct Styles {
  Styles() {
    fonts.push_back(Style("Times New Roman", 12, false, false));
    fonts.push_back(Style("Times New Roman", 12, true, false));
    fonts.push_back(Style("Arial", 10, false, true));
    fonts.push_back(Style("Courier New", 11, false, false));
  }
  std::vector<std::unique_ptr<TProperties>> fonts;
};

Styles& SharedStyles() {
  static Styles styles;
  return styles;
}

// Appends about `characters` characters of prose: words of 1-12 letters, a
// long word now and then, font changes, links and NOBR stretches.
void AppendProse(TSection& section, std::int64_t characters, unsigned start) {
  Styles& styles = SharedStyles();
  std::mt19937 random(start);
  engine::TokenObj token;
  engine::TUrlTarget link;
  const engine::TUrlTarget noLink;
  std::int64_t written = 0;
  int source = 0;
  bool inLink = false;
  while (written < characters) {
    const unsigned roll = random() % 100;
    TProperties& props = *styles.fonts[random() % styles.fonts.size()];
    if (roll < 3) {
      section.ChangeFont(props);
    } else if (roll < 4) {
      link.Url = "page" + std::to_string(source) + ".html";
      link.LinkId = source + 1;
      section.ChangeFontForLink(inLink ? '<' : '>', props, inLink ? noLink : link);
      inLink = !inLink;
    }
    const bool noBreak = roll >= 95;
    const int length = roll == 50 ? 60 : 1 + static_cast<int>(random() % 12);
    token.Clear();
    for (int i = 0; i < length; ++i) token.AppendChar(static_cast<char16_t>(u'a' + random() % 26), source++);
    token.AppendChar(u' ', source++);
    section.AppendTextRun(token, *styles.fonts[0], noBreak);
    written += length + 1;
  }
}

// 100,000 x "<i> </i>": a font change, one space, a font change back.
void BM_FinishItalicSpaces(benchmark::State& state) {
  Styles& styles = SharedStyles();
  for (auto _ : state) {
    engine::TSectionList doc(nullptr, nullptr);
    TSection section(&doc, true, nullptr, *styles.fonts[0], nullptr);
    engine::TokenObj space;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
      section.ChangeFont(*styles.fonts[2]);
      space.Clear();
      space.AppendChar(u' ', static_cast<int>(i));
      section.AppendTextRun(space, *styles.fonts[2], false);
      section.ChangeFont(*styles.fonts[0]);
    }
    section.FinishForCell(static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(section.Len);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FinishItalicSpaces)->Arg(10000)->Arg(100000)->Arg(300000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// Appending and finishing one paragraph of the given size in characters.
void BM_AppendAndFinishParagraph(benchmark::State& state) {
  for (auto _ : state) {
    engine::TSectionList doc(nullptr, nullptr);
    TSection section(&doc, true, nullptr, *SharedStyles().fonts[0], nullptr);
    AppendProse(section, state.range(0), 7);
    section.FinishForCell(0);
    benchmark::DoNotOptimize(section.Len);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppendAndFinishParagraph)->Arg(100'000)->Arg(1'000'000)->Arg(10'000'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

struct LaidOut {
  explicit LaidOut(std::int64_t characters) : doc(nullptr, nullptr) {
    bitmap.SetSize(800, 600);
    section = std::make_unique<TSection>(&doc, true, nullptr, *SharedStyles().fonts[0], nullptr);
    AppendProse(*section, characters, 11);
    section->FinishForCell(0);
  }
  int Layout() {
    imgr.Clear();
    imgr.Init(0, 800);
    imgr.Width = 800;
    int maxWidth = 0;
    int curs = 0;
    return section->LayoutSection(&bitmap.Canvas(), 0, 0, 0, 0, 800, 600, 0, imgr, maxWidth, curs);
  }
  engine::TSectionList doc;
  gui::TBitmap bitmap;
  engine::IndentManager imgr;
  std::unique_ptr<TSection> section;
};

// Line breaking at 800 pixels; bytes are characters of text.
void BM_LineBreaking(benchmark::State& state) {
  LaidOut text(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(text.Layout());
  state.counters["lines"] = static_cast<double>(text.section->Lines.size());
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LineBreaking)->Arg(500'000)->Arg(5'000'000)->Arg(50'000'000)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

// Painting the 800 x 600 view in the middle of a paragraph of about the given
// number of lines (about 110 characters each at 800 pixels).
void BM_PaintOneView(benchmark::State& state) {
  LaidOut text(state.range(0) * 110);
  const int height = text.Layout();
  text.doc.YOffset = height / 2;
  const win::RECT view{0, 0, 800, 600};
  for (auto _ : state) {
    benchmark::DoNotOptimize(text.section->PaintSection(&text.bitmap.Canvas(), view, text.imgr, 0, 0, 0));
  }
  state.counters["lines"] = static_cast<double>(text.section->Lines.size());
}
BENCHMARK(BM_PaintOneView)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace
