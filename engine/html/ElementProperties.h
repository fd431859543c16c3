#pragma once
// The style properties of the open elements while a document is built: the
// property stack of the parse state plus, per entry, what the entry set itself
// (its inline style and the values its attributes gave; its names are the
// entry's own), so that entries can be rebuilt when a misnested end tag
// removes an element below them.
// Invariant: records_[i] describes parseState.PropStack entry i + 1.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/css/TProperties.h"

namespace engine {

class TStyleList;

class TElementStack {
 public:
  // Open entries beyond this are counted per tag instead of pushed, so that
  // hostile nesting cannot grow memory without bound.
  static constexpr int kMaxOpenEntries = 1000;

  // Starts over: the stack holds only its bottom entry (the document defaults).
  void Reset(TStyleList* styles);
  // Inherit and cascade a new top entry. False when the cap was reached and
  // nothing was pushed; the matching pop then only counts down.
  bool Push(const std::string& tag, const std::string& classes, const std::string& id, const TProperties* inlineStyle,
            const std::string& title, const std::string& pseudo);
  // Deletes the top entry unless it is the bottom one.
  void Pop();
  // Closes the innermost open element of tag; entries above it are rebuilt
  // from their own cascade inputs on the entry now below them, then take their
  // attribute values again. onClosed sees the entry before it goes.
  void PopTo(const std::string& tag, const std::function<void(const TProperties&)>& onClosed = {});
  // Applies an attribute-given change to the top entry and keeps it for rebuilds.
  // Nothing happens when the last push was refused by the cap.
  void ApplyToTop(const std::function<void(TProperties&)>& change);
  bool LastPushRefused() const { return lastPushRefused_; }
  int OpenCount() const { return static_cast<int>(records_.size()); }

 private:
  struct TEntryRecord {
    std::unique_ptr<TProperties> inlineStyle;  // owned copy: the lexer frees its own at the next tag
    std::vector<std::function<void(TProperties&)>> changes;
    int* openCount = nullptr;  // the count of the element's tag in openPerTag_
  };
  // The cascade inputs of an element besides its inline style.
  struct TElementNames {
    const std::string& tag;
    const std::string& classes;
    const std::string& id;
    const std::string& title;
    const std::string& pseudo;
  };
  // Cascades the entry at stackIndex, which has inherited from the one below already.
  void Build(int stackIndex, const TEntryRecord& record, const TElementNames& names);

  TStyleList* styles_ = nullptr;
  std::vector<TEntryRecord> records_;
  // A count per tag name, asked at every push and at end tags that close no
  // innermost element, where a node map's hashing and probing cost more than the
  // rest of the bookkeeping. Counts stay at zero: the tags are the parser's own
  // few names. A count keeps its place when the table grows (records point to it).
  class TagCounts {
   public:
    int& operator[](std::string_view tag);  // made at zero when missing; stays where it is until Clear
    int* Find(std::string_view tag);        // nullptr when missing
    void Clear();

   private:
    struct Slot {
      std::string tag;
      std::unique_ptr<int> count;
      bool used = false;
    };
    Slot& SlotOf(std::string_view tag);  // its slot, or the free one it would take
    void Grow();
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
  };
  TagCounts openPerTag_;
  // The emptied room of a closed element's changes, for the next element given any.
  std::vector<std::function<void(TProperties&)>> spareChanges_;
  void KeepChangesRoom(std::vector<std::function<void(TProperties&)>>& changes);
  std::unordered_map<std::string, int> refusedPerTag_;
  bool lastPushRefused_ = false;
};

// The unit-wide operations on the parse's element stack.
bool PushElementProperties(const std::string& tag, const std::string& classes, const std::string& id,
                           const TProperties* inlineStyle, const std::string& title, const std::string& pseudo);
void PopElementProperties();
void PopElementPropertiesTo(const std::string& tag);

}  // namespace engine
