// The viewer on generated pages: a light book (headings, long paragraphs,
// lists, a little code, small tables) and a page as dense as real
// documentation (a style sheet of 150 rules, classes, coloured code every
// 2 KB). Load, parse, layout at 800 pixels and the first paint together, in a
// viewer and through the exported functions from a file; the fixed cost of a
// one-line page; a page scroll anywhere in the large page; and memory against
// the source size: held after a load, the most the heap held during it, and
// the process's resident peak during it.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>

#include "bench/GeneratedPage.h"
#include "bench/ProcessMemory.h"
#include "embed/include/pagewell.h"
#include "embed/include/pagewell_host.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/MessageBoxes.h"
#include "viewer/THTMLViewer.h"

namespace {

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

// kind 0: the light book page; 1: the dense documentation page.
const std::string& Page(int kind, int megabytes) {
  static std::string pages[2][16];
  std::string& page = pages[kind][megabytes];
  if (page.empty()) {
    const std::size_t size = static_cast<std::size_t>(megabytes) << 20;
    page = kind == 0 ? bench::BookPage(size) : bench::DocumentationPage(size);
  }
  return page;
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

// The memory of one load, as a multiple of the source: held after it, the
// most the heap held through operator new at any moment of it, and the most
// resident memory the process added (allocator slack and all).
struct LoadMemory {
  double held = 0;
  double peak = 0;
  double residentPeak = 0;
};

template <class Work>
LoadMemory MeasureLoadMemory(std::size_t sourceSize, Work&& load) {
  const auto source = static_cast<double>(sourceSize);
  LoadMemory memory;
  const std::int64_t before = bench::LiveHeapBytes();
  counting = true;
  const std::int64_t newBefore = newBytes.load();
  newPeak = newBefore;
  memory.residentPeak = static_cast<double>(bench::PeakResidentOf(load)) / source;
  memory.held = static_cast<double>(bench::LiveHeapBytes() - before) / source;
  memory.peak = static_cast<double>(newPeak.load() - newBefore) / source;
  counting = false;
  return memory;
}

void ReportMemory(benchmark::State& state, const LoadMemory& memory) {
  state.counters["heap_per_source_byte"] = memory.held;
  state.counters["peak_per_source_byte"] = memory.peak;
  state.counters["rss_peak_per_source_byte"] = memory.residentPeak;
}

// Arguments: megabytes, page kind (0 light, 1 dense).
void BM_LoadLayoutFirstPaint(benchmark::State& state) {
  const std::string& page = Page(static_cast<int>(state.range(1)), static_cast<int>(state.range(0)));
  TheHost().view->Clear();
  const LoadMemory memory = MeasureLoadMemory(page.size(), [&] { Load(page); });
  for (auto _ : state) {
    state.PauseTiming();
    TheHost().view->Clear();
    state.ResumeTiming();
    LoadAndPaint(page);
  }
  ReportMemory(state, memory);
  state.counters["document_height"] = TheHost().view->DocumentHeight();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_LoadLayoutFirstPaint)
    ->Args({2, 0})
    ->Args({14, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({4, 1})
    ->Args({8, 1})
    ->Unit(benchmark::kMillisecond);

// A host's window of 800 x 1000 pixels with a viewer embedded through the
// exported functions, as a mail program shows a document.
struct EmbeddedViewer {
  EmbeddedViewer() {
    _GetZelvoHTMLVersion();
    window = pwhost_CreateWindow(800, 1000, nullptr);
    envelope = _EmbedBrowser(window, 0);
  }
  ~EmbeddedViewer() {
    _DeleteBrowser(envelope);
    pwhost_DestroyWindow(window);
  }
  // Shows the file and runs the messages: read, parse, layout, first paint.
  void Show(const std::string& file) const {
    benchmark::DoNotOptimize(_BrowserShowHtml(envelope, file.c_str(), "Times New Roman", 12));
    pwhost_PumpMessages();
  }
  PW_HWND window = 0;
  PW_HWND envelope = 0;
};

// The timed show, a function of its own so that profilers can single it out.
[[gnu::noinline]] void ShowAgain(const EmbeddedViewer& viewer, const std::string& file) { viewer.Show(file); }

// A file in the temporary folder holding text, removed at the end.
struct TemporaryPage {
  explicit TemporaryPage(const std::string& text) {
    const char* folder = std::getenv("TMPDIR");
    name = std::string(folder && *folder ? folder : "/tmp") + "/bench_viewer_" + std::to_string(::getpid()) + ".htm";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (file) {
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
    }
  }
  ~TemporaryPage() { std::remove(name.c_str()); }
  std::string name;
};

// The whole of what a host sees through the exported functions: the file read
// (and checked for a frameset), parsed, laid out and painted. Arguments:
// megabytes, page kind.
void BM_ShowHtmlFile(benchmark::State& state) {
  const std::string& page = Page(static_cast<int>(state.range(1)), static_cast<int>(state.range(0)));
  const TemporaryPage file(page);
  const EmbeddedViewer viewer;
  const LoadMemory memory = MeasureLoadMemory(page.size(), [&] { viewer.Show(file.name); });
  for (auto _ : state) ShowAgain(viewer, file.name);
  ReportMemory(state, memory);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(BM_ShowHtmlFile)->Args({2, 0})->Args({2, 1})->Unit(benchmark::kMillisecond);

// The fixed cost of every small mail: a one-line page shown in the 800 x 1000
// window.
void BM_OneLinePage(benchmark::State& state) {
  const TemporaryPage file("<html><body>Thanks, see you on Monday.</body></html>\n");
  const EmbeddedViewer viewer;
  viewer.Show(file.name);
  for (auto _ : state) ShowAgain(viewer, file.name);
}
BENCHMARK(BM_OneLinePage)->Unit(benchmark::kMillisecond);

// One page down from random places in the 14 MB page, painted at once.
void BM_PageScrollRepaint(benchmark::State& state) {
  const std::string& page = Page(0, 14);
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
