// Standard controls at document scale: thousands of controls on one parent
// (a form's controls all sit on the viewer's paint panel), and long lists.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/gui/TApplication.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TListBox.h"

namespace {

using namespace gui;

// A shown form holding one panel that the controls go on.
struct Host {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TPanel* panel = new TPanel(form.get());
  Host() {
    form->SetBounds(0, 0, 800, 600);
    panel->SetParent(form.get());
    panel->SetAlign(alClient);
    form->Show();
  }
};

// Makes N buttons parked off the panel, as the document builder does.
std::vector<TButton*> placeButtons(Host& host, int count) {
  std::vector<TButton*> buttons;
  buttons.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto* button = new TButton(host.panel);
    button->SetLeft(-4000);
    button->SetParent(host.panel);
    buttons.push_back(button);
  }
  return buttons;
}

void BM_PlaceControlsOnOneParent(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Host host;
    benchmark::DoNotOptimize(placeButtons(host, count));
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_PlaceControlsOnOneParent)->RangeMultiplier(2)->Range(2500, 20000)->Complexity()
    ->Unit(benchmark::kMillisecond);

// Every control moved once, as the layout places them in the text.
void BM_SetBoundsOfEveryControlOnOneParent(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Host host;
  const std::vector<TButton*> buttons = placeButtons(host, count);
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int i = 0; i < count; ++i) buttons[static_cast<std::size_t>(i)]->SetBounds(i % 700, (i / 700) * 25 + round % 3, 75, 25);
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_SetBoundsOfEveryControlOnOneParent)->RangeMultiplier(2)->Range(2500, 20000)->Complexity()
    ->Unit(benchmark::kMillisecond);

// The document frees its controls one by one, in the order they were made.
void BM_FreeControlsInOrderOfMaking(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Host host;
    const std::vector<TButton*> buttons = placeButtons(host, count);
    state.ResumeTiming();
    for (TButton* button : buttons) delete button;
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_FreeControlsInOrderOfMaking)->RangeMultiplier(2)->Range(2500, 20000)->Complexity()
    ->Unit(benchmark::kMillisecond);

// A list of N items painted at its middle: the time follows the rows in
// view, not N.
void BM_PaintListBoxOfNItems(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TListBox list(nullptr);
  list.SetBounds(0, 0, 200, 300);
  std::vector<std::u16string> items;
  items.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) items.push_back(u"Option number " + std::u16string(1, char16_t(u'0' + i % 10)));
  list.Items().Assign(items);
  list.SetItemIndex(count / 2);
  TBitmap bitmap;
  bitmap.SetSize(200, 300);
  for (auto _ : state) list.PaintTo(bitmap.Canvas().Handle(), 0, 0);
  state.SetComplexityN(count);
}
BENCHMARK(BM_PaintListBoxOfNItems)->RangeMultiplier(10)->Range(100, 100000)->Complexity()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
