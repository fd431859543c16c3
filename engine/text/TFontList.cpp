#include "engine/text/TFontList.h"

#include <algorithm>
#include <memory>

#include "engine/common/PieceArena.h"

namespace engine {

void TFontList::Free(TFontObj* run) {
  if (static_cast<void*>(run) == static_cast<void*>(held_)) {
    std::destroy_at(run);
    holding_ = false;
  } else {
    delete run;
  }
}

namespace {

// The spare block of run room, one per building thread.
struct SpareRunRoom {
  static constexpr std::size_t kRuns = 64;
  TFontObj** block = nullptr;
  std::size_t count = 0;
  ~SpareRunRoom() {
    if (block) std::allocator<TFontObj*>().deallocate(block, count);
  }
};
thread_local SpareRunRoom spareRunRoom;

}  // namespace

void TFontList::TakeSpareRoom() {
  SpareRunRoom& spare = spareRunRoom;
  std::size_t count = spare.count;
  TFontObj** block = spare.block;
  if (!block) {
    count = SpareRunRoom::kRuns;
    block = std::allocator<TFontObj*>().allocate(count);
  }
  spare.block = nullptr;
  spare.count = 0;
  runs_.AdoptBlock(block, count);
  inSpare_ = true;
}

void TFontList::Settle() {
  spareRoom_ = false;
  if (settled_) return;
  const std::size_t size = runs_.size();
  if (size > 1) {
    // The pointers move to the arena; runs_ is left empty on its old block.
    settled_ = static_cast<TFontObj**>(TextArena().Allocate(size * sizeof(TFontObj*)));
    std::copy(runs_.begin(), runs_.end(), settled_);
    settledCount_ = static_cast<std::uint32_t>(size);
    runs_.clear();
  } else if (!inSpare_) {
    return;  // one run or none, in place
  }
  std::size_t count = 0;
  TFontObj** block = runs_.GiveUpBlock(count);
  if (!block) return;
  const bool spareBlock = inSpare_;
  inSpare_ = false;
  SpareRunRoom& spare = spareRunRoom;
  if (!spareBlock || spare.block) {
    std::allocator<TFontObj*>().deallocate(block, count);
  } else {
    spare.block = block;
    spare.count = count;
  }
}

void TFontList::MoveOutOfArena() {
  runs_.Append(settled_, settled_ + settledCount_);
  ReleaseSettled();
}

void TFontList::ReleaseSettled() {
  TextArena().Release(settled_, std::size_t{settledCount_} * sizeof(TFontObj*));
  settled_ = nullptr;
  settledCount_ = 0;
}

void TFontList::Clear() {
  if (settled_) {
    for (std::size_t i = 0; i < settledCount_; ++i) {
      TFontObj* freed = settled_[i];
      settled_[i] = nullptr;
      Free(freed);
    }
    ReleaseSettled();
  }
  for (TFontObj*& run : runs_) {
    TFontObj* freed = run;
    run = nullptr;
    Free(freed);
  }
  runs_.clear();
}

void TFontList::CopyFrom(TSection* section, const TFontList& source) {
  Clear();
  for (const TFontObj* run : source) Emplace(section, *run);
}

TFontObj* TFontList::RunAt(int pos, int& index) const {
  index = -1;
  if (Empty()) return nullptr;
  // The last run whose start is at most pos; the first run for positions before it.
  TFontObj* const* runs = RunData();
  const auto after =
      std::upper_bound(runs + 1, runs + RunCount(), pos, [](int at, const TFontObj* run) { return at < run->Pos; });
  index = static_cast<int>(after - runs) - 1;
  return runs[static_cast<std::size_t>(index)];
}

const TMyFont* TFontList::FontAt(int pos, int& overhang) const {
  int index = 0;
  TFontObj* run = RunAt(pos, index);
  overhang = run ? run->Overhang() : 0;
  return run ? run->Font.get() : nullptr;
}

int TFontList::CharsToNextRun(int pos, int leng) const {
  int index = 0;
  RunAt(pos, index);
  if (TFontObj* next = Items(index + 1)) return next->Pos - pos;
  return leng - pos;
}

void TFontList::Remap(const PositionMap& map) {
  if (map.empty()) return;
  const int last = static_cast<int>(map.size()) - 1;
  for (const auto& run : *this) run->Pos = map[static_cast<std::size_t>(std::clamp(run->Pos, 0, last))];
  DropEmptyRuns();
}

void TFontList::ShiftAfterRemoval(int n) {
  for (const auto& run : *this)
    if (run->Pos > n) --run->Pos;
  DropEmptyRuns();
}

// A run that now starts where the next one starts holds no characters. It
// leaves the link list; its tab stop goes to the next run when that carries
// the same link, else it is freed with the run. One sweep over the list.
void TFontList::DropEmptyRuns() {
  Unsettle();
  std::size_t kept = 0;
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    TFontObj* next = i + 1 < runs_.size() ? runs_[i + 1] : nullptr;
    if (next && next->Pos <= runs_[i]->Pos) {
      runs_[i]->LeaveLinks(next);
      TFontObj* dropped = runs_[i];
      runs_[i] = nullptr;
      Free(dropped);
      continue;
    }
    runs_[kept++] = runs_[i];
  }
  runs_.resize(kept);
}

}  // namespace engine
