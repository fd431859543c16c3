#include "engine/common/BlockPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace engine {
namespace {

// Blocks handed out at once never overlap, keep what was written in them,
// and a block given back is handed out again; replayed by number.
TEST(BlockPool, LiveBlocksNeverOverlapAndKeepTheirBytes) {
  for (unsigned number = 0; number < 20; ++number) {
    std::mt19937 random(number);
    BlockPool pool(40 + number);  // any size, rounded to 16
    std::vector<std::pair<unsigned char*, unsigned char>> live;
    for (int step = 0; step < 6000; ++step) {
      if (live.empty() || random() % 3 != 0) {
        auto* block = static_cast<unsigned char*>(pool.Allocate());
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u);
        const auto fill = static_cast<unsigned char>(random());
        std::memset(block, fill, 40 + number);
        live.emplace_back(block, fill);
      } else {
        const std::size_t pick = random() % live.size();
        const auto [block, fill] = live[pick];
        for (unsigned i = 0; i < 40 + number; ++i) ASSERT_EQ(block[i], fill) << "case " << number;
        pool.Release(block);
        live.erase(live.begin() + static_cast<std::ptrdiff_t>(pick));
      }
    }
    std::set<unsigned char*> starts;
    for (const auto& [block, fill] : live) {
      for (unsigned i = 0; i < 40 + number; ++i) ASSERT_EQ(block[i], fill) << "case " << number;
      starts.insert(block);
    }
    ASSERT_EQ(starts.size(), live.size());
    std::vector<unsigned char*> sorted(starts.begin(), starts.end());
    for (std::size_t i = 1; i < sorted.size(); ++i) ASSERT_GE(sorted[i] - sorted[i - 1], 48);
    for (const auto& [block, fill] : live) pool.Release(block);
  }
}

// A document's worth of blocks given back returns its slabs to the heap but
// one, and the pool serves the next document from that one first.
TEST(BlockPool, EmptySlabsGoBackButOne) {
  BlockPool pool(64);
  std::vector<void*> blocks;
  for (int i = 0; i < 5000; ++i) blocks.push_back(pool.Allocate());
  const std::size_t slabs = pool.SlabCount();
  if (slabs == 0) {
    for (void* block : blocks) pool.Release(block);  // the leak check at exit would count them
    GTEST_SKIP() << "blocks come from the heap under the address sanitizer";
  }
  EXPECT_GE(slabs, 5000u * 64 / BlockPool::kSlabBytes);
  std::shuffle(blocks.begin(), blocks.end(), std::mt19937(7));
  for (void* block : blocks) pool.Release(block);
  EXPECT_EQ(pool.SlabCount(), 1u);
  void* again = pool.Allocate();
  EXPECT_EQ(pool.SlabCount(), 1u);
  pool.Release(again);
  pool.Release(nullptr);
  EXPECT_EQ(pool.SlabCount(), 1u);
}

// Slabs held by pools are counted while held and not once given back; slabs
// of one pool kept empty serve another pool of a different size.
TEST(BlockPool, SlabBytesFollowWhatPoolsHold) {
  BlockPool::ReleaseEmptySlabs();
  const std::size_t before = BlockPool::SlabBytesInUse();
  std::vector<void*> small;
  {
    BlockPool first(32);
    for (int i = 0; i < 6000; ++i) small.push_back(first.Allocate());
    if (first.SlabCount() == 0) {
      for (void* block : small) first.Release(block);
      GTEST_SKIP() << "blocks come from the heap under the address sanitizer";
    }
    EXPECT_EQ(BlockPool::SlabBytesInUse() - before, first.SlabCount() * BlockPool::kSlabBytes);
    for (void* block : small) first.Release(block);
    EXPECT_EQ(BlockPool::SlabBytesInUse() - before, BlockPool::kSlabBytes);  // the one it keeps
  }
  EXPECT_EQ(BlockPool::SlabBytesInUse(), before);
  BlockPool second(200);
  std::vector<unsigned char*> large;
  for (int i = 0; i < 2000; ++i) {
    auto* block = static_cast<unsigned char*>(second.Allocate());
    std::memset(block, i & 0xFF, 200);
    large.push_back(block);
  }
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(large[i][199], i & 0xFF);
  EXPECT_EQ(BlockPool::SlabBytesInUse() - before, second.SlabCount() * BlockPool::kSlabBytes);
  for (void* block : large) second.Release(block);
  BlockPool::ReleaseEmptySlabs();
}

// More empty slabs than stay resident (the rest are left for the system to
// reclaim) are all taken again intact: their links survive and their blocks
// hold what is written.
TEST(BlockPool, SlabsKeptForTheSystemServeAgain) {
  BlockPool::ReleaseEmptySlabs();
  for (int round = 0; round < 2; ++round) {
    BlockPool pool(1024);
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 400 * 63; ++i) {
      auto* block = static_cast<unsigned char*>(pool.Allocate());
      block[0] = block[1023] = static_cast<unsigned char>(i);
      blocks.push_back(block);
    }
    if (pool.SlabCount() == 0) {
      for (void* block : blocks) pool.Release(block);
      GTEST_SKIP() << "blocks come from the heap under the address sanitizer";
    }
    EXPECT_GE(pool.SlabCount(), 400u);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      ASSERT_EQ(blocks[i][0], static_cast<unsigned char>(i));
      ASSERT_EQ(blocks[i][1023], static_cast<unsigned char>(i));
    }
    for (void* block : blocks) pool.Release(block);
  }
  BlockPool::ReleaseEmptySlabs();
}

// Blocks given back on another thread while this one takes more: no block is
// handed out twice, and every slab goes back once all blocks are.
TEST(BlockPool, BlocksGivenBackFromAnotherThreadStayApart) {
  BlockPool pool(48);
  std::vector<void*> held;
  for (int i = 0; i < 20000; ++i) held.push_back(pool.Allocate());
  for (int round = 0; round < 5; ++round) {
    std::thread freer([&pool, given = std::move(held)] {
      for (void* block : given) pool.Release(block);
    });
    held.clear();
    for (int i = 0; i < 20000; ++i) held.push_back(pool.Allocate());
    freer.join();
    ASSERT_EQ(std::set<void*>(held.begin(), held.end()).size(), held.size()) << "round " << round;
  }
  for (void* block : held) pool.Release(block);
  EXPECT_LE(pool.SlabCount(), 1u);
}

}  // namespace
}  // namespace engine
