#include "platform/gui/TList.h"

#include <algorithm>
#include <string>

#include "platform/gui/Exception.h"

namespace gui {

TList::~TList() {
  // A descendant's Notify is gone by now; descendants that own items clear
  // themselves in their own destructor.
  items_.clear();
}

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) throw EListError("List count out of bounds (" + std::to_string(NewCount) + ")");
  while (Count() > NewCount) Delete(Count() - 1);
  items_.resize(static_cast<std::size_t>(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count()) throw EListError("List capacity out of bounds (" + std::to_string(NewCapacity) + ")");
  if (NewCapacity > Capacity()) items_.reserve(static_cast<std::size_t>(NewCapacity));
}

void* TList::Items(int Index) const {
  CheckIndex(Index);
  return items_[static_cast<std::size_t>(Index)];
}

void TList::SetItem(int Index, void* Item) {
  CheckIndex(Index);
  void*& slot = items_[static_cast<std::size_t>(Index)];
  if (slot == Item) return;
  void* old = slot;
  slot = Item;
  if (old) Notify(old, TListNotification::lnDeleted);
  if (Item) Notify(Item, TListNotification::lnAdded);
}

int TList::Add(void* Item) {
  items_.push_back(Item);
  if (Item) Notify(Item, TListNotification::lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  items_.insert(items_.begin() + Index, Item);
  if (Item) Notify(Item, TListNotification::lnAdded);
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  void* old = items_[static_cast<std::size_t>(Index)];
  items_.erase(items_.begin() + Index);
  if (old) Notify(old, TListNotification::lnDeleted);
}

int TList::Remove(void* Item) {
  const int index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* Item) {
  const int index = IndexOf(Item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  Notify(Item, TListNotification::lnExtracted);
  return Item;
}

int TList::IndexOf(const void* Item) const {
  const auto found = std::find(items_.begin(), items_.end(), Item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  void* item = items_[static_cast<std::size_t>(CurIndex)];
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, item);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
  items_.shrink_to_fit();
}

void TList::Notify(void*, TListNotification) {}

}  // namespace gui
