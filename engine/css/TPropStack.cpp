#include "engine/css/TPropStack.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace engine {

TProperties* TPropStack::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

TProperties* TPropStack::Add(std::unique_ptr<TProperties> properties) {
  items_.push_back(std::move(properties));
  return items_.back().get();
}

TProperties* TPropStack::Insert(int index, std::unique_ptr<TProperties> properties) {
  index = std::clamp(index, 0, Count());
  TProperties* inserted = properties.get();
  items_.insert(items_.begin() + index, std::move(properties));
  return inserted;
}

void TPropStack::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  auto removed = items_.begin() + index;
  if (spare_.size() < kMaxSpareEntries) {
    // Ends the entry's lifetime (its fonts and strings go now, not when it is
    // reused) and constructs a new one in its storage.
    TProperties* entry = removed->get();
    std::destroy_at(entry);
    std::construct_at(entry);
    spare_.push_back(std::move(*removed));
  }
  items_.erase(removed);
}

std::unique_ptr<TProperties> TPropStack::NewEntry() {
  if (spare_.empty()) return std::make_unique<TProperties>();
  std::unique_ptr<TProperties> entry = std::move(spare_.back());
  spare_.pop_back();
  return entry;
}

}  // namespace engine
