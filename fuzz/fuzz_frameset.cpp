// Arbitrary bytes as a frameset document in a temporary folder beside a few
// small files its frames may name (a page, a nested frameset, a text file and
// the document itself), loaded into a 300 x 200 frame viewer, laid out at
// two sizes, its borders pressed and dragged wherever they lie, painted and
// cleared.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageBoxes.h"
#include "viewer/TFrameViewer.h"

namespace {

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
    form->SetBounds(0, 0, 300, 200);
    view = new viewer::TFrameViewer(form.get());
    view->SetParent(form.get());
    view->SetBounds(0, 0, 300, 200);
    form->Show();
  }
  ~Host() {
    form.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  std::unique_ptr<gui::TForm> form;
  viewer::TFrameViewer* view = nullptr;
};

void Pump() { gui::Application->ProcessMessages(); }

// Presses along a diagonal of the viewer and drags each press a little way,
// so that whatever borders the document made get grabbed and moved.
void DragAcross(viewer::TFrameViewer& view) {
  for (int step = 0; step < 12; ++step) {
    const win::POINT from = view.ClientToScreen({step * view.Width() / 11, step * view.Height() / 11});
    win::postMouseInput(win::WM_MOUSEMOVE, from);
    win::postMouseInput(win::WM_LBUTTONDOWN, from);
    win::postMouseInput(win::WM_MOUSEMOVE, {from.x + 37, from.y - 23});
    win::postMouseInput(win::WM_LBUTTONUP, {from.x + 37, from.y - 23});
    Pump();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Host host;
  viewer::TFrameViewer& view = *host.view;
  const std::filesystem::path document = host.folder / "doc.htm";
  Write(document, std::string(reinterpret_cast<const char*>(data), size));
  try {
    view.LoadFromFile(document.string());
  } catch (const std::exception&) {
    // A document that cannot be read is refused; the viewer stays usable.
  }
  for (const int width : {300, 120}) {
    view.SetBounds(0, 0, width, 200);
    Pump();
    DragAcross(view);
  }
  view.Repaint();
  Pump();
  view.Clear();
  Pump();
  return 0;
}
