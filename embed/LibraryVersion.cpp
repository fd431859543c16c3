#include "embed/LibraryVersion.h"

#include <vector>

#include "embed/TMyRCVersion.h"
#include "embed/VersionNumbers.h"
#include "platform/win/kernel/VersionInfo.h"

namespace embed {

std::string LibraryFileVersion() { return PAGEWELL_FILE_VERSION; }

void RegisterLibraryVersion(win::HMODULE Module) {
  const std::string name = ModuleFileName(Module);
  if (name.empty()) return;
  win::VersionStringTable table;
  table.language = 0x0409;
  table.codePage = 0x04E4;
  table.values = {{"FileDescription", "Pagewell HTML viewer library"},
                  {"FileVersion", LibraryFileVersion()},
                  {"InternalName", "Pagewell"},
                  {"OriginalFilename", "Pagewell.dll"},
                  {"ProductName", "Pagewell"},
                  {"ProductVersion", PAGEWELL_PRODUCT_VERSION}};
  win::registerVersionBlock(name, win::buildVersionBlock({table}));
}

}  // namespace embed
