#include "engine/common/LargeBlocks.h"

#include <new>

#include "platform/gui/Exception.h"
#include "platform/win/kernel/Memory.h"

namespace engine {

std::unique_ptr<AllocRec> AllocLargeBlock(std::int32_t bytes) {
  auto rec = std::make_unique<AllocRec>();
  rec->Size = bytes < 0 ? 0 : bytes;
  if (rec->Size > kLargestHeapBlock) {
    rec->GlobalHandle = win::GlobalAlloc(win::GMEM_MOVEABLE, static_cast<std::size_t>(rec->Size));
    if (rec->GlobalHandle == 0) gui::Abort();
    rec->Memory = win::GlobalLock(rec->GlobalHandle);
    return rec;
  }
  rec->heapBlock.reset(new (std::nothrow) unsigned char[static_cast<std::size_t>(rec->Size) + 1]);
  if (!rec->heapBlock) throw gui::EOutOfMemory("Out of memory");
  rec->Memory = rec->heapBlock.get();
  return rec;
}

void FreeLargeBlock(std::unique_ptr<AllocRec> rec) {
  if (!rec) return;
  if (rec->GlobalHandle != 0) {
    win::GlobalUnlock(rec->GlobalHandle);
    win::GlobalFree(rec->GlobalHandle);
    rec->GlobalHandle = 0;
  }
  rec->Memory = nullptr;
  rec->heapBlock.reset();
}

}  // namespace engine
