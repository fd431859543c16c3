#pragma once
// The chunks of one PNG image in file order. The list owns its chunks and
// knows its image; every chunk's owner is the list that holds it.
#include <memory>
#include <vector>

#include "images/TChunk.h"

namespace images {

class TChunkList {
 public:
  explicit TChunkList(TPNGImage* Owner) : FOwner(Owner) {}
  ~TChunkList() { Clear(); }
  TChunkList(const TChunkList&) = delete;
  TChunkList& operator=(const TChunkList&) = delete;

  TPNGImage* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises "The chunk index especified is out of the range." for a bad index.
  TChunk& Item(int Index) const;

  // Reads one chunk at Stream's position and adds it; an IDAT after the first
  // has its data appended to the first and is dropped. Returns the chunk read
  // (the first IDAT for a later one). Raises EPNGImageException for a short
  // chunk, a length beyond the stream, a bad CRC or an unknown critical chunk.
  TChunk& ReadChunk(gui::TStream& Stream);

  TChunk& Add(std::unique_ptr<TChunk> Chunk);
  template <class C>
  C& AddClass() {
    return static_cast<C&>(Add(std::make_unique<C>(this)));
  }
  // Moves the chunk at From to index To (both range-checked).
  void Move(int From, int To);
  // The index of the first chunk of exactly this class, -1 when none.
  template <class C>
  int IndexOfClass() const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
      if (IsChunkClass<C>(*FItems[i])) return static_cast<int>(i);
    return -1;
  }
  template <class C>
  C* FirstOfClass() const {
    const int index = IndexOfClass<C>();
    return index < 0 ? nullptr : static_cast<C*>(FItems[static_cast<std::size_t>(index)].get());
  }
  int IndexOf(const TChunk* Chunk) const;
  // Frees the chunk; raises "The especified chunk is not inside the chunk list ..." for a stranger.
  void Remove(TChunk* Chunk);
  // Frees every chunk, last first.
  void Clear();

 private:
  TPNGImage* FOwner;
  std::vector<std::unique_ptr<TChunk>> FItems;
};

}  // namespace images
