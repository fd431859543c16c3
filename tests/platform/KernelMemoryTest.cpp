#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/kernel/Memory.h"

using namespace win;

TEST(GlobalMemory, BlocksLockUnlockAndFree) {
  const HGLOBAL block = GlobalAlloc(GHND, 64);
  ASSERT_NE(block, 0u);
  EXPECT_EQ(GlobalSize(block), 64u);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(bytes[i], 0) << i;
  std::memcpy(bytes, "text", 5);
  EXPECT_EQ(GlobalLock(block), bytes);  // the block does not move while in use
  EXPECT_TRUE(GlobalUnlock(block));     // still locked once
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_STREQ(static_cast<char*>(GlobalLock(block)), "text");
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), 0u);
}

TEST(GlobalMemory, StaleAndBadHandlesAreRefused) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_EQ(GlobalFree(block), 0u);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalFree(block), block);  // freeing twice fails
  EXPECT_EQ(GlobalLock(0), nullptr);
  EXPECT_EQ(GlobalAlloc(GHND, kMaxGlobalBlockBytes + 1), 0u);
  const HGLOBAL empty = GlobalAlloc(GHND, 0);
  EXPECT_NE(GlobalLock(empty), nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  GlobalFree(empty);
}
