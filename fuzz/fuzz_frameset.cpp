// Arbitrary bytes as a frameset document in a temporary folder beside a few
// small files its frames may name (a page, a nested frameset, a text file and
// the document itself), loaded into a frame viewer 300 or 120 wide (chosen by
// the first byte), painted, its borders pressed and dragged wherever they lie,
// and cleared. The window, the viewer and the files are made once per process.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "fuzz/ViewerInputState.h"
#include "fuzz/ViewerSanitizerOptions.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/UpdateBatch.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageBoxes.h"
#include "viewer/TFrameViewer.h"

namespace {

constexpr std::array<int, 2> kWidths = {300, 120};
constexpr int kHeight = 200;

void Pump() { gui::Application->ProcessMessages(); }

void Write(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct Host {
  Host() {
    win::setMessageBoxEcho(false);
    win::useVirtualClock();
    folder = std::filesystem::temp_directory_path() / ("fuzz_frameset_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    Write(folder / "a.htm", "<title>a</title><p>First <b>frame</b>");
    Write(folder / "b.htm", "<frameset rows=\"40%,*\"><frame src=a.htm><frame src=doc.htm></frameset>");
    Write(folder / "c.txt", "plain text\r\nsecond line");
    form = std::make_unique<gui::TForm>(nullptr);
    form->SetBounds(0, 0, kWidths[0], kHeight);
    view = new viewer::TFrameViewer(form.get());
    view->SetParent(form.get());
    view->SetBounds(0, 0, kWidths[0], kHeight);
    form->Show();
    // What every load shares is made here once, not inside the first input.
    view->LoadFromFile((folder / "b.htm").string());
    Pump();
    view->Clear();
    Pump();
    document = (folder / "doc.htm").string();
    documentFile = ::open(document.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (documentFile < 0) std::abort();
  }
  ~Host() {
    form.reset();
    ::close(documentFile);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  // The input is written over the same open file each time: opening, truncating
  // and closing a file per input cost more than the small load it feeds.
  void WriteDocument(const std::uint8_t* data, std::size_t size) const {
    for (std::size_t done = 0; done < size;) {
      const ssize_t wrote = ::pwrite(documentFile, data + done, size - done, static_cast<off_t>(done));
      if (wrote <= 0) std::abort();
      done += static_cast<std::size_t>(wrote);
    }
    if (::ftruncate(documentFile, static_cast<off_t>(size)) != 0) std::abort();
  }
  std::filesystem::path folder;
  std::string document;
  int documentFile = -1;
  std::unique_ptr<gui::TForm> form;
  viewer::TFrameViewer* view = nullptr;
};

// Presses along a diagonal of the viewer and drags each press a little way,
// so that whatever borders the document made get grabbed and moved. The
// messages are handled in the order they were posted, so one pump serves all.
void DragAcross(viewer::TFrameViewer& view) {
  for (int step = 0; step < 12; ++step) {
    const win::POINT from = view.ClientToScreen({step * view.Width() / 11, step * view.Height() / 11});
    win::postMouseInput(win::WM_MOUSEMOVE, from);
    win::postMouseInput(win::WM_LBUTTONDOWN, from);
    win::postMouseInput(win::WM_MOUSEMOVE, {from.x + 37, from.y - 23});
    win::postMouseInput(win::WM_LBUTTONUP, {from.x + 37, from.y - 23});
  }
  Pump();
}

Host& TheHost() {
  static Host host;
  return host;
}

}  // namespace

// The host is made before the first input, so that what start-up keeps for the
// whole process (fontconfig's configuration among it) is never taken for a leak
// of an input.
extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  TheHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Host& host = TheHost();
  viewer::TFrameViewer& view = *host.view;
  const int width = kWidths[size > 0 ? data[0] % kWidths.size() : 0];
  if (view.Width() != width) view.SetBounds(0, 0, width, kHeight);
  host.WriteDocument(data, size);
  try {
    // As a host's show does: the frames, sets and viewer that the load
    // repaints in turn are painted once, when the load is complete.
    gui::UpdateBatch paints;
    view.LoadFromFile(host.document);
    paints.Flush();
  } catch (const std::exception&) {
    // A document that cannot be read is refused; the viewer stays usable.
  }
  Pump();
  DragAcross(view);
  view.Clear();
  Pump();
  ForgetWhatTheInputLeft();
  return 0;
}
