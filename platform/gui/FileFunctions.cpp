#include "platform/gui/FileFunctions.h"

#include <sys/stat.h>
#include <unistd.h>

namespace gui {

bool FileExists(const std::string& FileName) {
  struct stat info {};
  return !FileName.empty() && ::stat(FileName.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string& FileName) {
  struct stat info {};
  if (FileName.empty() || ::lstat(FileName.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return ::unlink(FileName.c_str()) == 0;
}

}  // namespace gui
