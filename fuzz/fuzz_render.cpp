// Arbitrary bytes as a document in a viewer: loaded as a string at one of
// three widths, scrolled to the top or to the end (both chosen by the first
// byte) and painted there once, all selected and the selection read back,
// then cleared. The window and the viewer are made once per process; the
// viewer is low, so that painting (the same code at any height) costs little
// next to parsing and layout.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/document/TSectionList.h"
#include "fuzz/ViewerInputState.h"
#include "fuzz/ViewerSanitizerOptions.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/MessageBoxes.h"
#include "viewer/THTMLViewer.h"

namespace {

constexpr std::array<int, 3> kWidths = {300, 90, 640};
constexpr int kHeight = 60;

void Pump() { gui::Application->ProcessMessages(); }

struct Host {
  Host() {
    win::setMessageBoxEcho(false);
    win::useVirtualClock();
    form = std::make_unique<gui::TForm>(nullptr);
    form->SetBounds(0, 0, kWidths[2], kHeight);
    view = new viewer::THTMLViewer(form.get());
    view->SetParent(form.get());
    view->SetBounds(0, 0, kWidths[0], kHeight);
    form->Show();
    // What every load shares (fonts, the standard controls' resources) is made
    // here once, not inside the first input.
    view->LoadSourceString("<p>x<b>y</b><i>z</i><pre>p</pre><table><tr><td>c</table>", "");
    Pump();
    view->Clear();
    Pump();
  }
  std::unique_ptr<gui::TForm> form;
  viewer::THTMLViewer* view = nullptr;
};

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
  viewer::THTMLViewer& view = *host.view;
  const unsigned choice = size > 0 ? data[0] : 0;
  const int width = kWidths[choice % kWidths.size()];
  const bool atEnd = (choice / kWidths.size()) % 2 != 0;
  if (view.Width() != width) view.SetBounds(0, 0, width, kHeight);
  view.LoadSourceString(std::string(reinterpret_cast<const char*>(data), size), "");
  // Scrolled before the first paint, so that the document is painted once.
  view.SetVerticalPosition(atEnd ? INT_MAX : 0);
  Pump();
  view.SetSelectionStart(0);
  view.SetSelectionLength(INT_MAX);
  (void)view.GetSelectionText();
  view.Clear();
  Pump();  // what the clear released goes within this input, so no leak check reruns it
  ForgetWhatTheInputLeft();
  return 0;
}
