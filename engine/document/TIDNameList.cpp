// TIDNameList and TChPosObj: named anchors of a document; TIDObject's release
// from the anchor list.
#include "engine/document/TIDNameList.h"

#include <cstdint>
#include <functional>
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

namespace {

std::uint32_t NameHash(std::string_view folded) {
  return FlatSlotIndex::Spread(std::hash<std::string_view>{}(folded));
}

std::uint32_t ObjectHash(const TIDObject* obj) {
  return FlatSlotIndex::Spread(reinterpret_cast<std::uintptr_t>(obj));
}

}  // namespace

TIDNameList::~TIDNameList() { Clear(); }

int TIDNameList::FindName(const std::string& folded, std::uint32_t hash) const {
  return names_.Find(hash, [&](int at) { return entries_[static_cast<std::size_t>(at)].name == folded; });
}

int TIDNameList::FindRegistration(const TIDObject* obj) const {
  return registered_.Find(ObjectHash(obj),
                          [&](int at) { return registrations_[static_cast<std::size_t>(at)].object == obj; });
}

void TIDNameList::EraseEntry(std::size_t index) {
  names_.Erase(entries_[index].hash, static_cast<int>(index));
  const std::size_t last = entries_.size() - 1;
  if (index != last) {
    names_.Move(entries_[last].hash, static_cast<int>(last), static_cast<int>(index));
    entries_[index] = std::move(entries_[last]);
  }
  entries_.pop_back();
}

void TIDNameList::EraseRegistration(std::size_t index) {
  registered_.Erase(ObjectHash(registrations_[index].object), static_cast<int>(index));
  const std::size_t last = registrations_.size() - 1;
  if (index != last) {
    registered_.Move(ObjectHash(registrations_[last].object), static_cast<int>(last), static_cast<int>(index));
    registrations_[index] = registrations_[last];
  }
  registrations_.pop_back();
}

void TIDNameList::Release(Entry& entry) {
  if (entry.owned) {
    entry.owned->anchorList_ = nullptr;
    entry.owned.reset();
    return;
  }
  const int at = FindRegistration(entry.object);
  if (at < 0) return;
  Registration& registration = registrations_[static_cast<std::size_t>(at)];
  if (--registration.count == 0) {
    entry.object->anchorList_ = nullptr;
    EraseRegistration(static_cast<std::size_t>(at));
  }
}

// A name registered again keeps its entry: only what it points at changes.
TIDNameList::Entry& TIDNameList::EntryFor(const std::string& name) {
  std::string folded = gui::AnsiUpperCase(name);
  const std::uint32_t hash = NameHash(folded);
  const int at = FindName(folded, hash);
  if (at >= 0) {
    Entry& entry = entries_[static_cast<std::size_t>(at)];
    Release(entry);
    entry.object = nullptr;
    return entry;
  }
  names_.Insert(hash, static_cast<int>(entries_.size()));
  Entry& entry = entries_.emplace_back();
  entry.name = std::move(folded);
  entry.hash = hash;
  return entry;
}

void TIDNameList::AddObject(const std::string& name, TIDObject* obj) {
  if (obj == nullptr) {
    const std::string folded = gui::AnsiUpperCase(name);
    const int at = FindName(folded, NameHash(folded));
    if (at >= 0) {
      Release(entries_[static_cast<std::size_t>(at)]);
      EraseEntry(static_cast<std::size_t>(at));
    }
    return;
  }
  // An object can stand in one document's list only; a registration in another
  // list (a copied document) leaves that one first.
  if (obj->anchorList_ != nullptr && obj->anchorList_ != this) obj->anchorList_->Forget(obj);
  Entry& entry = EntryFor(name);
  entry.object = obj;
  obj->anchorList_ = this;
  const int at = FindRegistration(obj);
  if (at >= 0) {
    ++registrations_[static_cast<std::size_t>(at)].count;
    return;
  }
  registered_.Insert(ObjectHash(obj), static_cast<int>(registrations_.size()));
  registrations_.push_back({obj, 1});
}

void TIDNameList::AddPositionAnchor(const std::string& name, int pos) {
  Entry& entry = EntryFor(name);
  entry.owned = std::make_unique<TChPosObj>(Document, pos);
  entry.object = entry.owned.get();
  entry.owned->anchorList_ = this;
}

TIDObject* TIDNameList::Find(std::string_view name) const {
  const std::string folded = gui::AnsiUpperCase(name);
  const int at = FindName(folded, NameHash(folded));
  return at < 0 ? nullptr : entries_[static_cast<std::size_t>(at)].object;
}

void TIDNameList::Forget(const TIDObject* obj) {
  const int registration = FindRegistration(obj);
  if (registration < 0) return;
  EraseRegistration(static_cast<std::size_t>(registration));
  for (std::size_t index = 0; index < entries_.size();) {
    const Entry& entry = entries_[index];
    if (entry.object == obj && !entry.owned)
      EraseEntry(index);  // the last entry moves here and is looked at next
    else
      ++index;
  }
}

void TIDNameList::Clear() {
  for (Entry& entry : entries_) {
    if (entry.owned) entry.owned->anchorList_ = nullptr;
    else if (entry.object) entry.object->anchorList_ = nullptr;
  }
  entries_.clear();
  names_.Clear();
  registrations_.clear();
  registered_.Clear();
}

}  // namespace engine
