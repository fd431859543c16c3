#include "rulestore/StoreLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace rulestore {

namespace {

// A waiting writer tries again after a pause that grows to this; a LOAD holds
// the lock for milliseconds, so the next one starts soon after.
constexpr std::chrono::milliseconds kLongestPause{5};

// Opens (creating it when missing) the lock file; -1 unless it is a regular file.
int openLockFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

StoreLock::Result StoreLock::Acquire(const std::string& folder, std::chrono::milliseconds maxWait) {
  Release();
  const int fd = openLockFile((folder.empty() ? std::string(".") : folder) + "/" + kStoreLockFile);
  if (fd < 0) return Result::Failed;
  const auto deadline = std::chrono::steady_clock::now() + maxWait;
  std::chrono::microseconds pause{250};
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      folder_ = folder;
      return Result::Held;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      ::close(fd);
      return Result::Failed;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      ::close(fd);
      return Result::Busy;
    }
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min<std::chrono::microseconds>(pause * 2, kLongestPause);
  }
}

void StoreLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor of the open file lets go of its lock
  fd_ = -1;
  folder_.clear();
}

}  // namespace rulestore
