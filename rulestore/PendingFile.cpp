#include "rulestore/PendingFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rulestore {

namespace {

std::atomic<unsigned> temporaryCounter{0};

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

PendingFile::PendingFile(std::string targetPath) : target_(std::move(targetPath)) {}

PendingFile::~PendingFile() { discard(); }

bool PendingFile::Create() {
  discard();
  committed_ = false;
  struct stat existing {};
  mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0666;
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

bool PendingFile::Write(std::string_view bytes) {
  while (fd_ >= 0 && !bytes.empty()) {
    ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return fd_ >= 0;
}

bool PendingFile::Sync() {
  if (fd_ < 0) return false;
  bool ok = ::fsync(fd_) == 0;
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  return ok;
}

bool PendingFile::CommitAs(const std::string& path) {
  if (fd_ >= 0 || temporary_.empty() || committed_) return false;
  if (!RenameDurably(temporary_, path)) return false;
  committed_ = true;
  return true;
}

void PendingFile::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool RenameDurably(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return false;
  return syncFolder(FolderOf(to));
}

}  // namespace rulestore
