#include "engine/common/FlatSlotIndex.h"

#include <algorithm>

namespace engine {

FlatSlotIndex::Slot* FlatSlotIndex::SlotOf(std::uint32_t hash, int position) {
  if (slots_.empty()) return nullptr;
  for (std::size_t at = hash & Mask();; at = (at + 1) & Mask()) {
    Slot& slot = slots_[at];
    if (slot.position == kEmpty) return nullptr;
    if (slot.position == position) return &slot;
  }
}

void FlatSlotIndex::MakeRoom() {
  if ((used_ + 1) * 4 <= slots_.size() * 3) return;
  // Erased slots go; the array doubles only when the live records need it, so
  // that growing stays linear in the records made.
  std::size_t size = std::max<std::size_t>(16, slots_.size());
  while ((live_ + 1) * 2 > size) size *= 2;
  std::vector<Slot> old(size);
  old.swap(slots_);
  for (const Slot& slot : old) {
    if (slot.position < 0) continue;
    std::size_t at = slot.hash & Mask();
    while (slots_[at].position != kEmpty) at = (at + 1) & Mask();
    slots_[at] = slot;
  }
  used_ = live_;
}

void FlatSlotIndex::Insert(std::uint32_t hash, int position) {
  MakeRoom();
  std::size_t at = hash & Mask();
  while (slots_[at].position >= 0) at = (at + 1) & Mask();
  if (slots_[at].position == kEmpty) ++used_;
  slots_[at] = {hash, position};
  ++live_;
}

void FlatSlotIndex::Erase(std::uint32_t hash, int position) {
  Slot* slot = SlotOf(hash, position);
  if (!slot) return;
  slot->position = kErased;
  --live_;
}

void FlatSlotIndex::Move(std::uint32_t hash, int from, int to) {
  if (Slot* slot = SlotOf(hash, from)) slot->position = to;
}

void FlatSlotIndex::Clear() {
  slots_.clear();
  live_ = 0;
  used_ = 0;
}

}  // namespace engine
