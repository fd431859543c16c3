#include "engine/PropStack.h"

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

void TPropStack::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

}  // namespace engine
