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

std::uint64_t FileSizeLimit(TFileKind kind) {
  switch (kind) {
    case TFileKind::Page: return 256ull << 20;
    case TFileKind::StyleSheet: return 32ull << 20;
    case TFileKind::Image: return 64ull << 20;
  }
  return 0;
}

// O_NONBLOCK keeps open() from waiting for a FIFO's writer; the type is
// checked on the descriptor itself, so a name swapped after the check is
// never read.
TRegularFile::TRegularFile(const std::string& fileName, TFileKind kind) {
  if (fileName.empty()) return;
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<std::uint64_t>(info.st_size) > FileSizeLimit(kind)) {
    ::close(fd);
    return;
  }
  fd_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
}

TRegularFile::~TRegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t TRegularFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  std::size_t total = 0;
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (fd_ >= 0 && total < count) {
    const ssize_t got = ::pread(fd_, out + total, count - total, static_cast<off_t>(offset + total));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
  }
  return total;
}

namespace {

// Reads to the end of the file into data, appending; false on a read error or
// when the whole would exceed limit.
template <class Bytes>
bool ReadToEnd(int fd, Bytes& data, std::uint64_t limit) {
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (data.size() + static_cast<std::uint64_t>(got) > limit) return false;
    data.insert(data.end(), chunk, chunk + got);
  }
}

// The size from fstat sizes the buffer; a file that grows while read is read
// to its end as long as it stays within the limit (files in /proc say 0).
template <class Bytes>
bool ReadWholeInto(const std::string& fileName, Bytes& bytes, TFileKind kind) {
  const TRegularFile file(fileName, kind);
  if (!file.Valid()) return false;
  Bytes data(static_cast<std::size_t>(file.Size()), 0);
  if (file.ReadAt(0, data.data(), data.size()) != data.size()) return false;
  if (::lseek(file.Descriptor(), static_cast<off_t>(data.size()), SEEK_SET) < 0) return false;
  if (!ReadToEnd(file.Descriptor(), data, FileSizeLimit(kind))) return false;
  bytes.swap(data);
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, TFileKind kind) {
  return ReadWholeInto(fileName, bytes, kind);
}

bool ReadWholeFile(const std::string& fileName, std::string& text, TFileKind kind) {
  return ReadWholeInto(fileName, text, kind);
}

// The head is read as far as the size measured at opening.
bool ReadFileHead(const std::string& fileName, std::size_t limit, std::vector<std::uint8_t>& bytes, bool& whole,
                  TFileKind kind) {
  const TRegularFile file(fileName, kind);
  if (!file.Valid()) return false;
  std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min<std::uint64_t>(limit, file.Size())));
  data.resize(file.ReadAt(0, data.data(), data.size()));
  whole = data.size() < limit;
  bytes.swap(data);
  return true;
}

void WriteWholeFile(const std::string& fileName, const void* data, std::size_t size) {
  if (!win::writeFileWhole(fileName, data, size)) throw EFCreateError("Cannot create file \"" + fileName + "\"");
}

}  // namespace gui
