#pragma once
// The viewer's printer object: a device context of its own on the printer the
// class library has chosen, with its own job and page state, so that a print
// run does not disturb the library's printer. One printer object is "current"
// for the unit; the abort procedure asks that one whether its job was aborted.
#include <memory>
#include <string>

#include "platform/gui/TCanvas.h"
#include "platform/gui/TPrinter.h"
#include "platform/win/Types.h"

namespace viewer {

class TvwPrinter;

// The canvas of a printer object: it makes the printer's context on demand
// and refuses to draw outside a job.
class TPrinterCanvas : public gui::TCanvas {
 public:
  explicit TPrinterCanvas(TvwPrinter& Printer) : printer_(Printer) {}

 protected:
  void CreateHandle() override;
  void Changing() override;

 private:
  TvwPrinter& printer_;
};

class TvwPrinter : public gui::TObject {
 public:
  // Device states.
  static constexpr int kNoContext = 0;
  static constexpr int kInformationContext = 1;
  static constexpr int kDeviceContext = 2;
  // The document name reaches the spooler cut to this many bytes.
  static constexpr std::size_t kJobTitleLength = 31;

  TvwPrinter();
  ~TvwPrinter() override;

  std::string JobTitle;
  bool PrintingActive() const { return printingActive_; }
  bool AbortedFlag() const { return abortedFlag_; }
  int CurrentPage() const { return currentPage_; }
  int DeviceState() const { return deviceState_; }
  win::HDC DC() const { return dc_; }

  // Raises EPrinter "Printing in progress" when asked for state 0 during a job,
  // "Printer selected is not valid" when no context can be made (DC is then 0).
  void SetPrinterDeviceState(int State);
  // Raises unless PrintingActive equals Value.
  void CheckPrinting(bool Value) const;
  void StartJob();
  void NextPage();
  void FinishJob();
  void AbortJob();
  TPrinterCanvas& GetCanvas();
  int PageHeightPixels();
  int PageWidthPixels();

 private:
  void MakeContext(int State);
  void ReleaseDeviceMode();
  void DeleteContext();

  std::unique_ptr<TPrinterCanvas> canvas_;
  bool printingActive_ = false;
  bool abortedFlag_ = false;
  int currentPage_ = 0;
  int deviceState_ = kNoContext;
  win::HDC dc_ = 0;
  win::HGLOBAL deviceMode_ = 0;  // our copy of the library printer's device mode
  void* lockedDeviceMode_ = nullptr;
};

// The unit's current printer object, made (and owned by the unit) on first
// request when none is current.
TvwPrinter* CurrentPrinterObject();
// Makes Printer current (nullptr is allowed) and returns the previous one.
TvwPrinter* SetCurrentPrinterObject(TvwPrinter* Printer);
// Frees the printer object the unit made; for shutdown and tests.
void FinalizePrinterUnit();

// The abort procedure given to the spooler: runs the application's pending
// messages, then asks the current printer object whether to go on.
win::BOOL PrinterAbortProc(win::HDC DC, int Code);

}  // namespace viewer
