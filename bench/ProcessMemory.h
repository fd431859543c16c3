#pragma once
// The process's resident memory as the kernel counts it: what a load really
// costs the machine, including the allocator's slack and freed memory it has
// not given back. ResetPeakResident starts a new high-water mark, so that a
// peak can be taken over one piece of work.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/common/BlockPool.h"

namespace bench {

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in bytes; -1 when absent.
inline std::int64_t StatusBytes(const char* key) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  std::int64_t bytes = -1;
  const std::size_t keyLength = std::strlen(key);
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, key, keyLength) == 0) {
      bytes = std::strtoll(line + keyLength, nullptr, 10) * 1024;
      break;
    }
  }
  std::fclose(status);
  return bytes;
}

// What the heap holds in use now (small blocks and mapped ones), with the
// engine's block-pool slabs, which are mapped apart from the heap.
inline std::int64_t LiveHeapBytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd + engine::BlockPool::SlabBytesInUse());
}

inline std::int64_t ResidentBytes() { return StatusBytes("VmRSS:"); }
inline std::int64_t PeakResidentBytes() { return StatusBytes("VmHWM:"); }

// Gives freed heap back to the system and makes the high-water mark the
// current resident size. False when the kernel refuses the reset.
inline bool ResetPeakResident() {
  malloc_trim(0);
  engine::BlockPool::ReleaseEmptySlabs();
  std::FILE* refs = std::fopen("/proc/self/clear_refs", "w");
  if (!refs) return false;
  const bool written = std::fputs("5", refs) >= 0;
  return std::fclose(refs) == 0 && written;
}

// The most resident memory that work() added at any moment, in bytes; -1
// when the high-water mark cannot be reset.
template <class Work>
std::int64_t PeakResidentOf(Work&& work) {
  if (!ResetPeakResident()) return -1;
  const std::int64_t before = ResidentBytes();
  work();
  return PeakResidentBytes() - before;
}

}  // namespace bench
