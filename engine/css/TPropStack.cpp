#include "engine/css/TPropStack.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace engine {

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
    (*removed)->DropCachedFont();  // its font handle goes at once
    spare_.push_back(std::move(*removed));
  }
  items_.erase(removed);
}

std::unique_ptr<TProperties> TPropStack::NewEntry() {
  if (spare_.empty()) return std::make_unique<TProperties>();
  std::unique_ptr<TProperties> entry = std::move(spare_.back());
  spare_.pop_back();
  entry->Renew();
  return entry;
}

std::unique_ptr<TProperties> TPropStack::NewEntry(const std::string& childTag, const TProperties& parent) {
  std::unique_ptr<TProperties> entry;
  if (spare_.empty()) {
    entry = std::make_unique<TProperties>();
  } else {
    entry = std::move(spare_.back());
    spare_.pop_back();
  }
  entry->RenewAsChild(childTag, parent);
  return entry;
}

}  // namespace engine
