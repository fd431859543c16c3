// Forms at document scale: a form of N mixed controls (text inputs, check
// boxes, radio groups, drop-down lists, buttons, text areas) built from
// markup, laid out and painted whole, then freed with its document. The time
// per control should stay the same from 500 to 16,000 controls.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/document/TSectionList.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/DocumentParser.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TCustomPanel.h"

namespace {

// Markup of a form with count controls, six kinds in turn.
std::string FormOf(int count) {
  std::string html = "<form action=/send>";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 6) {
      case 0: html += "<p>Name " + n + " <input name=t" + n + " value=v" + n + " size=12>"; break;
      case 1: html += "<input type=checkbox name=c" + n + (i % 4 == 1 ? " checked>" : ">"); break;
      case 2: html += "<input type=radio name=g" + std::to_string(i / 24) + " value=" + n + ">"; break;
      case 3: html += "<select name=s" + n + "><option>one<option selected>two<option>three</select>"; break;
      case 4: html += i % 60 == 4 ? "<textarea name=a" + n + " rows=2 cols=20>text</textarea>" : "<input type=submit>";
        break;
      default: html += "<input type=hidden name=h" + n + " value=x>"; break;
    }
  }
  return html + "</form>";
}

// The viewer's panels on a shown form, and the engine's form hooks.
struct Host {
  Host() {
    saved = engine::BuilderSeams();
    engine::InstallFormHooks();
    form->SetBounds(0, 0, 800, 600);
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 800, 600);
    form->Show();
    page.SetSize(800, 600);
  }
  ~Host() { engine::BuilderSeams() = saved; }

  engine::TBuilderSeams saved;
  std::unique_ptr<gui::TForm> form = std::make_unique<gui::TForm>(nullptr);
  gui::TPanel* panel = new gui::TPanel(form.get());
  gui::TBitmap page;
};

void BM_FormBuildLayOutPaintAndFree(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string html = FormOf(count);
  Host host;
  for (auto _ : state) {
    auto root = std::make_unique<engine::TSectionList>(host.panel, host.panel);
    root->SetDocumentDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false,
                              true, 1, 5, 10);
    engine::ParseHtmlSource(html, *root, nullptr);
    int maxWidth = 0;
    int curs = 0;
    const int height = root->LayoutContent(&host.page.Canvas(), 0, 780, 600, 0, maxWidth, curs);
    // The whole document in one paint: every control is placed once.
    root->PaintContent(&host.page.Canvas(), win::RECT{0, 0, 800, height}, 6000, 0, 0, 0, 0);
    root.reset();
  }
  state.SetComplexityN(count);
  state.counters["time_per_control"] =
      benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_FormBuildLayOutPaintAndFree)->RangeMultiplier(2)->Range(500, 16000)->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace
