#include "viewer/TvwPrinter.h"

#include <algorithm>
#include <cstring>

#include "platform/gui/TApplication.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/kernel/Memory.h"

namespace viewer {
namespace {

struct PrinterUnit {
  TvwPrinter* current = nullptr;
  TvwPrinter* owned = nullptr;  // the object made on first request
};

PrinterUnit& Unit() {
  static PrinterUnit unit;
  return unit;
}

}  // namespace

void TPrinterCanvas::CreateHandle() {
  if (printer_.DeviceState() < TvwPrinter::kInformationContext)
    printer_.SetPrinterDeviceState(TvwPrinter::kInformationContext);
  SetHandle(printer_.DC());
}

void TPrinterCanvas::Changing() {
  printer_.CheckPrinting(true);
  TCanvas::Changing();
}

TvwPrinter::TvwPrinter() = default;

TvwPrinter::~TvwPrinter() {
  try {
    if (printingActive_) FinishJob();
    SetPrinterDeviceState(kNoContext);
  } catch (...) {
    // A destructor raises nothing; the context goes below in any case.
  }
  if (canvas_) canvas_->SetHandle(0);
  DeleteContext();
  ReleaseDeviceMode();
  if (Unit().current == this) Unit().current = nullptr;
  if (Unit().owned == this) Unit().owned = nullptr;
}

void TvwPrinter::SetPrinterDeviceState(int State) {
  if (State == deviceState_) return;
  if (State == kNoContext) {
    CheckPrinting(false);
    if (canvas_) canvas_->SetHandle(0);
    DeleteContext();
  } else if (State == kInformationContext) {
    // A device context serves for information too.
    if (deviceState_ == kDeviceContext) return;
    MakeContext(State);
  } else {
    if (canvas_) canvas_->SetHandle(0);
    DeleteContext();
    MakeContext(State);
  }
  deviceState_ = State;
}

void TvwPrinter::MakeContext(int State) {
  std::string device, driver, port;
  win::HGLOBAL libraryMode = 0;
  gui::Printer()->GetPrinter(device, driver, port, libraryMode);
  ReleaseDeviceMode();
  if (libraryMode) {
    const std::size_t size = win::GlobalSize(libraryMode);
    deviceMode_ = win::GlobalAlloc(win::GMEM_MOVEABLE | win::GMEM_ZEROINIT, size);
    if (deviceMode_) {
      lockedDeviceMode_ = win::GlobalLock(deviceMode_);
      std::memcpy(lockedDeviceMode_, win::GlobalLock(libraryMode), size);
      win::GlobalUnlock(libraryMode);
    }
  }
  if (dc_) DeleteContext();
  const auto* mode = static_cast<const win::DEVMODE*>(lockedDeviceMode_);
  dc_ = State == kInformationContext ? win::CreateIC(driver.c_str(), device.c_str(), port.c_str(), mode)
                                     : win::CreateDC(driver.c_str(), device.c_str(), port.c_str(), mode);
  // CreateIC answers the screen for an empty name: only a printer will do.
  if (dc_ && win::GetDeviceCaps(dc_, win::TECHNOLOGY) != win::DT_RASPRINTER) DeleteContext();
  if (!dc_) {
    deviceState_ = kNoContext;
    throw gui::EPrinter(gui::kPrinterNotValid);
  }
  if (canvas_) canvas_->SetHandle(dc_);
}

void TvwPrinter::DeleteContext() {
  if (dc_) win::DeleteDC(dc_);
  dc_ = 0;
}

void TvwPrinter::ReleaseDeviceMode() {
  if (!deviceMode_) return;
  win::GlobalUnlock(deviceMode_);
  win::GlobalFree(deviceMode_);
  deviceMode_ = 0;
  lockedDeviceMode_ = nullptr;
}

void TvwPrinter::CheckPrinting(bool Value) const {
  if (printingActive_ == Value) return;
  throw gui::EPrinter(Value ? gui::kPrinterNotPrinting : gui::kPrintingInProgress);
}

void TvwPrinter::StartJob() {
  CheckPrinting(false);
  SetPrinterDeviceState(kDeviceContext);
  GetCanvas().Refresh();
  printingActive_ = true;
  abortedFlag_ = false;
  currentPage_ = 1;
  char documentName[kJobTitleLength + 1] = {};
  std::memcpy(documentName, JobTitle.data(), std::min(JobTitle.size(), kJobTitleLength));
  win::DOCINFO info;
  info.cbSize = 20;
  info.lpszDocName = documentName;
  win::SetAbortProc(dc_, PrinterAbortProc);
  win::StartDoc(dc_, &info);
  win::StartPage(dc_);
}

void TvwPrinter::NextPage() {
  CheckPrinting(true);
  win::EndPage(dc_);
  // The abort procedure runs messages inside EndPage; one of them may have ended the job.
  if (!printingActive_) return;
  win::StartPage(dc_);
  ++currentPage_;
  GetCanvas().Refresh();
}

void TvwPrinter::FinishJob() {
  CheckPrinting(true);
  win::EndPage(dc_);
  if (!abortedFlag_) win::EndDoc(dc_);
  printingActive_ = false;
  abortedFlag_ = false;
  currentPage_ = 0;
  ReleaseDeviceMode();
}

void TvwPrinter::AbortJob() {
  CheckPrinting(true);
  win::AbortDoc(GetCanvas().Handle());
  abortedFlag_ = true;
  FinishJob();
}

TPrinterCanvas& TvwPrinter::GetCanvas() {
  if (!canvas_) canvas_ = std::make_unique<TPrinterCanvas>(*this);
  return *canvas_;
}

int TvwPrinter::PageHeightPixels() {
  if (deviceState_ < kInformationContext) SetPrinterDeviceState(kInformationContext);
  return win::GetDeviceCaps(dc_, win::VERTRES);
}

int TvwPrinter::PageWidthPixels() {
  if (deviceState_ < kInformationContext) SetPrinterDeviceState(kInformationContext);
  return win::GetDeviceCaps(dc_, win::HORZRES);
}

TvwPrinter* CurrentPrinterObject() {
  PrinterUnit& unit = Unit();
  if (!unit.current) {
    if (!unit.owned) unit.owned = new TvwPrinter;
    unit.current = unit.owned;
  }
  return unit.current;
}

TvwPrinter* SetCurrentPrinterObject(TvwPrinter* Printer) {
  TvwPrinter* previous = Unit().current;
  Unit().current = Printer;
  return previous;
}

void FinalizePrinterUnit() { delete Unit().owned; }

win::BOOL PrinterAbortProc(win::HDC, int) {
  gui::Application->ProcessMessages();
  return CurrentPrinterObject()->AbortedFlag() ? win::FALSE : win::TRUE;
}

}  // namespace viewer
