#include "engine/common/BlockPool.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#include "engine/common/AddressSanitizer.h"

namespace engine {
namespace {

constexpr bool kPooled = !kAddressSanitizer;

constexpr std::size_t kAlignment = 16;

constexpr std::size_t RoundUp(std::size_t size, std::size_t step) { return (size + step - 1) / step * step; }

}  // namespace

// A slab starts at a multiple of kSlabBytes, so that a block finds its slab by
// its address. Its blocks follow the header; those never handed out yet lie
// past `bumped`, those given back are on `free`. A slab with a free block is
// on the pool's partial list.
struct BlockPool::Slab {
  Slab* prev = nullptr;
  Slab* next = nullptr;
  FreeBlock* free = nullptr;
  std::size_t live = 0;
  std::size_t bumped = 0;
  bool partial = false;

  static constexpr std::size_t kHeaderBytes = 64;
  std::byte* Blocks() { return reinterpret_cast<std::byte*>(this) + kHeaderBytes; }
};

BlockPool::BlockPool(std::size_t blockSize)
    : blockSize_(RoundUp(blockSize < kAlignment ? kAlignment : blockSize, kAlignment)),
      blocksPerSlab_((kSlabBytes - Slab::kHeaderBytes) / blockSize_) {
  static_assert(sizeof(Slab) <= Slab::kHeaderBytes);
  static_assert(sizeof(FreeBlock) <= kAlignment);
}

BlockPool::~BlockPool() {
  for (Slab* slab = partial_; slab;) {
    Slab* next = slab->next;
    if (slab->live == 0) {
      slab->~Slab();
      std::free(slab);
    }
    slab = next;
  }
}

BlockPool::Slab* BlockPool::NewSlab() {
  void* memory = std::aligned_alloc(kSlabBytes, kSlabBytes);
  if (!memory) throw std::bad_alloc();
  ++slabs_;
  return new (memory) Slab();
}

void BlockPool::Unlink(Slab* slab) noexcept {
  if (!slab->partial) return;
  if (slab->prev) slab->prev->next = slab->next;
  else partial_ = slab->next;
  if (slab->next) slab->next->prev = slab->prev;
  slab->prev = slab->next = nullptr;
  slab->partial = false;
}

void BlockPool::PushPartial(Slab* slab) noexcept {
  slab->prev = nullptr;
  slab->next = partial_;
  if (partial_) partial_->prev = slab;
  partial_ = slab;
  slab->partial = true;
}

void* BlockPool::Allocate() {
  if constexpr (!kPooled) return ::operator new(blockSize_);
  const std::lock_guard lock(lock_);
  Slab* slab = partial_;
  if (!slab) {
    slab = NewSlab();
    PushPartial(slab);
  }
  void* block = nullptr;
  if (slab->free) {
    block = slab->free;
    slab->free = slab->free->next;
  } else {
    block = slab->Blocks() + slab->bumped++ * blockSize_;
  }
  if (++slab->live == blocksPerSlab_) Unlink(slab);  // full
  return block;
}

void BlockPool::Release(void* block) noexcept {
  if (!block) return;
  if constexpr (!kPooled) {
    ::operator delete(block);
    return;
  }
  const std::lock_guard lock(lock_);
  auto* slab = reinterpret_cast<Slab*>(reinterpret_cast<std::uintptr_t>(block) & ~(kSlabBytes - 1));
  slab->free = new (block) FreeBlock{slab->free};
  --slab->live;
  if (!slab->partial) PushPartial(slab);
  // An empty slab goes back to the heap unless it is the only one with room
  // (so that taking and giving back one block at a slab's edge does not
  // make and free a slab each time).
  if (slab->live == 0 && (slab->prev || slab->next)) {
    Unlink(slab);
    slab->~Slab();
    std::free(slab);
    --slabs_;
  }
}

std::size_t BlockPool::SlabCount() const {
  const std::lock_guard lock(lock_);
  return slabs_;
}

}  // namespace engine
