#include "rulestore/CStringSet.h"

std::string CStringSet::AsString(char separator) const {
  std::string joined;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (i > 0) joined += separator;
    joined += items_[i];
  }
  return joined;
}

void CStringSet::Empty() { items_.clear(); }

void CStringSet::AddList(const char* list, char separator) {
  if (list == nullptr || *list == '\0') return;
  std::string item;
  for (const char* p = list; *p != '\0'; ++p) {
    if (*p == separator) {
      items_.push_back(std::move(item));
      item.clear();
    } else {
      item += *p;
    }
  }
  items_.push_back(std::move(item));
}
