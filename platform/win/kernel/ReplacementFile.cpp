#include "platform/win/kernel/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace win {

namespace {

// Distinguishes the temporary files of one process; the process id
// distinguishes processes.
std::atomic<unsigned> temporaryCounter{0};

}  // namespace

ReplacementFile::ReplacementFile(std::string targetPath) : target_(std::move(targetPath)) {}

ReplacementFile::~ReplacementFile() { discard(); }

bool ReplacementFile::create() {
  discard();
  committed_ = false;
  struct stat existing {};
  const mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0666;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = target_ + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(temporaryCounter++);
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temporary_.clear();
    return false;
  }
  if (existing.st_mode != 0) (void)::fchmod(fd_, mode);
  return true;
}

bool ReplacementFile::write(std::string_view bytes) {
  while (fd_ >= 0 && !bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return fd_ >= 0;
}

bool ReplacementFile::sync() {
  if (fd_ < 0) return false;
  bool ok = ::fsync(fd_) == 0;
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  return ok;
}

bool ReplacementFile::commitAs(const std::string& path) {
  if (fd_ >= 0 || temporary_.empty() || committed_) return false;
  if (std::rename(temporary_.c_str(), path.c_str()) != 0) return false;
  committed_ = true;
  return true;
}

void ReplacementFile::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool writeFileWhole(const std::string& path, const void* data, std::size_t size) {
  ReplacementFile file(path);
  return file.create() && file.write(std::string_view(static_cast<const char*>(data), size)) && file.sync() &&
         file.commit();
}

}  // namespace win
