#pragma once
// The class library's file checks: whether a file exists, and deleting one.
#include <string>

namespace gui {

// True for an existing file that is not a folder (symbolic links followed).
bool FileExists(const std::string& FileName);
// Removes a file (never a folder); false when it is missing or cannot go.
bool DeleteFile(const std::string& FileName);

}  // namespace gui
