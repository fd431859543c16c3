#pragma once
// Memory blocks for device-independent bitmap buffers: large ones from global
// memory, small ones from the heap.
#include <cstdint>
#include <memory>

#include "platform/win/Types.h"

namespace engine {

// Blocks above this size come from global memory.
constexpr std::int32_t kLargestHeapBlock = 65279;

struct AllocRec {
  void* Memory = nullptr;
  std::int32_t Size = 0;
  win::HGLOBAL GlobalHandle = 0;  // large blocks only
  std::unique_ptr<unsigned char[]> heapBlock;
};

// A block of bytes (negative counts as 0). A failed global allocation raises
// the silent abort; a failed heap allocation the out-of-memory error.
std::unique_ptr<AllocRec> AllocLargeBlock(std::int32_t bytes);
// Releases the memory the way it was obtained, then the record.
void FreeLargeBlock(std::unique_ptr<AllocRec> rec);

}  // namespace engine
