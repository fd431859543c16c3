#pragma once
// The stack of style properties that follows the open elements while a document is parsed.
// Invariant: entry 0 holds the document defaults; the last entry is the innermost open element.
// Deleted entries are kept (a few) and handed out again by NewEntry: an entry is a few
// kilobytes, and taking one from the heap and giving it back for every element made the
// allocator sort its free lists again and again on a large document. A kept entry gives
// back its font at once; its values are overwritten in place when it is handed out again.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/css/TProperties.h"

namespace engine {

class TPropStack {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  int TopIndex() const { return Count() - 1; }
  // Entry by index; nullptr when out of range. In line: the cascade reads every open
  // element's entry for each element it styles.
  TProperties* Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
  }
  // The innermost element's properties; nullptr when empty.
  TProperties* Last() const { return items_.empty() ? nullptr : items_.back().get(); }
  // Takes ownership and pushes; returns the pushed entry.
  TProperties* Add(std::unique_ptr<TProperties> properties);
  // Takes ownership and inserts at index (clamped into 0..Count); returns the inserted entry.
  TProperties* Insert(int index, std::unique_ptr<TProperties> properties);
  // Removes the entry at index (out of range: nothing).
  void Delete(int index);
  void Clear() { items_.clear(); }
  // A newly constructed entry, in the storage of a deleted one when one is at hand.
  std::unique_ptr<TProperties> NewEntry();
  // The same, having inherited from parent for a child of childTag (see TProperties::Inherit).
  std::unique_ptr<TProperties> NewEntry(const std::string& childTag, const TProperties& parent);

 private:
  static constexpr std::size_t kMaxSpareEntries = 32;
  std::vector<std::unique_ptr<TProperties>> items_;
  std::vector<std::unique_ptr<TProperties>> spare_;
};

}  // namespace engine
