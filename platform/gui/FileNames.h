#pragma once
// The class library's file-name functions. Both "/" and "\" separate the
// parts of a name, so names written the Windows way work too.
#include <string>

namespace gui {

// The absolute form of a name: relative names start from the current
// folder; "." and ".." parts are resolved (".." at the root stays at the
// root); separators come out as "/". The file need not exist.
std::string ExpandFileName(const std::string& FileName);
// The folder part, up to and including the last separator ("" when none).
std::string ExtractFilePath(const std::string& FileName);
// The extension with its dot, from the last "." after the last separator
// ("" when none).
std::string ExtractFileExt(const std::string& FileName);

}  // namespace gui
