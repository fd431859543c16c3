// The viewer on generated book-like pages (headings, paragraphs with links
// and inline fonts, lists, preformatted code and small tables): load, parse,
// layout at 800 pixels and the first paint together; a page scroll anywhere
// in the large page; and the heap held against the source size.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>

#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/MessageBoxes.h"
#include "viewer/THTMLViewer.h"

namespace {

std::int64_t LiveHeapBytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

// The bytes held through operator new now and at most since the last reset:
// the peak of a load, which the retained heap after it does not show. Counting
// is on for the measured load only, so that the timed loads do not pay for it.
std::atomic<std::int64_t> newBytes{0};
std::atomic<std::int64_t> newPeak{0};
std::atomic<bool> counting{true};

void CountNew(void* block) {
  if (!counting.load(std::memory_order_relaxed)) return;
  const auto now = newBytes += static_cast<std::int64_t>(malloc_usable_size(block));
  std::int64_t peak = newPeak.load();
  while (now > peak && !newPeak.compare_exchange_weak(peak, now)) {
  }
}

void CountDelete(void* block) {
  if (counting.load(std::memory_order_relaxed)) newBytes -= static_cast<std::int64_t>(malloc_usable_size(block));
}

}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  CountNew(block);
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
[[gnu::noinline]] void operator delete(void* block) noexcept {
  if (!block) return;
  CountDelete(block);
  std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace {

const char* const kWords[] = {"the", "chapter", "garden", "river", "window", "letter", "morning", "harbour",
                              "quiet", "story", "light", "road"};

std::string Sentence(std::mt19937& random, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i) text += ' ';
    const int pick = static_cast<int>(random() % 12);
    if (random() % 25 == 0) {
      text += "<a href=\"ch" + std::to_string(random() % 100) + ".htm\">" + kWords[pick] + "</a>";
    } else if (random() % 30 == 0) {
      text += std::string("<font color=\"#803000\"><i>") + kWords[pick] + "</i></font>";
    } else {
      text += kWords[pick];
    }
  }
  return text + ".";
}

std::string BookPage(std::size_t targetBytes) {
  std::mt19937 random(77);
  std::string html = "<html><head><title>Book</title></head><body>\n";
  for (int chapter = 0; html.size() < targetBytes; ++chapter) {
    html += "<h2>Chapter " + std::to_string(chapter) + "</h2>\n";
    for (int p = 0; p < 6; ++p) html += "<p>" + Sentence(random, 60 + static_cast<int>(random() % 60)) + "</p>\n";
    html += "<ul>";
    for (int i = 0; i < 4; ++i) html += "<li>" + Sentence(random, 8) + "</li>";
    html += "</ul>\n<pre>for (int i = 0; i &lt; n; ++i)\n    total += values[i];\nreturn total;</pre>\n";
    html += "<table border=1><tr><td>" + Sentence(random, 3) + "</td><td>" + std::to_string(chapter) +
            "</td></tr><tr><td>" + Sentence(random, 3) + "</td><td>2</td></tr></table>\n";
  }
  return html + "</body></html>\n";
}

struct Host {
  Host() {
    win::setMessageBoxEcho(false);
    win::useVirtualClock();
    form = std::make_unique<gui::TForm>(nullptr);
    form->SetBounds(0, 0, 820, 600);
    view = new viewer::THTMLViewer(form.get());
    view->SetParent(form.get());
    view->SetBounds(0, 0, 820, 600);
    form->Show();
    gui::Application->ProcessMessages();
  }
  std::unique_ptr<gui::TForm> form;
  viewer::THTMLViewer* view = nullptr;
};

Host& TheHost() {
  static Host host;
  return host;
}

[[gnu::noinline]] void Load(const std::string& page) {
  Host& host = TheHost();
  host.view->LoadSourceString(page, "");
  gui::Application->ProcessMessages();
  benchmark::DoNotOptimize(host.view->DocumentHeight());
}

// The timed load, a function of its own so that profilers can single it out.
[[gnu::noinline]] void LoadAndPaint(const std::string& page) { Load(page); }

// The memory of one load into a cleared viewer, as a multiple of the source:
// held after it, and the most held at any moment of it.
struct LoadMemory {
  double held = 0;
  double peak = 0;
};

LoadMemory MeasureLoadMemory(const std::string& page) {
  TheHost().view->Clear();
  const std::int64_t before = LiveHeapBytes();
  counting = true;
  const std::int64_t newBefore = newBytes.load();
  newPeak = newBefore;
  Load(page);
  const LoadMemory memory{static_cast<double>(LiveHeapBytes() - before) / static_cast<double>(page.size()),
                          static_cast<double>(newPeak.load() - newBefore) / static_cast<double>(page.size())};
  counting = false;
  return memory;
}

void BM_LoadLayoutFirstPaint(benchmark::State& state) {
  const std::string page = BookPage(static_cast<std::size_t>(state.range(0)) << 20);
  const LoadMemory memory = MeasureLoadMemory(page);
  for (auto _ : state) {
    state.PauseTiming();
    TheHost().view->Clear();
    state.ResumeTiming();
    LoadAndPaint(page);
  }
  state.counters["heap_per_source_byte"] = memory.held;
  state.counters["peak_per_source_byte"] = memory.peak;
  state.counters["document_height"] = TheHost().view->DocumentHeight();
}
BENCHMARK(BM_LoadLayoutFirstPaint)->Arg(2)->Arg(14)->Unit(benchmark::kMillisecond);

// One page down from random places in the 14 MB page, painted at once.
void BM_PageScrollRepaint(benchmark::State& state) {
  static const std::string page = BookPage(14u << 20);
  Host& host = TheHost();
  host.view->Clear();
  LoadAndPaint(page);
  std::mt19937 random(5);
  const int height = host.view->DocumentHeight();
  for (auto _ : state) {
    state.PauseTiming();
    host.view->SetVerticalPosition(static_cast<int>(random() % static_cast<unsigned>(std::max(1, height))));
    gui::Application->ProcessMessages();
    state.ResumeTiming();
    win::SendMessageW(host.view->Handle(), win::WM_KEYDOWN, win::VK_NEXT, 0);
    win::UpdateWindow(host.view->PaintPanel().Handle());
  }
}
BENCHMARK(BM_PageScrollRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
