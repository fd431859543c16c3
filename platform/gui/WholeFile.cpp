#include "platform/gui/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/gui/Exception.h"

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
  bool closeNow() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes) {
  FileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return false;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  std::vector<std::uint8_t> data;
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    data.insert(data.end(), chunk, chunk + got);
  }
  bytes.swap(data);
  return true;
}

void WriteWholeFile(const std::string& fileName, const void* data, std::size_t size) {
  const std::string tempName = fileName + ".tmp" + std::to_string(::getpid());
  bool ok = false;
  {
    FileDescriptor file(::open(tempName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() >= 0) {
      ok = writeAll(file.get(), static_cast<const std::uint8_t*>(data), size) && ::fsync(file.get()) == 0;
      ok = file.closeNow() && ok;
    }
  }
  if (ok) ok = std::rename(tempName.c_str(), fileName.c_str()) == 0;
  if (!ok) {
    ::unlink(tempName.c_str());
    throw EFCreateError("Cannot create file \"" + fileName + "\"");
  }
}

}  // namespace gui
