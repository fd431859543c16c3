#pragma once
// A table of objects addressed by 32-bit handles. A handle packs a slot index
// (low 20 bits) and the slot's generation (high 12 bits); freeing a slot bumps
// its generation, so a stale or foreign handle is refused, never dereferenced.
// Handle 0 is never issued. Not thread-safe: all work runs on one UI thread.
#include <cstdint>
#include <memory>
#include <vector>

namespace win {

template <typename Object>
class HandleTable {
 public:
  static constexpr std::uint32_t kIndexBits = 20;
  static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
  static constexpr std::uint32_t kGenerationMask = (1u << (32 - kIndexBits)) - 1;

  // Stores the object and returns its handle, or 0 when the table is full.
  std::uint32_t add(std::unique_ptr<Object> object) {
    std::uint32_t index;
    if (!freeSlots_.empty()) {
      index = freeSlots_.back();
      freeSlots_.pop_back();
    } else {
      if (slots_.empty()) slots_.emplace_back();  // index 0 is never used
      if (slots_.size() > kIndexMask) return 0;
      index = static_cast<std::uint32_t>(slots_.size());
      slots_.emplace_back();
    }
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    return (slot.generation << kIndexBits) | index;
  }

  // The live object for the handle, or nullptr for 0, stale or foreign handles.
  Object* get(std::uint32_t handle) const {
    const std::uint32_t index = handle & kIndexMask;
    if (index == 0 || index >= slots_.size()) return nullptr;
    const Slot& slot = slots_[index];
    if (!slot.object || slot.generation != (handle >> kIndexBits)) return nullptr;
    return slot.object.get();
  }

  // Removes and returns the object; nullptr when the handle is not live.
  std::unique_ptr<Object> remove(std::uint32_t handle) {
    if (!get(handle)) return nullptr;
    Slot& slot = slots_[handle & kIndexMask];
    std::unique_ptr<Object> object = std::move(slot.object);
    slot.generation = (slot.generation + 1) & kGenerationMask;
    if (slot.generation == 0) slot.generation = 1;
    freeSlots_.push_back(handle & kIndexMask);
    return object;
  }

  template <typename Visit>
  void forEach(Visit&& visit) const {
    for (std::uint32_t i = 1; i < slots_.size(); ++i)
      if (slots_[i].object) visit((slots_[i].generation << kIndexBits) | i, *slots_[i].object);
  }

  void clear() {
    slots_.clear();
    freeSlots_.clear();
  }

 private:
  struct Slot {
    std::unique_ptr<Object> object;
    std::uint32_t generation = 1;
  };
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> freeSlots_;
};

}  // namespace win
