// TIDNameList and TChPosObj: named anchors of a document; TIDObject's release
// from the anchor list.
#include "engine/document/TIDNameList.h"

#include <vector>

#include "engine/document/TChPosObj.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/AnsiText.h"

namespace engine {

TIDObject::~TIDObject() {
  if (anchorList_ != nullptr) anchorList_->Forget(this);
}

int TChPosObj::GetDocumentY() {
  if (Document == nullptr) return 0;
  int docPos = Document->FindDocPos(Position, false);
  int X = 0;
  int Y = 0;
  return Document->FindCaretXY(nullptr, docPos, X, Y) ? Y : 0;
}

TIDNameList::~TIDNameList() { Clear(); }

void TIDNameList::Release(Entry& entry) {
  if (entry.owned) {
    entry.owned->anchorList_ = nullptr;
    entry.owned.reset();
    return;
  }
  auto it = registrations_.find(entry.object);
  if (it == registrations_.end()) return;
  if (--it->second == 0) {
    entry.object->anchorList_ = nullptr;
    registrations_.erase(it);
  }
}

// A name registered again keeps its entry: only what it points at changes.
TIDNameList::Entry& TIDNameList::EntryFor(const std::string& name) {
  auto [it, added] = entries_.try_emplace(gui::AnsiUpperCase(name));
  if (!added) {
    Release(it->second);
    it->second.object = nullptr;
  }
  return it->second;
}

void TIDNameList::AddObject(const std::string& name, TIDObject* obj) {
  if (obj == nullptr) {
    auto it = entries_.find(gui::AnsiUpperCase(name));
    if (it != entries_.end()) {
      Release(it->second);
      entries_.erase(it);
    }
    return;
  }
  // An object can stand in one document's list only; a registration in another
  // list (a copied document) leaves that one first.
  if (obj->anchorList_ != nullptr && obj->anchorList_ != this) obj->anchorList_->Forget(obj);
  Entry& entry = EntryFor(name);
  entry.object = obj;
  obj->anchorList_ = this;
  ++registrations_[obj];
}

void TIDNameList::AddPositionAnchor(const std::string& name, int pos) {
  Entry& entry = EntryFor(name);
  entry.owned = std::make_unique<TChPosObj>(Document, pos);
  entry.object = entry.owned.get();
  entry.owned->anchorList_ = this;
}

TIDObject* TIDNameList::Find(std::string_view name) const {
  auto it = entries_.find(gui::AnsiUpperCase(name));
  return it == entries_.end() ? nullptr : it->second.object;
}

void TIDNameList::Forget(const TIDObject* obj) {
  if (registrations_.erase(obj) == 0) return;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->second.object == obj && !it->second.owned)
      it = entries_.erase(it);
    else
      ++it;
  }
}

void TIDNameList::Clear() {
  for (auto& [key, entry] : entries_) {
    if (entry.owned) entry.owned->anchorList_ = nullptr;
    else if (entry.object) entry.object->anchorList_ = nullptr;
  }
  entries_.clear();
  registrations_.clear();
}

}  // namespace engine
