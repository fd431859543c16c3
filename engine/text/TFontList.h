#pragma once
// TFontList: the font runs of one text section in position order. The first
// run starts at 0 and the starts grow strictly. Most sections have one run:
// the list holds one run in itself and the others on the heap; a run never
// moves once made (links and tab stops point at it). A settled list of more
// than one run holds its run pointers in a piece of the text arena.
#include <algorithm>
#include <cstddef>
#include <cstdint>
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

  int Count() const { return static_cast<int>(RunCount()); }
  bool Empty() const { return RunCount() == 0; }
  TFontObj* Items(int index) const {
    return index >= 0 && index < Count() ? RunData()[static_cast<std::size_t>(index)] : nullptr;
  }
  TFontObj* Last() const { return Empty() ? nullptr : RunData()[RunCount() - 1]; }
  // Appends a run made elsewhere.
  TFontObj* Add(std::unique_ptr<TFontObj> run) {
    Unsettle();
    MakeRoom();
    runs_.push_back(run.release());
    return runs_.back();
  }
  // Appends a run made from args: in the list itself when its place is free.
  template <class... Args>
  TFontObj* Emplace(Args&&... args) {
    Unsettle();
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
  // of their exact number in the text arena and hands the block on. A built
  // section costs no heap allocation for its runs however many it has, and
  // keeps no unused room.
  void BuildInSpareRoom() { spareRoom_ = true; }
  void Settle();
  TFontObj* const* begin() const { return RunData(); }
  TFontObj* const* end() const { return RunData() + RunCount(); }

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
  // The runs, wherever they stand.
  TFontObj* const* RunData() const { return settled_ ? settled_ : runs_.data(); }
  std::size_t RunCount() const { return settled_ ? settledCount_ : runs_.size(); }
  // Moves settled runs back into runs_ before the list changes.
  void Unsettle() {
    if (settled_) MoveOutOfArena();
  }
  void MoveOutOfArena();
  void ReleaseSettled();
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

  SmallVector<TFontObj*> runs_;  // owned, freed front to back; empty while settled_ holds them
  TFontObj** settled_ = nullptr;  // the runs of a settled list of more than one, in the text arena
  std::uint32_t settledCount_ = 0;
  alignas(TFontObj) std::byte held_[sizeof(TFontObj)];
  bool holding_ = false;  // held_ holds one of the runs
  bool spareRoom_ = false;  // the list is being built: it may grow in the spare block
  bool inSpare_ = false;    // runs_ stands in the spare block
};

}  // namespace engine
