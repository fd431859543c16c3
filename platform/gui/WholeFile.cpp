#include "platform/gui/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/gui/Exception.h"
#include "platform/win/kernel/ReplacementFile.h"

namespace gui {

namespace {

// Closes a descriptor on scope exit.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes) {
  bool whole = false;
  return ReadFileHead(fileName, SIZE_MAX, bytes, whole);
}

bool ReadFileHead(const std::string& fileName, std::size_t limit, std::vector<std::uint8_t>& bytes, bool& whole) {
  FileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return false;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (!S_ISREG(info.st_mode)) limit = SIZE_MAX;
  std::vector<std::uint8_t> data;
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    data.reserve(std::min<std::size_t>(limit, static_cast<std::size_t>(info.st_size)));
  }
  std::uint8_t chunk[65536];
  while (data.size() < limit) {
    const std::size_t want = std::min<std::size_t>(sizeof chunk, limit - data.size());
    const ssize_t got = ::read(file.get(), chunk, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    data.insert(data.end(), chunk, chunk + got);
  }
  whole = data.size() < limit;
  bytes.swap(data);
  return true;
}

void WriteWholeFile(const std::string& fileName, const void* data, std::size_t size) {
  if (!win::writeFileWhole(fileName, data, size)) throw EFCreateError("Cannot create file \"" + fileName + "\"");
}

}  // namespace gui
