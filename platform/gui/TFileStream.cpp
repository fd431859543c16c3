#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"

namespace gui {

namespace {

// read() and write() move at most this much per call.
constexpr std::int64_t kMaxTransferBytes = std::numeric_limits<ssize_t>::max() / 2;

int openFile(const std::string& fileName, unsigned mode) {
  if ((mode & fmCreate) == fmCreate) {
    const int fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFCreateError("Cannot create file \"" + fileName + "\"");
    return fd;
  }
  // A file opened to be read is a regular file; opening it never waits for
  // a FIFO's writer.
  int flags = O_RDONLY | O_NONBLOCK;
  if ((mode & 3) == fmOpenWrite) flags = O_WRONLY;
  else if ((mode & 3) == fmOpenReadWrite) flags = O_RDWR;
  const int fd = ::open(fileName.c_str(), flags | O_CLOEXEC);
  struct stat info {};
  const bool reading = (flags & O_ACCMODE) == O_RDONLY;
  if (fd >= 0 && ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode) && (!reading || S_ISREG(info.st_mode))) {
    return fd;
  }
  if (fd >= 0) ::close(fd);
  throw EFOpenError("Cannot open file \"" + fileName + "\"");
}

}  // namespace

std::int64_t THandleStream::Read(void* Buffer, std::int64_t Count) {
  auto* out = static_cast<std::uint8_t*>(Buffer);
  std::int64_t total = 0;
  while (total < Count) {
    const ssize_t got = ::read(handle_, out + total, static_cast<std::size_t>(std::min(Count - total, kMaxTransferBytes)));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += got;
  }
  return total;
}

std::int64_t THandleStream::Write(const void* Buffer, std::int64_t Count) {
  const auto* in = static_cast<const std::uint8_t*>(Buffer);
  std::int64_t total = 0;
  while (total < Count) {
    const ssize_t put = ::write(handle_, in + total, static_cast<std::size_t>(std::min(Count - total, kMaxTransferBytes)));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    total += put;
  }
  return total;
}

std::int64_t THandleStream::Seek(std::int64_t Offset, int Origin) {
  const int whence = Origin == soFromCurrent ? SEEK_CUR : (Origin == soFromEnd ? SEEK_END : SEEK_SET);
  return static_cast<std::int64_t>(::lseek(handle_, static_cast<off_t>(Offset), whence));
}

void THandleStream::SetSize(std::int64_t NewSize) {
  const std::int64_t position = Position();
  if (NewSize < 0 || ::ftruncate(handle_, static_cast<off_t>(NewSize)) != 0)
    throw EStreamError("Stream size cannot be changed");
  if (position > NewSize) Seek(NewSize, soFromBeginning);
}

TFileStream::TFileStream(const std::string& FileName, unsigned Mode)
    : THandleStream(openFile(FileName, Mode)), fileName_(FileName) {}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(handle_);
}

}  // namespace gui
