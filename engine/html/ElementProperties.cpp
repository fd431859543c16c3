#include "engine/html/ElementProperties.h"

#include "engine/css/TStyleList.h"
#include "engine/html/BuildState.h"
#include "engine/html/ParseState.h"

namespace engine {

namespace {

// The length and three letters tell the parser's few tag names apart; names alike in
// these only probe a slot further.
std::size_t TagHash(std::string_view tag) {
  if (tag.empty()) return 0;
  const std::size_t summary = tag.size() ^ std::size_t{static_cast<unsigned char>(tag.front())} << 8 ^
                              std::size_t{static_cast<unsigned char>(tag[tag.size() / 2])} << 16 ^
                              std::size_t{static_cast<unsigned char>(tag.back())} << 24;
  const std::size_t hash = summary * 0x9E3779B97F4A7C15ull;
  return hash ^ hash >> 32;
}

}  // namespace

TElementStack::TagCounts::Slot& TElementStack::TagCounts::SlotOf(std::string_view tag) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = TagHash(tag) & mask;; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (!slot.used || SameText(slot.tag, tag)) return slot;
  }
}

void TElementStack::TagCounts::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.clear();
  slots_.resize(old.empty() ? 128 : old.size() * 2);
  for (Slot& slot : old) {
    if (slot.used) SlotOf(slot.tag) = std::move(slot);
  }
}

int& TElementStack::TagCounts::operator[](std::string_view tag) {
  // At most half the slots are used, so a search always meets a free one soon.
  if (2 * (used_ + 1) > slots_.size()) Grow();
  Slot& slot = SlotOf(tag);
  if (!slot.used) {
    slot.tag.assign(tag);
    slot.count = std::make_unique<int>(0);
    slot.used = true;
    ++used_;
  }
  return *slot.count;
}

int* TElementStack::TagCounts::Find(std::string_view tag) {
  if (slots_.empty()) return nullptr;
  Slot& slot = SlotOf(tag);
  return slot.used ? slot.count.get() : nullptr;
}

void TElementStack::TagCounts::Clear() {
  slots_.clear();
  used_ = 0;
}

void TElementStack::Reset(TStyleList* styles) {
  styles_ = styles;
  records_.clear();
  openPerTag_.Clear();
  refusedPerTag_.clear();
  lastPushRefused_ = false;
  TPropStack& stack = parseState.PropStack;
  while (stack.Count() > 1) stack.Delete(stack.TopIndex());
}

void TElementStack::Build(int stackIndex, const TEntryRecord& record, const TElementNames& names) {
  TPropStack& stack = parseState.PropStack;
  TProperties* entry = stack.Items(stackIndex);
  if (styles_) {
    styles_->Cascade(*entry, names.tag, names.classes, names.id, names.pseudo, names.title, record.inlineStyle.get(),
                     &stack, stackIndex);
  } else {
    entry->PropTag = names.tag;
  }
  for (const auto& change : record.changes) change(*entry);
}

bool TElementStack::Push(const std::string& tag, const std::string& classes, const std::string& id,
                         const TProperties* inlineStyle, const std::string& title, const std::string& pseudo) {
  TPropStack& stack = parseState.PropStack;
  if (stack.Count() == 0 || static_cast<int>(records_.size()) >= kMaxOpenEntries) {
    ++refusedPerTag_[tag];
    lastPushRefused_ = true;
    return false;
  }
  lastPushRefused_ = false;
  stack.Add(stack.NewEntry(tag, *stack.Last()));
  TEntryRecord& record = records_.emplace_back();
  if (inlineStyle) {
    record.inlineStyle = std::make_unique<TProperties>();
    record.inlineStyle->CopyValues(*inlineStyle);
  }
  record.openCount = &openPerTag_[tag];
  ++*record.openCount;
  Build(stack.TopIndex(), record, TElementNames{tag, classes, id, title, pseudo});
  return true;
}

void TElementStack::Pop() {
  lastPushRefused_ = false;
  if (records_.empty()) return;
  TPropStack& stack = parseState.PropStack;
  --*records_.back().openCount;
  KeepChangesRoom(records_.back().changes);
  records_.pop_back();
  stack.Delete(stack.TopIndex());
}

void TElementStack::PopTo(const std::string& tag, const std::function<void(const TProperties&)>& onClosed) {
  lastPushRefused_ = false;
  if (!refusedPerTag_.empty()) {
    if (auto refused = refusedPerTag_.find(tag); refused != refusedPerTag_.end()) {
      if (--refused->second == 0) refusedPerTag_.erase(refused);
      return;
    }
  }
  TPropStack& stack = parseState.PropStack;
  int found = static_cast<int>(records_.size()) - 1;
  int* open = nullptr;
  if (found >= 0 && stack.Items(found + 1)->PropTag == tag) {
    // Most end tags close the innermost element, whose record holds its count.
    open = records_.back().openCount;
  } else {
    open = openPerTag_.Find(tag);
    if (!open || *open == 0) return;  // a stray end tag costs no search
    while (found >= 0 && stack.Items(found + 1)->PropTag != tag) --found;
    if (found < 0) return;
  }
  if (onClosed) onClosed(*stack.Items(found + 1));
  --*open;
  KeepChangesRoom(records_[static_cast<std::size_t>(found)].changes);
  records_.erase(records_.begin() + found);
  stack.Delete(found + 1);
  // Entries opened inside the closed element lose what they inherited from it
  // but keep what they set themselves.
  // They keep their identity, which pairs an inline box's start and end.
  // Their names are the ones the cascade gave them (classes and id in lower case, which
  // the cascade lowers anyway), taken before the entry goes.
  for (int index = found; index < static_cast<int>(records_.size()); ++index) {
    const TProperties& old = *stack.Items(index + 1);
    const std::uint32_t serial = old.Serial;
    const std::string tagName = old.PropTag, classes = old.PropClass, id = old.PropID, title = old.PropTitle,
                      pseudo = old.PropPseudo;
    stack.Delete(index + 1);
    stack.Insert(index + 1, stack.NewEntry(tagName, *stack.Items(index)));
    stack.Items(index + 1)->Serial = serial;
    Build(index + 1, records_[static_cast<std::size_t>(index)], TElementNames{tagName, classes, id, title, pseudo});
  }
}

void TElementStack::ApplyToTop(const std::function<void(TProperties&)>& change) {
  TProperties* top = parseState.PropStack.Last();
  if (!top || lastPushRefused_) return;  // a refused element has no entry of its own
  change(*top);
  if (records_.empty()) return;
  auto& changes = records_.back().changes;
  if (changes.capacity() == 0) changes.swap(spareChanges_);
  changes.push_back(change);
}

void TElementStack::KeepChangesRoom(std::vector<std::function<void(TProperties&)>>& changes) {
  if (changes.capacity() <= spareChanges_.capacity()) return;
  changes.clear();
  spareChanges_.swap(changes);
}

bool PushElementProperties(const std::string& tag, const std::string& classes, const std::string& id,
                           const TProperties* inlineStyle, const std::string& title, const std::string& pseudo) {
  return buildState.Elements.Push(tag, classes, id, inlineStyle, title, pseudo);
}

void PopElementProperties() { buildState.Elements.Pop(); }

void PopElementPropertiesTo(const std::string& tag) { buildState.Elements.PopTo(tag); }

}  // namespace engine
