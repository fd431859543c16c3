#include "tests/rulestool/SystemCallFaults.h"

#include <dlfcn.h>
#include <fcntl.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::atomic<int> syncToFail{0};
std::atomic<int> syncsSeen{0};

std::mutex watchedMutex;
std::string watched;
std::atomic<int> opensSeen{0};

void noteOpen(const char* path) {
  std::lock_guard<std::mutex> guard(watchedMutex);
  if (path != nullptr && !watched.empty() && watched == path) ++opensSeen;
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// open's mode argument is there only when a file may be created. O_TMPFILE
// holds O_DIRECTORY's bit, so it counts only when all its bits are set.
mode_t modeArgument(int flags, va_list args) {
  const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  return creates ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

using OpenFunction = int (*)(const char*, int, ...);

int forwardOpen(OpenFunction real, const char* path, int flags, va_list args) {
  const mode_t mode = modeArgument(flags, args);
  noteOpen(path);
  return real(path, flags, mode);
}

}  // namespace

namespace tooltest {

void FailNthSync(int n) {
  syncsSeen = 0;
  syncToFail = n;
}

int SyncsSinceArmed() { return syncsSeen; }

void CountOpensOf(const std::string& path) {
  std::lock_guard<std::mutex> guard(watchedMutex);
  watched = path;
  opensSeen = 0;
}

int OpensCounted() { return opensSeen; }

}  // namespace tooltest

extern "C" {

int fsync(int fd) {
  static const auto real = next<int (*)(int)>("fsync");
  if (++syncsSeen == syncToFail) {
    syncToFail = 0;
    errno = EIO;
    return -1;
  }
  return real(fd);
}

int open(const char* path, int flags, ...) {
  static const auto real = next<OpenFunction>("open");
  va_list args;
  va_start(args, flags);
  const int fd = forwardOpen(real, path, flags, args);
  va_end(args);
  return fd;
}

int open64(const char* path, int flags, ...) {
  static const auto real = next<OpenFunction>("open64");
  va_list args;
  va_start(args, flags);
  const int fd = forwardOpen(real, path, flags, args);
  va_end(args);
  return fd;
}

FILE* fopen(const char* path, const char* mode) {
  static const auto real = next<FILE* (*)(const char*, const char*)>("fopen");
  noteOpen(path);
  return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  static const auto real = next<FILE* (*)(const char*, const char*)>("fopen64");
  noteOpen(path);
  return real(path, mode);
}

}  // extern "C"
