#pragma once
// FlatSlotIndex: an open-addressed hash index of positions in a vector its
// owner keeps. The owner stores the keys; the index stores each position
// beside its 32-bit hash in one flat array, so a look-up reads one slot line
// and the entry it names, and growing never touches the entries. Document-wide
// tables (anchor names) use it where node-based maps would scatter over the
// document's memory.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

class FlatSlotIndex {
 public:
  // The position recorded under hash that matches(position) accepts, or -1.
  template <class Matches>
  int Find(std::uint32_t hash, Matches&& matches) const {
    if (slots_.empty()) return -1;
    for (std::size_t at = hash & Mask();; at = (at + 1) & Mask()) {
      const Slot& slot = slots_[at];
      if (slot.position == kEmpty) return -1;
      if (slot.position >= 0 && slot.hash == hash && matches(slot.position)) return slot.position;
    }
  }
  // Records position under hash; the owner makes sure no equal key is recorded.
  void Insert(std::uint32_t hash, int position);
  // Drops position, recorded under hash.
  void Erase(std::uint32_t hash, int position);
  // The entry recorded under hash at from now stands at to (the owner moved it).
  void Move(std::uint32_t hash, int from, int to);
  void Clear();
  std::size_t Count() const { return live_; }

  // Hashes for keys, spread over all 32 bits (the index uses the low ones).
  static std::uint32_t Spread(std::uint64_t value) {
    value *= 0x9E3779B97F4A7C15ull;
    return static_cast<std::uint32_t>(value >> 32);
  }

 private:
  static constexpr std::int32_t kEmpty = -1;
  static constexpr std::int32_t kErased = -2;
  struct Slot {
    std::uint32_t hash = 0;
    std::int32_t position = kEmpty;
  };
  std::size_t Mask() const { return slots_.size() - 1; }
  Slot* SlotOf(std::uint32_t hash, int position);
  // Room for one more record: at most three quarters of the slots in use, erased ones counted.
  void MakeRoom();

  std::vector<Slot> slots_;  // a power of two in size, or empty
  std::size_t live_ = 0;
  std::size_t used_ = 0;  // live and erased slots
};

}  // namespace engine
