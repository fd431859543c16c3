#pragma once
// Counts calls of the global operator new, so that a benchmark can report
// allocations per unit of work: a figure that, unlike time, does not depend on
// how busy the machine is. Include from exactly one file of a benchmark
// program: it replaces the program's global allocation functions.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace bench {

inline std::atomic<std::int64_t> allocationCount{0};

inline std::int64_t AllocationsSoFar() { return allocationCount.load(std::memory_order_relaxed); }

// Kept out of line so that the compiler does not pair the free below with the
// replaced operator new and warn about a mismatch.
[[gnu::noinline]] inline void ReleaseBlock(void* block) noexcept { std::free(block); }

}  // namespace bench

void* operator new(std::size_t size) {
  bench::allocationCount.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { bench::ReleaseBlock(block); }
void operator delete[](void* block) noexcept { bench::ReleaseBlock(block); }
void operator delete(void* block, std::size_t) noexcept { bench::ReleaseBlock(block); }
void operator delete[](void* block, std::size_t) noexcept { bench::ReleaseBlock(block); }
