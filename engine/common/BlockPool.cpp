#include "engine/common/BlockPool.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#include <sys/mman.h>

#include "engine/common/AddressSanitizer.h"

namespace engine {
namespace {

constexpr bool kPooled = !kAddressSanitizer;

constexpr std::size_t kAlignment = 16;

constexpr std::size_t RoundUp(std::size_t size, std::size_t step) { return (size + step - 1) / step * step; }

// Slabs are mapped from the system rather than taken from the heap: an aligned
// heap block leaves a hole of up to its alignment beside it, and those holes,
// pinned between live blocks, kept a large page's load megabytes above its
// need. A mapping costs only the pages touched.
void* MapSlab() {
  const std::size_t bytes = BlockPool::kSlabBytes;
  void* mapped = ::mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + bytes - 1) & ~(bytes - 1);
  // Trim the mapping to the aligned slab.
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const std::uintptr_t end = start + 2 * bytes; end > aligned + bytes)
    ::munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
  return reinterpret_cast<void*>(aligned);
}

// Empty slabs of every pool, kept for the next document up to a bound, so that
// loading page after page does not map and fault in fresh pages each time.
class EmptySlabs {
 public:
  void* Take() {
    {
      const std::lock_guard lock(lock_);
      ++inUse_;
      if (head_) {
        Kept* slab = head_;
        head_ = slab->next;
        --count_;
        return slab;
      }
    }
    return MapSlab();
  }

  std::size_t InUse() {
    const std::lock_guard lock(lock_);
    return inUse_;
  }

  void UnmapAll() noexcept {
    const std::lock_guard lock(lock_);
    while (head_) {
      Kept* slab = head_;
      head_ = slab->next;
      ::munmap(slab, BlockPool::kSlabBytes);
    }
    count_ = 0;
  }

  void Give(void* slab) noexcept {
    {
      const std::lock_guard lock(lock_);
      --inUse_;
      if (count_ < kKept) {
        head_ = new (slab) Kept{head_};
        ++count_;
        if (count_ > kKeptResident) {
          // The system may take the pages past the link whenever it needs
          // them; until then the slab is reused without faulting them in.
          ::madvise(static_cast<std::byte*>(slab) + kLinkPage, BlockPool::kSlabBytes - kLinkPage, MADV_FREE);
        }
        return;
      }
    }
    ::munmap(slab, BlockPool::kSlabBytes);
  }

 private:
  struct Kept {
    Kept* next;
  };
  // Up to 16 MB stay as they are; up to 64 MB more are kept for the system to
  // reclaim at will (a long table's document holds about 50 MB of slabs).
  static constexpr std::size_t kKeptResident = 256;
  static constexpr std::size_t kKept = 1024;
  static constexpr std::size_t kLinkPage = 4096;  // holds the list link

  SpinLock lock_;
  Kept* head_ = nullptr;
  std::size_t count_ = 0;
  std::size_t inUse_ = 0;  // slabs held by pools
};

EmptySlabs& Empty() {
  // NOTE: never destroyed: pools free slabs from static destructors.
  static EmptySlabs* const empty = new EmptySlabs();
  return *empty;
}

void UnmapSlab(void* slab) noexcept { Empty().Give(slab); }

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
      UnmapSlab(slab);
    }
    slab = next;
  }
}

BlockPool::Slab* BlockPool::NewSlab() {
  void* memory = Empty().Take();
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
    UnmapSlab(slab);
    --slabs_;
  }
}

void BlockPool::ReleaseEmptySlabs() noexcept { Empty().UnmapAll(); }

std::size_t BlockPool::SlabBytesInUse() noexcept { return Empty().InUse() * kSlabBytes; }

std::size_t BlockPool::SlabCount() const {
  const std::lock_guard lock(lock_);
  return slabs_;
}

}  // namespace engine
