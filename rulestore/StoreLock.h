#pragma once

// The writers' lock of a store folder: an exclusive flock on RULES.LCK in the
// folder. A writer holds it from before it reads the store until its save is
// done, so that writers take turns and none saves over another's result.
// Readers take no lock. The file is created when missing and never removed.
#include <chrono>
#include <string>

namespace rulestore {

inline constexpr const char* kStoreLockFile = "RULES.LCK";
// How long a writer waits for another to finish before it gives up.
inline constexpr std::chrono::milliseconds kStoreLockWait{30000};

class StoreLock {
 public:
  enum class Result { Held, Busy, Failed };

  StoreLock() = default;
  ~StoreLock() { Release(); }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  // Takes the lock of the store in folder, waiting at most maxWait for its
  // holder. Busy when the wait ran out, Failed when the lock file cannot be
  // created or locked.
  Result Acquire(const std::string& folder, std::chrono::milliseconds maxWait);
  void Release();
  bool Held() const { return fd_ >= 0; }
  // The folder whose lock is held.
  const std::string& Folder() const { return folder_; }

 private:
  int fd_ = -1;
  std::string folder_;
};

}  // namespace rulestore
