#include "platform/win/gdi/PrintJobs.h"

#include <cstdio>
#include <memory>
#include <unordered_map>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/kernel/ReplacementFile.h"

namespace win {
namespace {

// The spooler state of one printer DC.
struct PrinterState {
  bool drawing = false;  // a device context, not an information context
  ABORTPROC abortProc = nullptr;
  bool jobOpen = false;
  bool pageOpen = false;
  std::size_t record = 0;  // index into printedJobs()
  int jobNumber = 0;
  std::string folder;      // fixed when the job starts
  std::vector<std::string> pendingFiles;  // written pages under their temporary names
  Surface page;
};

std::unordered_map<HDC, std::unique_ptr<PrinterState>>& printerStates() {
  static auto* states = new std::unordered_map<HDC, std::unique_ptr<PrinterState>>;
  return *states;
}

std::vector<PrintedJob>& jobRecords() {
  static auto* records = new std::vector<PrintedJob>;
  return *records;
}

int& lastJobNumber() {
  static int number = 0;
  return number;
}

PrinterState* printerState(HDC dc) {
  auto found = printerStates().find(dc);
  return found == printerStates().end() ? nullptr : found->second.get();
}

std::string pagePath(const PrinterState& state, int page) {
  char name[64];
  std::snprintf(name, sizeof name, "job%d-page%d.", state.jobNumber, page);
  return state.folder + "/" + name + printerPageWriter().extension;
}

std::string temporaryPath(const std::string& path) { return path + ".part"; }

// Takes the page surface away from the DC and frees its pixels.
void dropPage(HDC dc, PrinterState& state) {
  if (DeviceContext* context = dcFromHandle(dc)) {
    context->surface = nullptr;
    context->clipChanged();
  }
  state.page = Surface{};
  state.pageOpen = false;
}

// Ends the job without output: every page written so far is removed.
void cancelJob(HDC dc, PrinterState& state) {
  dropPage(dc, state);
  for (const std::string& file : state.pendingFiles) std::remove(file.c_str());
  state.pendingFiles.clear();
  jobRecords()[state.record].aborted = true;
  state.jobOpen = false;
}

bool writePage(PrinterState& state) {
  if (state.folder.empty()) return true;
  const int pageNumber = static_cast<int>(state.pendingFiles.size()) + 1;
  const std::string path = temporaryPath(pagePath(state, pageNumber));
  if (!printerPageWriter().write(state.page, path)) {
    // What a writer left there goes; a folder, device, FIFO or socket it refused stays.
    if (replaceableTarget(path)) std::remove(path.c_str());
    return false;
  }
  state.pendingFiles.push_back(path);
  return true;
}

}  // namespace

HDC createPrinterContext(const DEVMODE* mode, bool drawing) {
  const VirtualPrinterSettings& settings = virtualPrinter();
  const bool monochrome =
      settings.monochrome || (mode && (mode->dmFields & DM_COLOR) && mode->dmColor == DMCOLOR_MONOCHROME);
  const HDC handle = createDeviceContextForSurface(nullptr, POINT{}, RECT{}, monochrome ? 1 : 24);
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return 0;
  dc->technology = DT_RASPRINTER;
  dc->pixelsPerInch = settings.dpi > 0 ? settings.dpi : 0;
  dc->physicalSize = SIZE{settings.paperWidth, settings.paperHeight};
  dc->physicalOffset = POINT{settings.offsetX, settings.offsetY};
  dc->resolution = SIZE{settings.paperWidth - settings.offsetX - settings.rightGap,
                        settings.paperHeight - settings.offsetY - settings.bottomGap};
  dc->deviceOrigin = dc->physicalOffset;
  dc->visibleBounds = RECT{settings.offsetX, settings.offsetY, settings.paperWidth - settings.rightGap,
                           settings.paperHeight - settings.bottomGap};
  auto state = std::make_unique<PrinterState>();
  state->drawing = drawing;
  printerStates()[handle] = std::move(state);
  return handle;
}

HDC CreateDC(const char*, const char* device, const char*, const DEVMODE* mode) {
  if (!isVirtualPrinterName(device)) return 0;
  return createPrinterContext(mode, /*drawing=*/true);
}

int SetAbortProc(HDC dc, ABORTPROC proc) {
  PrinterState* state = printerState(dc);
  if (!state) return SP_ERROR;
  state->abortProc = proc;
  return 1;
}

int StartDoc(HDC dc, const DOCINFO* info) {
  PrinterState* state = printerState(dc);
  if (!state || !state->drawing || state->jobOpen) return SP_ERROR;
  state->jobOpen = true;
  state->jobNumber = ++lastJobNumber();
  state->folder = printerOutputFolder();
  state->pendingFiles.clear();
  PrintedJob record;
  if (info && info->lpszDocName) record.documentName = info->lpszDocName;
  jobRecords().push_back(std::move(record));
  state->record = jobRecords().size() - 1;
  return state->jobNumber;
}

int StartPage(HDC dc) {
  PrinterState* state = printerState(dc);
  DeviceContext* context = dcFromHandle(dc);
  if (!state || !context || !state->jobOpen || state->pageOpen) return SP_ERROR;
  const VirtualPrinterSettings& settings = virtualPrinter();
  if (!allocateSurface(state->page, settings.paperWidth, settings.paperHeight, 0xFFFFFF)) {
    cancelJob(dc, *state);
    return SP_ERROR;
  }
  state->page.monochrome = context->bitsPixel == 1;
  context->surface = &state->page;
  context->clipChanged();
  state->pageOpen = true;
  ++jobRecords()[state->record].pagesStarted;
  return 1;
}

int EndPage(HDC dc) {
  PrinterState* state = printerState(dc);
  if (!state || !state->jobOpen) return SP_ERROR;
  if (!state->pageOpen) return SP_ERROR;
  if (state->abortProc) {
    const BOOL keepGoing = state->abortProc(dc, 0);
    // The procedure pumps messages: it may have aborted the job or deleted the DC.
    state = printerState(dc);
    if (!state || !state->jobOpen) return SP_APPABORT;
    if (!keepGoing) {
      cancelJob(dc, *state);
      return SP_APPABORT;
    }
  }
  if (!writePage(*state)) {
    jobRecords()[state->record].writeFailed = true;
    cancelJob(dc, *state);
    return SP_ERROR;
  }
  dropPage(dc, *state);
  return 1;
}

int EndDoc(HDC dc) {
  PrinterState* state = printerState(dc);
  if (!state || !state->jobOpen) return SP_ERROR;
  // A page still open ends as EndPage would end it: what was drawn is printed.
  if (state->pageOpen) {
    const int ended = EndPage(dc);
    if (ended <= 0) return ended;
  }
  PrintedJob& record = jobRecords()[state->record];
  for (const std::string& temporary : state->pendingFiles) {
    const std::string final = temporary.substr(0, temporary.size() - 5);
    if (!replaceableTarget(final) || std::rename(temporary.c_str(), final.c_str()) != 0) {
      record.writeFailed = true;
      cancelJob(dc, *state);
      for (const std::string& done : record.files) std::remove(done.c_str());
      record.files.clear();
      return SP_ERROR;
    }
    record.files.push_back(final);
  }
  state->pendingFiles.clear();
  record.finished = true;
  state->jobOpen = false;
  return 1;
}

int AbortDoc(HDC dc) {
  PrinterState* state = printerState(dc);
  if (!state || !state->jobOpen) return SP_ERROR;
  cancelJob(dc, *state);
  return 1;
}

void abandonPrintJob(HDC dc) {
  PrinterState* state = printerState(dc);
  if (!state) return;
  if (state->jobOpen) cancelJob(dc, *state);
  printerStates().erase(dc);
}

const std::vector<PrintedJob>& printedJobs() { return jobRecords(); }

void clearPrintedJobs() { jobRecords().clear(); }

}  // namespace win
