#pragma once
// The one printer of the headless platform: a virtual device whose pages are
// surfaces. Its paper, resolution, unprintable borders and colour are settings
// that the host and tests choose. Pages are written as image files into an
// output folder as each page ends, so a long job never holds more than one page
// in memory. The device-context side (CreateDC, StartDoc, EndPage, ...) is in
// PrintJobs.h.
#include <functional>
#include <string>

#include "platform/win/gdi/Surface.h"

namespace win {

// The settings of the virtual printer; sizes are device pixels at `dpi`.
struct VirtualPrinterSettings {
  std::string deviceName = "Virtual Printer";
  int dpi = 300;
  int paperWidth = 2550;    // US Letter, 8.5 in
  int paperHeight = 3300;   // 11 in
  int offsetX = 0;          // unprintable left border (PHYSICALOFFSETX)
  int offsetY = 0;          // unprintable top border (PHYSICALOFFSETY)
  int rightGap = 0;         // unprintable right border
  int bottomGap = 0;        // unprintable bottom border
  bool monochrome = false;  // a 1-bit device instead of 24-bit colour
  // Where pages are written; empty means the PAGEWELL_PRINTER_OUTPUT environment
  // variable, and without that pages are drawn and dropped.
  std::string outputFolder;
};

VirtualPrinterSettings& virtualPrinter();
// Back to the defaults; for tests.
void resetVirtualPrinter();
// True when `device` names the virtual printer (case ignored).
bool isVirtualPrinterName(const char* device);
// The folder pages go to now (the setting, else the environment); may be empty.
std::string printerOutputFolder();

// Writes one finished page to a file, whole or not at all; false on failure.
// The platform cannot encode PNG itself: the image layer installs its writer at
// start-up. Until then pages are written as BMP files.
struct PrinterPageWriter {
  std::function<bool(const Surface& page, const std::string& path)> write;
  std::string extension;  // of the files written, without the dot
};
void setPrinterPageWriter(PrinterPageWriter writer);
const PrinterPageWriter& printerPageWriter();

}  // namespace win
