#include "engine/common/PieceArena.h"

#include <cstdint>
#include <mutex>
#include <new>

#include "engine/common/AddressSanitizer.h"

namespace engine {
namespace {

constexpr bool kPooled = !kAddressSanitizer;

constexpr std::size_t kAlignment = 8;

constexpr std::size_t RoundUp(std::size_t size, std::size_t step) { return (size + step - 1) / step * step; }

bool FromHeap(std::size_t bytes) { return !kPooled || bytes > PieceArena::kLargestSlabPiece; }

}  // namespace

// A slab is an ordinary heap block, so that it fills room the heap already
// has. Each piece follows the address of its slab; pieces follow the header
// up to `used`, and `live` counts those not given back yet.
struct PieceArena::Slab {
  std::size_t live = 0;
  std::size_t used = kHeaderBytes;

  static constexpr std::size_t kHeaderBytes = 16;
  std::byte* Start() { return reinterpret_cast<std::byte*>(this); }
};

namespace {

constexpr std::size_t kSlabAddressBytes = 8;

}  // namespace

PieceArena::~PieceArena() {
  if (current_ && current_->live == 0) {
    current_->~Slab();
    ::operator delete(current_);
  }
}

PieceArena::Slab* PieceArena::NewSlab() {
  void* memory = ::operator new(kSlabBytes);
  ++slabs_;
  return new (memory) Slab();
}

void* PieceArena::Allocate(std::size_t bytes) {
  if (FromHeap(bytes)) return ::operator new(bytes);
  const std::size_t taken = kSlabAddressBytes + RoundUp(bytes == 0 ? 1 : bytes, kAlignment);
  const std::lock_guard lock(lock_);
  if (!current_ || current_->used + taken > kSlabBytes) {
    // The full slab goes back once its last piece does.
    if (current_ && current_->live == 0) {
      current_->used = Slab::kHeaderBytes;
    } else {
      current_ = NewSlab();
    }
  }
  std::byte* at = current_->Start() + current_->used;
  *reinterpret_cast<Slab**>(at) = current_;
  current_->used += taken;
  ++current_->live;
  return at + kSlabAddressBytes;
}

void PieceArena::Release(void* piece, std::size_t bytes) noexcept {
  if (!piece) return;
  if (FromHeap(bytes)) {
    ::operator delete(piece);
    return;
  }
  Slab* slab = *reinterpret_cast<Slab**>(static_cast<std::byte*>(piece) - kSlabAddressBytes);
  const std::lock_guard lock(lock_);
  if (--slab->live != 0) return;
  if (slab == current_) {
    // Empty: the next pieces are cut from its start again.
    slab->used = Slab::kHeaderBytes;
    return;
  }
  slab->~Slab();
  ::operator delete(slab);
  --slabs_;
}

std::size_t PieceArena::SlabCount() const {
  const std::lock_guard lock(lock_);
  return slabs_;
}

// NOTE: never destroyed, so that text freed while the process ends (by
// objects of static duration) still finds it.
PieceArena& TextArena() {
  static PieceArena* const arena = new PieceArena();
  return *arena;
}

}  // namespace engine
