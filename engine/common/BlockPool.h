#pragma once
// BlockPool: blocks of one size for the small objects a document holds by the
// hundred thousand (font runs, sections, link records), carved out of 64 KB
// slabs mapped from the system. Taking and giving back a block is a few
// instructions and touches only its slab; a cleared document gives its slabs
// back whole, and empty slabs are kept for the next document (beyond 16 MB, as
// pages the system may reclaim). Under the address sanitizer every block
// comes from the heap, so that use after free is still caught.
#include <cstddef>

#include "engine/common/SpinLock.h"

namespace engine {

class BlockPool {
 public:
  // blockSize: the objects' size; rounded up to 16 bytes.
  explicit BlockPool(std::size_t blockSize);
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;
  // Frees the empty slabs; slabs still holding blocks are left alone (the
  // pools of the engine live as long as the process).
  ~BlockPool();

  // A block of the pool's size; throws std::bad_alloc.
  void* Allocate();
  // Gives back a block this pool made (nullptr: nothing).
  void Release(void* block) noexcept;

  // Unmaps the empty slabs kept for reuse, as malloc_trim gives the heap's
  // free room back (memory figures start from there).
  static void ReleaseEmptySlabs() noexcept;

  // Bytes of the slabs all pools hold (outside the heap's own figures).
  static std::size_t SlabBytesInUse() noexcept;

  // Slabs held, for tests.
  std::size_t SlabCount() const;
  static constexpr std::size_t kSlabBytes = std::size_t{1} << 16;

 private:
  struct Slab;
  struct FreeBlock {
    FreeBlock* next;
  };

  Slab* NewSlab();
  void Unlink(Slab* slab) noexcept;
  void PushPartial(Slab* slab) noexcept;

  const std::size_t blockSize_;
  const std::size_t blocksPerSlab_;
  mutable SpinLock lock_;     // documents are built on one thread; frees may come from another
  Slab* partial_ = nullptr;   // slabs with a free block, the one to take from first
  std::size_t slabs_ = 0;
};

// The pool for objects of T, as T's operator new and delete use it. NOTE:
// never destroyed, so that objects freed while the process ends (by objects of
// static duration) still find it.
template <class T>
BlockPool& PoolFor() {
  static BlockPool* const pool = new BlockPool(sizeof(T));
  return *pool;
}

}  // namespace engine
