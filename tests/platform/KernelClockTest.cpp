#include <gtest/gtest.h>

#include "platform/win/kernel/Clock.h"
#include "platform/win/kernel/PlatformFlags.h"

using namespace win;

TEST(Clock, VirtualClockDrivesAllTimeSources) {
  VirtualClock& clock = useVirtualClock(5000);
  EXPECT_EQ(GetTickCount(), 5000u);
  clock.advance(250);
  EXPECT_EQ(GetTickCount(), 5250u);
  EXPECT_EQ(timeGetTime(), 5250u);
  EXPECT_EQ(GetTickCount64(), 5250u);
  // The 32-bit counts wrap; the 64-bit one does not.
  clock.advance(0x100000000ull);
  EXPECT_EQ(GetTickCount(), 5250u);
  EXPECT_EQ(GetTickCount64(), 0x100000000ull + 5250u);
  setClock(nullptr);
  const std::uint64_t before = GetTickCount64();
  EXPECT_GE(GetTickCount64(), before);
}

TEST(PlatformFlags, DefaultIsNtAndTheFirstReleaseImpliesTheFamily) {
  EXPECT_FALSE(IsWin9x());
  EXPECT_FALSE(IsWin95());
  setPlatformFlags(false, true);
  EXPECT_TRUE(IsWin9x());
  EXPECT_TRUE(IsWin95());
  setPlatformFlags(true, false);
  EXPECT_TRUE(IsWin9x());
  EXPECT_FALSE(IsWin95());
  resetPlatformFlags();
  EXPECT_FALSE(IsWin9x());
}
