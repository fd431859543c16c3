// Renders one HTML page (a frameset too) to a PNG file through a frame viewer
// in a headless window:
//   render PAGE.html OUT.png [--width W] [--height H] [--full] [--pages DIR]
// --pages also prints the page on the virtual printer, one PNG per page in DIR.
// Exit codes: 0 written, 1 bad arguments, 2 page missing or unreadable,
// 3 output not writable.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "images/PngSave.h"
#include "images/PrinterPages.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/MessageBoxes.h"
#include "platform/win/user/Painting.h"
#include "viewer/TFrameViewer.h"
#include "viewer/THTMLViewer.h"
#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"

namespace {

constexpr int kMaxHeight = 32000;
constexpr int kMaxWidth = 32000;

struct Options {
  std::string page;
  std::string output;
  std::string pages;  // folder for the printed pages; empty: no printing
  int width = 800;
  int height = 600;
  bool full = false;
};

int Usage() {
  std::fprintf(stderr, "usage: render PAGE.html OUT.png [--width W] [--height H] [--full] [--pages DIR]\n");
  return 1;
}

bool ReadSize(const char* text, int& value) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || number < 1 || number > kMaxWidth) return false;
  value = static_cast<int>(number);
  return true;
}

bool ParseArguments(int argc, char** argv, Options& options) {
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--full") {
      options.full = true;
    } else if (arg == "--pages") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return false;
      options.pages = argv[++i];
    } else if (arg == "--width" || arg == "--height") {
      if (i + 1 >= argc || !ReadSize(argv[++i], arg == "--width" ? options.width : options.height)) return false;
    } else if (positional == 0) {
      options.page = arg;
      ++positional;
    } else if (positional == 1) {
      options.output = arg;
      ++positional;
    } else {
      return false;
    }
  }
  return positional == 2;
}

void Pump() { gui::Application->ProcessMessages(); }

// Grows the window until the whole document fits without a vertical bar; a
// new height can change the width left for the text, so this runs a few times.
// A frameset keeps the window's size.
void FitWholeDocument(gui::TForm& form, viewer::TFrameViewer& frames) {
  for (int round = 0; round < 4; ++round) {
    if (frames.GetViewerCount() != 1) break;
    const viewer::THTMLViewer& view = *frames.GetViewer(0);
    const int chrome = form.Height() - view.Height();  // frame borders around the viewer
    const int wanted = std::min(kMaxHeight, std::max(form.Height(), view.DocumentHeight() + 2 + chrome));
    if (wanted == form.Height()) break;
    form.SetBounds(0, 0, form.Width(), wanted);
    Pump();
  }
}

// Prints every page of the document into the folder; false when it cannot.
bool PrintPages(viewer::THTMLViewer& view, const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "render: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
    return false;
  }
  images::InstallPngPageWriter();
  win::virtualPrinter().outputFolder = folder;
  try {
    view.PrintPages(1, 9999);
  } catch (const gui::Exception& failure) {
    std::fprintf(stderr, "render: printing: %s\n", failure.Message().c_str());
    return false;
  }
  const auto& jobs = win::printedJobs();
  if (jobs.empty() || !jobs.back().finished) {
    std::fprintf(stderr, "render: no page was printed\n");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) return Usage();
  win::useVirtualClock();
  win::setMessageBoxEcho(true);
  // What the library's start-up does for a host: the engine's pictures and display values.
  engine::InitializeEngineUnit();

  auto form = std::make_unique<gui::TForm>(nullptr);
  form->SetBounds(0, 0, options.width, options.height);
  auto* view = new viewer::TFrameViewer(form.get());
  view->SetParent(form.get());
  view->SetAlign(gui::alClient);
  form->Show();
  Pump();
  try {
    view->LoadFromFile(options.page);
  } catch (const gui::Exception& error) {
    std::fprintf(stderr, "render: %s\n", error.Message().c_str());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "render: %s: %s\n", options.page.c_str(), error.what());
    return 2;
  }
  Pump();
  if (options.full) FitWholeDocument(*form, *view);
  form->Invalidate();
  for (int index = 0; index < view->GetViewerCount(); ++index) view->GetViewer(index)->PaintPanel().Invalidate();
  Pump();

  win::Surface* surface = win::windowSurface(form->Handle());
  if (!surface) {
    std::fprintf(stderr, "render: nothing was drawn\n");
    return 3;
  }
  try {
    images::SaveSurfaceAsPng(*surface, options.output);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "render: cannot write %s: %s\n", options.output.c_str(), error.what());
    return 3;
  }
  // A frameset prints its first frame.
  if (!options.pages.empty() && (view->GetViewerCount() == 0 || !PrintPages(*view->GetViewer(0), options.pages))) {
    return 3;
  }
  return 0;
}
