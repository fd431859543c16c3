#include "platform/win/kernel/Memory.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "platform/win/HandleTable.h"
#include "platform/win/kernel/LastError.h"

namespace win {
namespace {

struct GlobalBlock {
  std::unique_ptr<unsigned char[]> bytes;
  std::size_t size = 0;
  unsigned lockCount = 0;
};

// Blocks may be made and freed from worker threads (image decoding), so the
// table is guarded.
struct GlobalHeap {
  std::mutex mutex;
  HandleTable<GlobalBlock> blocks;
};

GlobalHeap& heap() {
  static GlobalHeap instance;
  return instance;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
  if (bytes > kMaxGlobalBlockBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  auto block = std::make_unique<GlobalBlock>();
  // At least one byte, so that even an empty block has an address.
  block->bytes.reset(new (std::nothrow) unsigned char[bytes ? bytes : 1]);
  if (!block->bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (flags & GMEM_ZEROINIT) std::memset(block->bytes.get(), 0, bytes ? bytes : 1);
  block->size = bytes;
  std::lock_guard lock(heap().mutex);
  return heap().blocks.add(std::move(block));
}

void* GlobalLock(HGLOBAL memory) {
  std::lock_guard lock(heap().mutex);
  GlobalBlock* block = heap().blocks.get(memory);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++block->lockCount;
  return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  std::lock_guard lock(heap().mutex);
  GlobalBlock* block = heap().blocks.get(memory);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (block->lockCount > 0) --block->lockCount;
  SetLastError(ERROR_SUCCESS);
  return block->lockCount > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  std::unique_ptr<GlobalBlock> block;
  {
    std::lock_guard lock(heap().mutex);
    block = heap().blocks.remove(memory);
  }
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
  }
  return 0;
}

std::size_t GlobalSize(HGLOBAL memory) {
  std::lock_guard lock(heap().mutex);
  const GlobalBlock* block = heap().blocks.get(memory);
  return block ? block->size : 0;
}

}  // namespace win
