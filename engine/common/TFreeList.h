#pragma once
// A list that owns its items and frees them, in index order, when it is
// cleared or destroyed. Most lists (a table cell's sections, a block's) hold
// one item, which is kept in place.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "engine/common/SmallVector.h"

namespace engine {

template <class T>
class TFreeList {
 public:
  TFreeList() = default;
  TFreeList(const TFreeList&) = delete;
  TFreeList& operator=(const TFreeList&) = delete;
  virtual ~TFreeList() { FreeAll(); }

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  // Item by index; nullptr when out of range.
  T* Items(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].get() : nullptr;
  }
  T* Last() const { return items_.empty() ? nullptr : items_.back().get(); }

  // Takes ownership and appends; returns the appended item.
  T* Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return items_.back().get();
  }
  // Frees the item at index and closes the gap (out of range: nothing).
  void Delete(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
  }
  virtual void Clear() { FreeAll(); }
  // Exchanges the items of two lists (a nested parse parks the outer one's).
  void SwapItems(TFreeList& other) { items_.swap(other.items_); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 protected:
  // Empties the list into spare, in index order, without freeing anything
  // (a list that refills often keeps its items to reuse).
  void MoveItemsTo(std::vector<std::unique_ptr<T>>& spare) {
    for (auto& item : items_) spare.push_back(std::move(item));
    items_.clear();
  }

 private:
  // The list frees front to back, whatever its storage does.
  void FreeAll() {
    for (auto& item : items_) item.reset();
    items_.clear();
  }

  SmallVector<std::unique_ptr<T>> items_;
};

}  // namespace engine
