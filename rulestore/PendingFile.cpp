#include "rulestore/PendingFile.h"

#include <fcntl.h>
#include <unistd.h>

namespace rulestore {

namespace {

bool syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool PendingFile::CommitAs(const std::string& path) { return file_.commitAs(path) && syncFolder(FolderOf(path)); }

bool RenameDurably(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  return syncFolder(FolderOf(to));
}

}  // namespace rulestore
