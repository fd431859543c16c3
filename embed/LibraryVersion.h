#pragma once
// The library's version block: its file and product versions, compiled in
// from the project's version and registered under the module's file name.
#include <string>

#include "platform/win/Types.h"

namespace embed {

// The file version the block holds ("1.0.0.0").
std::string LibraryFileVersion();
void RegisterLibraryVersion(win::HMODULE Module);

}  // namespace embed
