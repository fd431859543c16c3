// Renders one HTML page (a frameset too) to a PNG file, as a host program
// does through libpagewell.so: a window of its own, a viewer embedded in it,
// the page shown with the chosen font, the messages run, the window saved.
//   render PAGE.html OUT.png [--width W] [--height H] [--font NAME] [--size N] [--full] [--pages DIR]
// --full makes the window tall enough that the viewer needs no vertical bar.
// --pages also prints the page, one PNG per page in DIR.
// Exit codes: 0 written, 1 bad arguments, 2 page missing or unreadable (the
// library's message box says why), 3 output not writable.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "pagewell.h"
#include "pagewell_host.h"

namespace {

constexpr int kMaxSide = 32000;

struct Options {
  std::string page;
  std::string output;
  std::string pages;  // folder for the printed pages; empty: no printing
  std::string font = "Times New Roman";
  int size = 12;
  int width = 800;
  int height = 600;
  bool full = false;
};

int Usage() {
  fprintf(stderr,
          "usage: render PAGE.html OUT.png [--width W] [--height H] [--font NAME] [--size N] [--full] "
          "[--pages DIR]\n");
  return 1;
}

bool ReadNumber(const char* text, int low, int high, int& value) {
  char* end = nullptr;
  const long number = strtol(text, &end, 10);
  if (end == text || *end != '\0' || number < low || number > high) return false;
  value = static_cast<int>(number);
  return true;
}

bool ParseArguments(int argc, char** argv, Options& options) {
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc && argv[i + 1][0] != '\0';
    if (arg == "--full") {
      options.full = true;
    } else if (arg == "--pages" || arg == "--font") {
      if (!hasValue) return false;
      (arg == "--pages" ? options.pages : options.font) = argv[++i];
    } else if (arg == "--width" || arg == "--height") {
      if (!hasValue || !ReadNumber(argv[++i], 1, kMaxSide, arg == "--width" ? options.width : options.height))
        return false;
    } else if (arg == "--size") {
      if (!hasValue || !ReadNumber(argv[++i], 1, 200, options.size)) return false;
    } else if (positional < 2) {
      (positional++ == 0 ? options.page : options.output) = arg;
    } else {
      return false;
    }
  }
  return positional == 2;
}

// Looks for the viewer's vertical bar among the envelope's windows.
int FindVerticalBar(PW_HWND window, intptr_t data) {
  char name[64];
  if (pwhost_GetClassName(window, name, sizeof name) > 0 && strcmp(name, "T32ScrollBar") == 0) {
    auto* found = reinterpret_cast<PW_HWND*>(data);
    if (*found != 0) {  // a second viewer: a frameset keeps the window's size
      *found = 0;
      return 0;
    }
    *found = window;
  }
  return 1;
}

// Says why the output could not be written, where the host can tell: the
// library never replaces a folder, device, FIFO or socket.
void ReportWriteFailure(const std::string& path) {
  struct stat info {};
  const char* reason = "";
  if (lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
    reason = S_ISDIR(info.st_mode) ? ": it is a folder" : ": it is a device, FIFO or socket, not a file";
  fprintf(stderr, "render: cannot write %s%s\n", path.c_str(), reason);
}

// Prints every page into the folder; false (with the reason said) when no page came out.
bool PrintInto(PW_HWND envelope, const std::string& folder) {
  if (!pwhost_SetPrintFolder(folder.c_str())) {
    fprintf(stderr, "render: cannot make %s\n", folder.c_str());
    return false;
  }
  // The folder's entries by name and file: a page printed over a page of an
  // earlier run is a new file (pages are renamed into place), so it counts.
  const auto entries = [&] {
    std::set<std::pair<std::string, ino_t>> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      struct stat info {};
      if (lstat(it->path().c_str(), &info) == 0) found.emplace(it->path().filename().string(), info.st_ino);
    }
    return found;
  };
  const auto before = entries();
  const auto printed = [&] {
    for (const auto& entry : entries())
      if (!before.count(entry)) return true;
    return false;
  };
  if (!_Print(envelope, 0) || !printed()) {
    fprintf(stderr, "render: no page was printed\n");
    return false;
  }
  return true;
}

// Grows the window until the document's height (the bar's range) fits the
// viewer; a taller window can leave the text more width, so a few rounds.
void FitWholeDocument(PW_HWND host, PW_HWND envelope, int width, int& height) {
  for (int round = 0; round < 4; ++round) {
    PW_HWND bar = 0;
    pwhost_EnumChildWindows(envelope, FindVerticalBar, reinterpret_cast<intptr_t>(&bar));
    pwhost_ScrollInfo info{};
    if (bar == 0 || !pwhost_GetScrollInfo(bar, &info)) return;
    const long long visible = static_cast<long long>(info.Page) - 1;  // the viewer's text height
    if (info.Max <= visible) return;  // the whole range is in view: no bar needed
    const long long wanted = height + (info.Max - visible);
    const int next = wanted > kMaxSide ? kMaxSide : static_cast<int>(wanted);
    if (next == height) return;
    height = next;
    pwhost_MoveWindow(host, 0, 0, width, height);
    pwhost_MoveWindow(envelope, 0, 0, width, height);
    pwhost_PumpMessages();
  }
}

int Render(const Options& options) {
  if (_GetZelvoHTMLVersion() != PAGEWELL_INTERFACE_VERSION) {
    fprintf(stderr, "render: the library speaks another interface version\n");
    return 2;
  }
  pwhost_UseVirtualClock();
  int height = options.height;
  const PW_HWND host = pwhost_CreateWindow(options.width, height, nullptr);
  const PW_HWND envelope = host ? _EmbedBrowser(host, 0) : 0;
  if (envelope == 0) return 2;
  int result = 0;
  if (!_BrowserShowHtml(envelope, options.page.c_str(), options.font.c_str(), options.size)) {
    result = 2;  // the message box, written to standard error, says why
  } else {
    pwhost_PumpMessages();
    if (options.full) FitWholeDocument(host, envelope, options.width, height);
    pwhost_PumpMessages();
    if (!pwhost_SaveWindowPng(host, options.output.c_str())) {
      ReportWriteFailure(options.output);
      result = 3;
    } else if (!options.pages.empty() && !PrintInto(envelope, options.pages)) {
      result = 3;
    }
  }
  _DeleteBrowser(envelope);
  pwhost_DestroyWindow(host);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) return Usage();
  return Render(options);
}
