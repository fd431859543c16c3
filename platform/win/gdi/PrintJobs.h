#pragma once
// Printer device contexts and the spooler calls on them, over the virtual
// printer of VirtualPrinter.h. A printer DC measures like the device (its
// resolution, offsets and depth come from the settings when it is made) and
// draws only between StartPage and EndPage, onto a white page surface of the
// paper's size whose device origin is the printable area's top left corner.
// EndPage first asks the abort procedure; a page that ends normally is written
// under a temporary name, and EndDoc gives every page its final name, so an
// aborted job leaves no file behind.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace win {

// The fields of a device mode that our printer reads; the rest of the block is
// kept as given. dmSize covers the whole record.
constexpr std::int16_t DMCOLOR_MONOCHROME = 1;
constexpr std::int16_t DMCOLOR_COLOR = 2;
constexpr DWORD DM_COLOR = 0x00000800;

struct DEVMODE {
  char dmDeviceName[32] = {};
  WORD dmSpecVersion = 0x0401;
  WORD dmDriverVersion = 0;
  WORD dmSize = sizeof(DEVMODE);
  WORD dmDriverExtra = 0;
  DWORD dmFields = 0;
  std::int16_t dmColor = DMCOLOR_COLOR;
};

struct DOCINFO {
  int cbSize = 20;
  const char* lpszDocName = nullptr;
  const char* lpszOutput = nullptr;
  const char* lpszDatatype = nullptr;
  DWORD fwType = 0;
};

// Errors of the spooler calls.
constexpr int SP_ERROR = -1;
constexpr int SP_APPABORT = -2;

// Called by EndPage with the DC and 0; returning FALSE aborts the job.
using ABORTPROC = BOOL (*)(HDC dc, int code);

// A device context for the virtual printer, or 0 when `device` names another
// printer. A device mode with DM_COLOR and DMCOLOR_MONOCHROME makes a 1-bit DC.
HDC CreateDC(const char* driver, const char* device, const char* port, const DEVMODE* mode);
// The printer DC behind CreateDC, and behind CreateIC for the printer
// (`drawing` false: it measures, but takes no jobs).
HDC createPrinterContext(const DEVMODE* mode, bool drawing);

int SetAbortProc(HDC dc, ABORTPROC proc);
// A positive job number, or SP_ERROR (not a printer DC, or a job already open).
int StartDoc(HDC dc, const DOCINFO* info);
int StartPage(HDC dc);
// Asks the abort procedure, then writes the page. SP_APPABORT when the job was
// aborted (by the procedure now or before), SP_ERROR without an open page or
// when the page cannot be written (the job is then aborted).
int EndPage(HDC dc);
int EndDoc(HDC dc);
// Drops the open page and every page written so far.
int AbortDoc(HDC dc);

// Called when a DC is deleted: a job still open there is aborted.
void abandonPrintJob(HDC dc);

// What the virtual printer did with each job, oldest first; for hosts and tests.
struct PrintedJob {
  std::string documentName;
  int pagesStarted = 0;
  std::vector<std::string> files;  // final page files in page order; none without an output folder
  bool finished = false;           // EndDoc reached
  bool aborted = false;            // AbortDoc, the abort procedure, a failed write or the DC deleted mid-job
  bool writeFailed = false;        // a page file or its final name could not be written
};
const std::vector<PrintedJob>& printedJobs();
void clearPrintedJobs();

}  // namespace win
