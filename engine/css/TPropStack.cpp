#include "engine/css/TPropStack.h"

#include <algorithm>
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
  items_.erase(items_.begin() + index);
}

}  // namespace engine
