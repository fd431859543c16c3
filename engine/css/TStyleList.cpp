#include "engine/css/TStyleList.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "engine/css/CssText.h"
#include "engine/css/StyleListSelectors.h"

namespace engine {
namespace {

int CompareNoCase(std::string_view a, std::string_view b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t index = 0; index < common; ++index) {
    unsigned char left = static_cast<unsigned char>(LowerChar(a[index]));
    unsigned char right = static_cast<unsigned char>(LowerChar(b[index]));
    if (left != right) return left < right ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::size_t DigitRun(std::string_view text) {
  std::size_t length = 0;
  while (length < text.size() && IsAsciiDigit(text[length])) ++length;
  return length;
}

// The number after a contextual key's blank is the ancestor count (one digit, at most 9
// ancestors) followed by the sequence number. Comparing the sequence as a number keeps an
// earlier rule ahead of a later one however many contextual selectors the sheet holds.
int CompareContextualTails(std::string_view a, std::string_view b) {
  std::size_t digitsA = DigitRun(a);
  std::size_t digitsB = DigitRun(b);
  if (digitsA == 0 || digitsB == 0) {
    if (digitsA != digitsB) return digitsA == 0 ? -1 : 1;
    return CompareNoCase(a, b);
  }
  if (a[0] != b[0]) return a[0] < b[0] ? -1 : 1;
  std::string_view sequenceA = a.substr(1, digitsA - 1);
  std::string_view sequenceB = b.substr(1, digitsB - 1);
  while (sequenceA.size() > 1 && sequenceA[0] == '0') sequenceA.remove_prefix(1);
  while (sequenceB.size() > 1 && sequenceB[0] == '0') sequenceB.remove_prefix(1);
  if (sequenceA.size() != sequenceB.size()) return sequenceA.size() < sequenceB.size() ? -1 : 1;
  if (int order = sequenceA.compare(sequenceB); order != 0) return order < 0 ? -1 : 1;
  return CompareNoCase(a.substr(digitsA), b.substr(digitsB));
}

}  // namespace

int CompareStyleKeys(const std::string& a, const std::string& b) {
  // Subjects (up to the first blank) compare as text; a key without ancestors sorts before
  // the contextual keys of its subject.
  std::size_t index = 0;
  const std::size_t common = std::min(a.size(), b.size());
  while (index < common) {
    char left = LowerChar(a[index]);
    char right = LowerChar(b[index]);
    if (left != right) {
      if (left == ' ') return -1;
      if (right == ' ') return 1;
      return static_cast<unsigned char>(left) < static_cast<unsigned char>(right) ? -1 : 1;
    }
    if (left == ' ') {
      return CompareContextualTails(std::string_view(a).substr(index + 1), std::string_view(b).substr(index + 1));
    }
    ++index;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::size_t TStyleList::NoCaseHash::operator()(const std::string& key) const {
  std::size_t hash = 14695981039346656037ull;
  for (char c : key) hash = (hash ^ static_cast<unsigned char>(LowerChar(c))) * 1099511628211ull;
  return hash;
}

bool TStyleList::NoCaseEqual::operator()(const std::string& a, const std::string& b) const {
  return CompareNoCase(a, b) == 0;
}

TStyleList::TStyleList(bool* overLinksActive) : overLinksActive_(overLinksActive) {}

// The members free themselves; Clear's resetting of each memo would be work thrown away.
TStyleList::~TStyleList() = default;

int TStyleList::LowerBound(const std::string& prefix) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), prefix,
                             [](const std::unique_ptr<Entry>& entry, const std::string& key) {
                               return CompareStyleKeys(entry->key, key) < 0;
                             });
  return static_cast<int>(it - entries_.begin());
}

std::size_t TStyleList::ContextualLowerBound(const std::string& prefix) const {
  auto it = std::lower_bound(
      contextual_.begin(), contextual_.end(), prefix,
      [](const Entry* entry, const std::string& key) { return CompareStyleKeys(entry->key, key) < 0; });
  return static_cast<std::size_t>(it - contextual_.begin());
}

bool TStyleList::Find(const std::string& key, int& index) const {
  index = LowerBound(key);
  return index < Count() && CompareStyleKeys(entries_[static_cast<std::size_t>(index)]->key, key) == 0;
}

void TStyleList::Clear() {
  for (auto& entry : entries_) entry->properties.reset();
  entries_.clear();
  plainKeys_.clear();
  contextual_.clear();
  keyIds_.clear();
  ++version_;
  overflow_.reset();
  DefProp = nullptr;
  seqNo_ = 10;
  ForgetCascadeMemos();
}

// What the cascade remembered was of the rules just dropped (the version has moved on), so
// it goes with them: a cleared sheet holds no more than a new one, whatever it held before.
void TStyleList::ForgetCascadeMemos() {
  plans_ = {};
  planSlots_ = {};
  planKey_ = {};
  scratchPlan_ = {};
  ancestorLevels_ = {};
  elementTokens_ = {};
  relevantTokens_ = {};
  relevantFilter_.reset();
  seenTokens_ = {};
  relevantVersion_ = 0;
  ++seenGeneration_;
  linkMemos_ = {};
  nextLinkMemo_ = 0;
  linkContexts_ = {};
  fontSizes_ = {};
  nextFontSize_ = 0;
  nextLinkContext_ = 0;
}

TProperties* TStyleList::AddObject(const std::string& key, std::unique_ptr<TProperties> properties) {
  int index = 0;
  Find(key, index);
  properties->PropTag = key;
  TProperties* added = properties.get();
  if (Count() >= entryLimit_) {
    // One scratch entry takes what no longer fits; it stays valid for the reader's caches.
    if (!overflow_) overflow_ = std::move(properties);
    return overflow_.get();
  }
  ++version_;
  auto entry = std::make_unique<Entry>(Entry{key, std::move(properties), added, ParseContextualKey(key)});
  // Before any entry with the same key, as in entries_.
  if (entry->contextual)
    contextual_.insert(contextual_.begin() + static_cast<std::ptrdiff_t>(ContextualLowerBound(key)), entry.get());
  entries_.insert(entries_.begin() + index, std::move(entry));
  NoteKeyIds(key);
  if (key.find(' ') == std::string::npos) {
    std::vector<const Entry*>& alike = plainKeys_[key];
    alike.insert(alike.begin(), entries_[static_cast<std::size_t>(index)].get());
  }
  return added;
}

void TStyleList::NoteKeyIds(const std::string& key) {
  for (std::size_t hash = key.find('#'); hash != std::string::npos; hash = key.find('#', hash + 1)) {
    const std::size_t end = std::min(key.find_first_of(".#: ", hash + 1), key.size());
    keyIds_.insert(LowerCase(std::string_view(key).substr(hash + 1, end - hash - 1)));
  }
}

bool TStyleList::SheetMayNameId(std::string_view id) const {
  // Other characters could stand in a key's name in ways the keys above do not show.
  const bool plain = std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
  });
  if (!plain) return true;
  auto candidate = keyIds_.lower_bound(id);
  return candidate != keyIds_.end() && candidate->compare(0, id.size(), id) == 0;
}

TProperties* TStyleList::AddDuplicate(const std::string& key, const TProperties& properties) {
  auto copy = std::make_unique<TProperties>();
  copy->CopyValues(properties);
  return AddObject(key, std::move(copy));
}

TProperties* TStyleList::EntryFor(const std::string& key) {
  int index = 0;
  return Find(key, index) ? WritableObject(index) : nullptr;
}

TProperties* TStyleList::WritableObject(int index) {
  Entry& entry = *entries_[static_cast<std::size_t>(index)];
  if (!entry.writable) {
    // The same copy the sheet would hold had it copied the built-in rule.
    const TProperties& rule = *entry.properties;
    auto own = std::make_shared<TProperties>();
    own->CopyValuesAndFontBase(rule);
    own->PropTag = rule.PropTag;
    if (DefProp == &rule) DefProp = own.get();
    entry.writable = own.get();
    entry.properties = std::move(own);
  }
  return entry.writable;
}

bool TStyleList::AddStyleRule(const std::string& key, const std::string& property, const std::string& value) {
  TProperties* entry = nullptr;
  return AddStyleRule(key, property, value, entry);
}

bool TStyleList::AddStyleRule(const std::string& key, const std::string& property, const std::string& value,
                              TProperties*& entry) {
  int propertyIndex = 0;
  if (!PropertyIndexFromName(property, propertyIndex)) return false;
  ++version_;
  if (!entry) entry = EntryFor(key);
  if (!entry) entry = AddObject(key, std::make_unique<TProperties>());
  if (propertyIndex == PropIdx(Prop::Color)) {
    TColor colour = 0;
    if (ColorFromString(value, false, colour)) {
      entry->Value(Prop::Color) = static_cast<int>(colour);
      if (key == ":link") {
        ModifyLinkColor("hover", colour);
        ModifyLinkColor("visited", colour);
      } else if (key == ":visited") {
        ModifyLinkColor("hover", colour);
      }
    }
  } else {
    entry->SetPropertyByIndex(propertyIndex, value);
  }
  if (overLinksActive_ && key.find(":hover") != std::string::npos) *overLinksActive_ = true;
  if (key == "a") AddStyleRule("::link", property, value);
  return true;
}

void TStyleList::ModifyLinkColor(const std::string& state, TColor colour) {
  ++version_;
  if (TProperties* entry = EntryFor("::" + state)) entry->Value(Prop::Color) = static_cast<int>(colour);
}

}  // namespace engine
