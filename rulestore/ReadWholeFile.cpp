#include "rulestore/ReadWholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace rulestore {

namespace {

WholeFileRead readOpenFile(int fd, std::uint64_t maxBytes, std::string& bytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return WholeFileRead::Failed;
  if (!S_ISREG(info.st_mode)) return WholeFileRead::NotRegular;
  if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > maxBytes) return WholeFileRead::TooLarge;
  bytes.assign(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return WholeFileRead::Failed;  // an error, or the file shrank
    filled += static_cast<std::size_t>(got);
  }
  char extra = 0;
  ssize_t more = 0;
  while ((more = ::read(fd, &extra, 1)) < 0 && errno == EINTR) {}
  return more == 0 ? WholeFileRead::Read : WholeFileRead::Failed;  // the file did not grow
}

}  // namespace

WholeFileRead ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  // A folder opens for reading; readOpenFile refuses it as not regular.
  if (fd < 0) return errno == ENOENT ? WholeFileRead::Missing : WholeFileRead::Failed;
  const WholeFileRead result = readOpenFile(fd, maxBytes, bytes);
  ::close(fd);
  if (result != WholeFileRead::Read) bytes.clear();
  return result;
}

}  // namespace rulestore
