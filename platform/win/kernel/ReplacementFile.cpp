#include "platform/win/kernel/ReplacementFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace win {

namespace {

// Distinguishes the temporary files of one process; the process id
// distinguishes processes.
std::atomic<unsigned> temporaryCounter{0};

constexpr std::string_view kTemporaryMark = ".tmp";

std::string temporaryName(const std::string& target, unsigned number) {
  return target + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(number);
}

// Reads the digits at the front of text into value; false when there are none
// or they do not fit.
bool takeNumber(std::string_view& text, long long& value) {
  std::size_t digits = 0;
  value = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    value = value * 10 + (text[digits] - '0');
    if (value > INT32_MAX) return false;
    ++digits;
  }
  text.remove_prefix(digits);
  return digits > 0;
}

// The writer's process id of a file named "<prefix><pid>-<n>", else 0.
pid_t writerOf(std::string_view name, std::string_view prefix) {
  if (name.substr(0, prefix.size()) != prefix) return 0;
  name.remove_prefix(prefix.size());
  long long pid = 0;
  long long number = 0;
  if (!takeNumber(name, pid) || name.empty() || name[0] != '-') return 0;
  name.remove_prefix(1);
  if (!takeNumber(name, number) || !name.empty()) return 0;
  return static_cast<pid_t>(pid);
}

bool processGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

ReplacementFile::ReplacementFile(std::string targetPath) : target_(std::move(targetPath)) {}

ReplacementFile::~ReplacementFile() { discard(); }

bool ReplacementFile::create() {
  discard();
  committed_ = false;
  struct stat existing {};
  const mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0666;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = temporaryName(target_, temporaryCounter++);
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

void removeStaleReplacements(const std::string& targetPath) {
  const std::filesystem::path target(targetPath);
  const std::string prefix = target.filename().string() + std::string(kTemporaryMark);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const pid_t writer = writerOf(entries->path().filename().string(), prefix);
    if (writer <= 0 || writer == ::getpid() || !processGone(writer)) continue;
    std::error_code ignored;
    if (entries->is_regular_file(ignored) && !entries->is_symlink(ignored))
      std::filesystem::remove(entries->path(), ignored);
  }
}

bool replaceableTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) return true;
  errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  return false;
}

bool writeFileWhole(const std::string& path, const void* data, std::size_t size) {
  if (!replaceableTarget(path)) return false;
  ReplacementFile file(path);
  // Looked at again just before the rename: the target may have changed meanwhile.
  return file.create() && file.write(std::string_view(static_cast<const char*>(data), size)) && file.sync() &&
         replaceableTarget(path) && file.commit();
}

}  // namespace win
