#pragma once
// A list of untyped pointers, indexed from 0. The list never owns what its
// items point at; a descendant that does frees them in Notify.
#include <functional>
#include <vector>

#include "platform/gui/TObject.h"

namespace gui {

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative when a sorts before b, 0 when equal, positive after.
using TListSortCompare = std::function<int(void* a, void* b)>;

class TList : public TObject {
 public:
  ~TList() override;

  int Count() const { return static_cast<int>(items_.size()); }
  // Sets the number of items: new ones are nullptr, cut ones are deleted.
  void SetCount(int NewCount);
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  // Raises EListError when NewCapacity is below Count or negative.
  void SetCapacity(int NewCapacity);

  // Item access raises EListError "List index out of bounds (i)".
  void* Items(int Index) const;
  void* operator[](int Index) const { return Items(Index); }
  void SetItem(int Index, void* Item);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  int Add(void* Item);                // returns the new index
  void Insert(int Index, void* Item);  // 0 <= Index <= Count
  void Delete(int Index);
  int Remove(void* Item);   // deletes the first occurrence; its old index or -1
  void* Extract(void* Item);  // removes without the deleted notification
  int IndexOf(const void* Item) const;
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // Stable sort: equal items keep their order.
  void Sort(const TListSortCompare& Compare);
  virtual void Clear();

  const std::vector<void*>& List() const { return items_; }

 protected:
  virtual void Notify(void* Item, TListNotification Action);

 private:
  void CheckIndex(int Index) const;
  std::vector<void*> items_;
};

// A TList whose items are T pointers.
template <typename T>
class TListOf : public TList {
 public:
  T* Items(int Index) const { return static_cast<T*>(TList::Items(Index)); }
  T* operator[](int Index) const { return Items(Index); }
  T* First() const { return Items(0); }
  T* Last() const { return Items(Count() - 1); }
  int Add(T* Item) { return TList::Add(Item); }
  void Insert(int Index, T* Item) { TList::Insert(Index, Item); }
  int Remove(T* Item) { return TList::Remove(Item); }
  int IndexOf(const T* Item) const { return TList::IndexOf(Item); }
};

}  // namespace gui
