#include "images/PrinterPages.h"

#include "images/PngSave.h"
#include "platform/win/gdi/VirtualPrinter.h"

namespace images {

void InstallPngPageWriter() {
  win::setPrinterPageWriter({[](const win::Surface& page, const std::string& path) {
                               try {
                                 SaveSurfaceAsPng(page, path);
                                 return true;
                               } catch (...) {  // an unwritable folder, a full disk, no memory
                                 return false;
                               }
                             },
                             "png"});
}

}  // namespace images
