#pragma once
// TFontList: the font runs of one text section in position order. The first
// run starts at 0 and the starts grow strictly. Most sections have one run:
// the list holds one run in itself and the others on the heap; a run never
// moves once made (links and tab stops point at it).
#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "engine/common/SmallVector.h"
#include "engine/text/TFontObj.h"
#include "engine/text/WhiteSpace.h"

namespace engine {

class TFontList {
 public:
  TFontList() = default;
  ~TFontList() { Clear(); }
  TFontList(const TFontList&) = delete;
  TFontList& operator=(const TFontList&) = delete;

  int Count() const { return static_cast<int>(runs_.size()); }
  bool Empty() const { return runs_.empty(); }
  TFontObj* Items(int index) const {
    return index >= 0 && index < Count() ? runs_[static_cast<std::size_t>(index)] : nullptr;
  }
  TFontObj* Last() const { return runs_.empty() ? nullptr : runs_.back(); }
  // Appends a run made elsewhere.
  TFontObj* Add(std::unique_ptr<TFontObj> run) {
    MakeRoom();
    runs_.push_back(run.release());
    return runs_.back();
  }
  // Appends a run made from args: in the list itself when its place is free.
  template <class... Args>
  TFontObj* Emplace(Args&&... args) {
    MakeRoom();
    TFontObj* run = nullptr;
    if (holding_) {
      run = new TFontObj(std::forward<Args>(args)...);
    } else {
      run = new (held_) TFontObj(std::forward<Args>(args)...);
      holding_ = true;
    }
    runs_.push_back(run);
    return run;
  }
  void Clear();
  // While its section is built the list grows in a spare block of room shared
  // by the sections built one after another; Settle moves the runs into room
  // of their exact number and hands the block on. A built section costs one
  // allocation for its runs however many it has, and keeps no unused room.
  void BuildInSpareRoom() { spareRoom_ = true; }
  void Settle();
  auto begin() const { return runs_.begin(); }
  auto end() const { return runs_.end(); }

  // Copies of every run of source (normal looks, no tab stops).
  void CopyFrom(TSection* section, const TFontList& source);
  // The run holding pos: the last run that starts at or before it (the first
  // run for positions before it); nullptr for an empty list.
  TFontObj* RunAt(int pos, int& index) const;
  const TMyFont* FontAt(int pos, int& overhang) const;
  // Characters from pos to the start of the next run; leng - pos when none follows.
  int CharsToNextRun(int pos, int leng) const;
  // Moves every run by the position map of a collapse (map[old] = new) and
  // drops the runs left empty; a dropped link run hands its tab stop to the
  // next run of the same link.
  void Remap(const PositionMap& map);
  // As Remap for the removal of the one character at position n.
  void ShiftAfterRemoval(int n);

 private:
  void DropEmptyRuns();
  // Room for one more run before it is made, so that appending cannot fail
  // after; doubling keeps appending linear. A section that changes font at
  // all usually changes it a few times: room for four at the first growth.
  static constexpr std::size_t kFirstHeapRuns = 4;
  void MakeRoom() {
    if (runs_.size() != runs_.capacity()) return;
    if (spareRoom_ && !inSpare_ && runs_.capacity() == 1) {
      TakeSpareRoom();
      return;
    }
    inSpare_ = false;  // growing frees the spare block with the old room
    runs_.reserve(std::max<std::size_t>(kFirstHeapRuns, runs_.capacity() * 2));
  }
  void TakeSpareRoom();
  // Destroys run, in place when the list holds it, else on the heap.
  void Free(TFontObj* run);

  SmallVector<TFontObj*> runs_;  // owned, freed front to back
  alignas(TFontObj) std::byte held_[sizeof(TFontObj)];
  bool holding_ = false;  // held_ holds one of the runs
  bool spareRoom_ = false;  // the list is being built: it may grow in the spare block
  bool inSpare_ = false;    // runs_ stands in the spare block
};

}  // namespace engine
