#pragma once
// TIDNameList: the named anchors (ids and A names) of one document. Names
// compare without regard to case and the last registration of a name wins.
// The list owns only its TChPosObj entries; other objects are owned elsewhere
// and leave the list when they are freed (see TIDObject).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/FlatSlotIndex.h"
#include "engine/document/TIDObject.h"

namespace engine {

class TSectionList;

class TIDNameList {
 public:
  explicit TIDNameList(TSectionList* document) : Document(document) {}
  TIDNameList(const TIDNameList&) = delete;
  TIDNameList& operator=(const TIDNameList&) = delete;
  ~TIDNameList();

  // Registers obj under name; an earlier entry of that name goes (freed when it
  // was a position anchor).
  void AddObject(const std::string& name, TIDObject* obj);
  // A position anchor for the parser's ids and names that have no element object.
  void AddPositionAnchor(const std::string& name, int pos);
  // The object registered under name, or nullptr.
  TIDObject* Find(std::string_view name) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  void Clear();

  TSectionList* Document;

 private:
  friend class TIDObject;
  struct Entry {
    std::string name;  // case-folded
    std::uint32_t hash = 0;
    TIDObject* object = nullptr;
    std::unique_ptr<TIDObject> owned;  // the position anchor, when object is one
  };
  // How many names an object owned elsewhere stands under.
  struct Registration {
    const TIDObject* object = nullptr;
    int count = 0;
  };
  // Drops every entry that points at obj (obj is being freed).
  void Forget(const TIDObject* obj);
  void Release(Entry& entry);
  // The entry of name, made when it is new; an earlier registration is released.
  Entry& EntryFor(const std::string& name);
  int FindName(const std::string& folded, std::uint32_t hash) const;
  int FindRegistration(const TIDObject* obj) const;
  // Removes entries_[index] (the last entry takes its place).
  void EraseEntry(std::size_t index);
  void EraseRegistration(std::size_t index);

  // Both tables are flat (entries in vectors, indexed by hash): a document may
  // name thousands of anchors, and node-based maps scattered over its memory
  // cost a cache miss per step.
  std::vector<Entry> entries_;
  FlatSlotIndex names_;
  // Registrations per object owned elsewhere, so a freed object is looked for only when it is present.
  std::vector<Registration> registrations_;
  FlatSlotIndex registered_;
};

}  // namespace engine
