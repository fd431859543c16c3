#include "platform/win/gdi/VirtualPrinter.h"

#include <strings.h>

#include <cstdlib>

namespace win {
namespace {

PrinterPageWriter& currentWriter() {
  static PrinterPageWriter writer{saveSurfaceAsBmp, "bmp"};
  return writer;
}

}  // namespace

VirtualPrinterSettings& virtualPrinter() {
  static VirtualPrinterSettings settings;
  return settings;
}

void resetVirtualPrinter() { virtualPrinter() = VirtualPrinterSettings{}; }

bool isVirtualPrinterName(const char* device) {
  return device != nullptr && strcasecmp(device, virtualPrinter().deviceName.c_str()) == 0;
}

std::string printerOutputFolder() {
  if (!virtualPrinter().outputFolder.empty()) return virtualPrinter().outputFolder;
  const char* folder = std::getenv("PAGEWELL_PRINTER_OUTPUT");
  return folder ? folder : "";
}

void setPrinterPageWriter(PrinterPageWriter writer) {
  if (writer.write) currentWriter() = std::move(writer);
}

const PrinterPageWriter& printerPageWriter() { return currentWriter(); }

}  // namespace win
