#include "platform/win/kernel/Clock.h"

#include <chrono>

namespace win {
namespace {

std::unique_ptr<Clock>& clockSlot() {
  static std::unique_ptr<Clock> clock = std::make_unique<RealClock>();
  return clock;
}

}  // namespace

std::uint64_t RealClock::nowMs() const {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

Clock& currentClock() { return *clockSlot(); }

void setClock(std::unique_ptr<Clock> clock) {
  clockSlot() = clock ? std::move(clock) : std::make_unique<RealClock>();
}

VirtualClock& useVirtualClock(std::uint64_t startMs) {
  auto clock = std::make_unique<VirtualClock>(startMs);
  VirtualClock& result = *clock;
  setClock(std::move(clock));
  return result;
}

DWORD GetTickCount() { return static_cast<DWORD>(currentClock().nowMs()); }
std::uint64_t GetTickCount64() { return currentClock().nowMs(); }
DWORD timeGetTime() { return static_cast<DWORD>(currentClock().nowMs()); }

}  // namespace win
