#pragma once
// TIDNameList: the named anchors (ids and A names) of one document. Names
// compare without regard to case and the last registration of a name wins.
// The list owns only its TChPosObj entries; other objects are owned elsewhere
// and leave the list when they are freed (see TIDObject).
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

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
    TIDObject* object = nullptr;
    std::unique_ptr<TIDObject> owned;  // the position anchor, when object is one
  };
  // Drops every entry that points at obj (obj is being freed).
  void Forget(const TIDObject* obj);
  void Release(Entry& entry);
  // The entry of name, made when it is new; an earlier registration is released.
  Entry& EntryFor(const std::string& name);

  std::unordered_map<std::string, Entry> entries_;  // keyed by the case-folded name
  // Registrations per object owned elsewhere, so a freed object is looked for only when it is present.
  std::unordered_map<const TIDObject*, int> registrations_;
};

}  // namespace engine
