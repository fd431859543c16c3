#pragma once

#include <cstddef>

// A place in one of the store's lists: either none or the index of the entry
// that the next GetNext returns. Positions stay valid while entries are added.
class Position {
 public:
  Position() = default;
  static Position At(std::size_t index) { return Position(index); }

  explicit operator bool() const { return valid_; }
  std::size_t Index() const { return index_; }
  void Clear() { valid_ = false; }

 private:
  explicit Position(std::size_t index) : index_(index), valid_(true) {}

  std::size_t index_ = 0;
  bool valid_ = false;
};

// The first position of a list of count entries.
inline Position HeadPosition(std::size_t count) { return count == 0 ? Position() : Position::At(0); }

// The entry of items (pointers or owning pointers) at pos; pos moves to the
// next entry, or to none after the last.
template <typename Items>
auto EntryAt(const Items& items, Position& pos) -> decltype(&*items[0]) {
  if (!pos || pos.Index() >= items.size()) {
    pos.Clear();
    return nullptr;
  }
  auto* entry = &*items[pos.Index()];
  pos = pos.Index() + 1 < items.size() ? Position::At(pos.Index() + 1) : Position();
  return entry;
}
