#pragma once
// SpinLock: a lock for critical sections of a few instructions, such as
// taking a block from a pool. Uncontended it costs one atomic exchange, a
// fraction of a mutex's lock and unlock; a thread that finds it held yields
// until it is free. Meets BasicLockable, for std::lock_guard.
#include <atomic>
#include <thread>

namespace engine {

class SpinLock {
 public:
  void lock() noexcept {
    while (held_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
  }
  void unlock() noexcept { held_.clear(std::memory_order_release); }

 private:
  std::atomic_flag held_;
};

}  // namespace engine
