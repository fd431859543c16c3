#include "platform/gui/TStringList.h"

#include <algorithm>
#include <numeric>

#include "platform/gui/AnsiText.h"
#include "platform/gui/Exception.h"

namespace gui {

TStringList::~TStringList() {
  if (ownsObjects_)
    for (Item& item : items_) delete item.object;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
}

const std::string& TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<std::size_t>(Index)].string;
}

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(Index);
  items_[static_cast<std::size_t>(Index)].string = S;
}

TObject* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<std::size_t>(Index)].object;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  items_[static_cast<std::size_t>(Index)].object = AObject;
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index = Count();
  if (sorted_ && Find(S, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > Count()) IndexError(Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  items_.insert(items_.begin() + Index, Item{S, AObject});
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  TObject* object = items_[static_cast<std::size_t>(Index)].object;
  items_.erase(items_.begin() + Index);
  if (ownsObjects_) delete object;
}

void TStringList::Clear() {
  std::vector<Item> items;
  items.swap(items_);
  if (ownsObjects_)
    for (Item& item : items) delete item.object;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
}

int TStringList::IndexOf(std::string_view S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(std::string_view S, int& Index) const {
  const auto first = std::lower_bound(items_.begin(), items_.end(), S,
                                      [this](const Item& item, std::string_view s) {
                                        return CompareStrings(item.string, s) < 0;
                                      });
  Index = static_cast<int>(first - items_.begin());
  return first != items_.end() && CompareStrings(first->string, S) == 0;
}

void TStringList::SortItems() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.string, b.string) < 0; });
}

void TStringList::Sort() { SortItems(); }

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  // Compare reads the list by index, so the items stay in place while an
  // order of their indices is sorted, and move once at the end.
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(*this, a, b) < 0; });
  std::vector<Item> sortedItems;
  sortedItems.reserve(items_.size());
  for (int index : order) sortedItems.push_back(std::move(items_[static_cast<std::size_t>(index)]));
  items_.swap(sortedItems);
}

void TStringList::SetSorted(bool Value) {
  if (Value && !sorted_) SortItems();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == caseSensitive_) return;
  caseSensitive_ = Value;
  if (sorted_) SortItems();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

}  // namespace gui
