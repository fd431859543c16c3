// Arbitrary bytes as a document in a 300 x 200 viewer: loaded as a string,
// laid out at three widths, painted, scrolled to the end, all selected and
// the selection read back, then cleared.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/MessageBoxes.h"
#include "viewer/THTMLViewer.h"

namespace {

struct Host {
  Host() {
    win::setMessageBoxEcho(false);
    win::useVirtualClock();
    form = std::make_unique<gui::TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    view = new viewer::THTMLViewer(form.get());
    view->SetParent(form.get());
    view->SetBounds(0, 0, 300, 200);
    form->Show();
  }
  std::unique_ptr<gui::TForm> form;
  viewer::THTMLViewer* view = nullptr;
};

void Pump() { gui::Application->ProcessMessages(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Host host;
  viewer::THTMLViewer& view = *host.view;
  view.LoadSourceString(std::string(reinterpret_cast<const char*>(data), size), "");
  for (const int width : {300, 90, 640}) {
    view.SetBounds(0, 0, width, 200);
    Pump();
  }
  view.SetVerticalPosition(INT_MAX);
  view.PaintPanel().Invalidate();
  Pump();
  view.SetSelectionStart(0);
  view.SetSelectionLength(INT_MAX);
  (void)view.GetSelectionText();
  view.Clear();
  Pump();
  return 0;
}
