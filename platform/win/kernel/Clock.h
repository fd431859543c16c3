#pragma once
// The one clock behind GetTickCount, timeGetTime and the window timers. It is
// the real monotonic clock unless a test installs another one.
#include <cstdint>
#include <memory>

#include "platform/win/Types.h"

namespace win {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary fixed start; never goes backwards.
  virtual std::uint64_t nowMs() const = 0;
};

// Monotonic system time (milliseconds since boot, as GetTickCount counts).
class RealClock : public Clock {
 public:
  std::uint64_t nowMs() const override;
};

// Time that moves only when a test says so. It starts well above zero so that
// code treating a zero time stamp as "never" behaves as on a running system.
class VirtualClock : public Clock {
 public:
  static constexpr std::uint64_t kDefaultStartMs = 1000000;
  explicit VirtualClock(std::uint64_t startMs = kDefaultStartMs) : nowMs_(startMs) {}
  std::uint64_t nowMs() const override { return nowMs_; }
  void advance(std::uint64_t ms) { nowMs_ += ms; }

 private:
  std::uint64_t nowMs_;
};

// The clock in force. setClock(nullptr) puts the real clock back.
Clock& currentClock();
void setClock(std::unique_ptr<Clock> clock);
// Installs a new VirtualClock and returns it; it stays valid until the next setClock.
VirtualClock& useVirtualClock(std::uint64_t startMs = VirtualClock::kDefaultStartMs);

// Milliseconds from the current clock; the 32-bit forms wrap as on Windows.
DWORD GetTickCount();
std::uint64_t GetTickCount64();
DWORD timeGetTime();

}  // namespace win
