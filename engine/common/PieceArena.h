#pragma once
// PieceArena: pieces of any size for data that never changes size once made
// (a finished text section's characters, break flags and source index), cut
// one after another out of 16 KB slabs taken from the heap. A document's
// pieces are made in a row and freed together, so a slab goes back to the heap
// when the last piece cut from it is given back; a piece too large for a slab
// is a heap block of its own. Taking a piece is a few instructions and no heap
// call. Under the address sanitizer every piece comes from the heap, so that
// overruns and use after free are still caught.
#include <cstddef>

#include "engine/common/SpinLock.h"

namespace engine {

class PieceArena {
 public:
  PieceArena() = default;
  PieceArena(const PieceArena&) = delete;
  PieceArena& operator=(const PieceArena&) = delete;
  // Frees the slab pieces are cut from when it holds none; slabs still
  // holding pieces are left alone (the arenas of the engine live as long as
  // the process).
  ~PieceArena();

  // A piece of bytes (> 0) aligned to 8 bytes; throws std::bad_alloc.
  void* Allocate(std::size_t bytes);
  // Gives back a piece this arena made with the same byte count (nullptr: nothing).
  void Release(void* piece, std::size_t bytes) noexcept;

  // Slabs held, for tests.
  std::size_t SlabCount() const;
  static constexpr std::size_t kSlabBytes = std::size_t{1} << 14;
  // Larger pieces are heap blocks: a slab wastes at most about this much at its end.
  static constexpr std::size_t kLargestSlabPiece = std::size_t{1} << 10;

 private:
  struct Slab;

  Slab* NewSlab();

  mutable SpinLock lock_;  // documents are built on one thread; frees may come from another
  Slab* current_ = nullptr;  // the slab pieces are cut from
  std::size_t slabs_ = 0;
};

// The arena of document text: finished sections' characters, flags, source
// indexes and font run lists.
PieceArena& TextArena();

}  // namespace engine
