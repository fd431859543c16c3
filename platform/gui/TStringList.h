#pragma once
// A TStrings that stores its strings and objects. A sorted list keeps its
// strings in CompareStrings order at all times (Insert and Put are refused)
// and finds them by binary search; Duplicates decides what Add does with a
// string already present. Objects are links, freed only when OwnsObjects.
#include <functional>
#include <vector>

#include "platform/gui/TStrings.h"

namespace gui {

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Negative when the string at Index1 sorts before the one at Index2.
using TStringListSortCompare = std::function<int(TStringList& List, int Index1, int Index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : ownsObjects_(AOwnsObjects) {}
  ~TStringList() override;

  int Count() const override { return static_cast<int>(items_.size()); }
  const std::string& Strings(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* Objects(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;

  // On a sorted list: the sorted position; with dupIgnore the index of the
  // string already there; with dupError EStringListError.
  int AddObject(const std::string& S, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(std::string_view S) const override;

  // Binary search of a sorted list: true and the first match's index, or
  // false and the index where S would be inserted.
  bool Find(std::string_view S, int& Index) const;
  // Sorts by CompareStrings; both sorts are stable.
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

  int CompareStrings(std::string_view a, std::string_view b) const override;

 private:
  struct Item {
    std::string string;
    TObject* object = nullptr;
  };
  void CheckIndex(int Index) const;
  void InsertItem(int Index, const std::string& S, TObject* AObject);
  void SortItems();

  std::vector<Item> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
};

}  // namespace gui
