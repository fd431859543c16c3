#pragma once
// The class library's printer: which printer the program prints on (device,
// driver, port and device mode, as CreateDC takes them), with an information
// context for its measurements. Here the only printer is the platform's virtual
// printer, chosen by default.
#include <string>

#include "platform/gui/Exception.h"
#include "platform/gui/TObject.h"
#include "platform/win/Types.h"

namespace gui {

class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

// The class library's texts for printer errors.
inline constexpr const char* kPrinterNotPrinting = "Printer is not currently printing";
inline constexpr const char* kPrintingInProgress = "Printing in progress";
inline constexpr const char* kPrinterNotValid = "Printer selected is not valid";

class TPrinter : public TObject {
 public:
  TPrinter();
  ~TPrinter() override;

  // The printer in use. DeviceMode is a movable global block holding a
  // win::DEVMODE that stays the printer's own: callers copy it.
  void GetPrinter(std::string& Device, std::string& Driver, std::string& Port, win::HGLOBAL& DeviceMode);
  // Chooses a printer by name; DeviceMode (may be 0) is copied. A name that is
  // not a printer is accepted here and fails when a context is made.
  void SetPrinter(const std::string& Device, const std::string& Driver, const std::string& Port,
                  win::HGLOBAL DeviceMode);

  // An information context of the printer, made on first use; raises EPrinter
  // "Printer selected is not valid" when the printer cannot be reached.
  win::HDC Handle();
  // HORZRES and VERTRES of the printer.
  int PageWidth();
  int PageHeight();

 private:
  void FreeHandle();

  std::string device_;
  std::string driver_ = "winspool";
  std::string port_ = "FILE:";
  win::HGLOBAL deviceMode_ = 0;
  win::HDC handle_ = 0;
};

// The program's printer, made on first use.
TPrinter* Printer();

}  // namespace gui
