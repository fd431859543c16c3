#pragma once
// TStyleList: the style sheet of one document, selector keys -> TProperties (owned).
// Invariant: entries are sorted by key (ASCII case ignored; the contextual sequence number of
// keys with one subject compared as a number); equal keys keep the latest-added entry first.
#include <bitset>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/css/CssColors.h"
#include "engine/css/FontInfo.h"
#include "engine/css/StyleListSelectors.h"
#include "engine/css/TProperties.h"

namespace engine {

class TPropStack;

// Sorting order of selector keys; negative, 0 or positive.
int CompareStyleKeys(const std::string& a, const std::string& b);

class TStyleList {
 public:
  // overLinksActive: the document root's flag that hover rules switch on (may be null).
  explicit TStyleList(bool* overLinksActive = nullptr);
  ~TStyleList();
  TStyleList(const TStyleList&) = delete;
  TStyleList& operator=(const TStyleList&) = delete;

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Strings(int index) const { return entries_[static_cast<std::size_t>(index)]->key; }
  const TProperties* Objects(int index) const { return entries_[static_cast<std::size_t>(index)]->properties.get(); }
  // Index of the first entry with key (true), or where it would go (false).
  bool Find(const std::string& key, int& index) const;
  // Index of the first entry whose key sorts at or after prefix.
  int LowerBound(const std::string& prefix) const;

  // Frees every entry and sets the sequence counter back to 10.
  void Clear();
  // Adds an entry before any with the same key; the key is written into the tag. Beyond
  // the entry limit rules go to one unlisted scratch entry (a sheet that large is hostile).
  static constexpr int kMaxEntries = 50000;
  void SetEntryLimit(int limit) { entryLimit_ = limit; }  // for tests
  TProperties* AddObject(const std::string& key, std::unique_ptr<TProperties> properties);
  // Adds a copy (values only) of properties under key.
  TProperties* AddDuplicate(const std::string& key, const TProperties& properties);
  // Stores one declaration into the entry of key (made when missing); false for an unknown
  // property name.
  bool AddStyleRule(const std::string& key, const std::string& property, const std::string& value);
  // The same; entry caches the entry of key across the declarations of one rule set (start
  // with nullptr).
  bool AddStyleRule(const std::string& key, const std::string& property, const std::string& value,
                    TProperties*& entry);
  // Colour of the link state "link", "visited" or "hover".
  void ModifyLinkColor(const std::string& state, TColor colour);

  // Rebuilds the sheet with the built-in rules; sizes in points.
  void BuildDefaultStyleSheet(const std::string& fontName, const std::string& preFontName, double fontSize,
                              TColor fontColor, TColor linkColor, TColor visitedColor, TColor hoverColor,
                              bool linkUnderline, int charset, int marginHeight, int marginWidth);

  // The sequence number a new contextual selector takes (the counter is incremented).
  int NextSequence() { return seqNo_++; }
  int SequenceCounter() const { return seqNo_; }

  // The cascade: element (already inherited from its parent and sitting at stackIndex of stack)
  // takes the matching rules and its inline style.
  void Cascade(TProperties& element, const std::string& tag, const std::string& classes, const std::string& id,
               const std::string& pseudo, const std::string& title, TProperties* inlineStyle,
               const TPropStack* stack, int stackIndex);
  // The four link looks of the link at stackIndex, through temporary entries on the stack.
  void BuildLinkFonts(TProperties& link, TPropStack& stack, int stackIndex);
  // Whether link looks are remembered for alike links (tests compare both ways).
  void SetRememberLinkLooks(bool remember) { rememberLinkLooks_ = remember; }

  const TProperties* DefProp = nullptr;  // the "default" entry

 private:
  struct Entry {
    std::string key;
    // The rule; a built-in one is shared with the sheet it was built in (and every other sheet
    // of the same defaults) until this sheet changes it, so writable is null until then.
    std::shared_ptr<const TProperties> properties;
    TProperties* writable = nullptr;
    std::shared_ptr<const TContextualKey> contextual;  // ancestors of a contextual key, parsed
    // properties->HeldValues() as of sheet version heldVersion.
    mutable std::uint64_t heldValues = 0;
    mutable unsigned heldVersion = 0;
  };
  struct CascadePass;
  // One rule an element's names select, in the order the cascade merges them; a contextual
  // one applies only where its ancestors match.
  struct PlanStep {
    const Entry* entry;
    bool contextual;
  };
  struct CascadePlan {
    std::vector<PlanStep> steps;
    bool severalClasses = false;  // a rule is taken once however many passes select it
    bool hasContextual = false;
    // The steps less the contextual ones whose ancestors name what no open element has
    // named yet (see seenTokens_), as of seen generation liveFor (0: not made yet).
    mutable std::vector<PlanStep> live;
    mutable std::uint64_t liveFor = 0;
  };
  static constexpr std::size_t kMaxPlans = 4096;
  // The visited and hover looks a link got, with what of the link they were made from (its
  // names and fields, and the values its states inherit from it) and which contextual keys
  // matched around it: a link alike in all of it, under an unchanged sheet, gets the same
  // looks.
  struct LinkLooksMemo {
    unsigned version = 0;
    std::size_t hash = 0;
    std::string tag, classes, id, title, defFontName;
    TColor backgroundColor = kNoColor;
    std::uint8_t charset = 1;
    int codePage = 0;
    int emSize = 0;
    double defaultFontSize = 0;
    int pixelsPerInch = 0;
    std::array<TPropValue, kPropCount> props;
    std::array<bool, kPropCount> assigned{};
    std::vector<std::uint8_t> context;
    ThtFontInfo visited, visitedHover, hover;
    // The normal look too, which also depends on the installed families (0: not kept).
    ThtFontInfo normal;
    unsigned deviceVersion = 0;
    bool SameLink(const TProperties& link, const std::vector<std::uint8_t>& linkContext) const;
    void RememberLink(const TProperties& link, std::vector<std::uint8_t> linkContext);
  };
  static constexpr std::size_t kMaxLinkMemos = 64;
  // Hash and equality of keys with ASCII case ignored, as CompareStyleKeys compares keys
  // without a blank.
  struct NoCaseHash {
    std::size_t operator()(const std::string& key) const;
  };
  struct NoCaseEqual {
    bool operator()(const std::string& a, const std::string& b) const;
  };

  TProperties* EntryFor(const std::string& key);
  // The rule of the entry at index, made this sheet's own first if it is shared.
  TProperties* WritableObject(int index);
  // Frees the plans, ancestor names and link memos (Clear).
  void ForgetCascadeMemos();
  void AddDefaultRule(const std::vector<std::string>& keys, const std::vector<std::pair<int, TPropValue>>& values);
  // The built-in rules of BuildDefaultStyleSheet, added one by one.
  void AddDefaultRules(const std::string& fontName, const std::string& preFontName, double fontSize,
                       TColor fontColor, TColor linkColor, TColor visitedColor, TColor hoverColor,
                       bool linkUnderline, int charset, int marginHeight, int marginWidth);
  // Fills this empty sheet with the rules of source, which holds built-in rules only; the
  // rules are shared until this sheet changes one of them.
  void CopyDefaultRules(const TStyleList& source);
  // Which values the entry's rule holds. Rules change only through the members, which
  // count the changes in version_.
  std::uint64_t HeldValuesOf(const Entry& entry) const;
  void MergeKey(CascadePass& pass, const std::string& key);
  void MergeSimpleKeys(CascadePass& pass);
  void MergeContextualKeys(CascadePass& pass, const std::string& prefix);
  void RunPass(CascadePass& pass);
  void BuildPlan(std::string_view tag, std::string_view classes, std::string_view id, std::string_view pseudo,
                 CascadePlan& plan);
  // The rules of an element with these names (lower case), valid until the next change of
  // the sheet or the next call.
  const CascadePlan& PlanFor(std::string_view tag, std::string_view classes, std::string_view id,
                             std::string_view pseudo);
  // Keeps the names that follow a '#' in key (see keyIds_).
  void NoteKeyIds(const std::string& key);
  // Whether a key of the sheet may name id (lower case): false only when no key can
  // select an element by it, so that its plan is the one of the same names without id.
  bool SheetMayNameId(std::string_view id) const;
  // Index into contextual_ of the first entry whose key sorts at or after prefix.
  std::size_t ContextualLowerBound(const std::string& prefix) const;
  // Which contextual keys the visited and hover cascades of the link at stackIndex match;
  // valid until the next call.
  const std::vector<std::uint8_t>& LinkContext(const TProperties& link, const TPropStack& stack, int stackIndex);
  LinkLooksMemo* FindLinkLooks(const TProperties& link, std::size_t hash, const std::vector<std::uint8_t>& context);

  // Entries are held by pointer so that inserting into a large sheet moves little.
  std::vector<std::unique_ptr<Entry>> entries_;
  // The listed entries of each key without a blank, in the order of entries_ (the latest
  // added first): the cascade asks for a dozen such keys per element, most of them absent,
  // and this answers without searching the sorted list.
  std::unordered_map<std::string, std::vector<const Entry*>, NoCaseHash, NoCaseEqual> plainKeys_;
  // What follows each '#' of a listed key up to the next '.', '#', ':' or blank, in lower
  // case: an element's id that starts none of these is named by no key (most ids are
  // the element's own, and a plan is kept only for names without one).
  std::set<std::string, std::less<>> keyIds_;
  // The listed entries with a contextual key, in the order of entries_: the contextual walks
  // search these few instead of the whole sheet.
  std::vector<const Entry*> contextual_;
  // Counts changes of the sheet's rules; a remembered link look is valid for one count.
  unsigned version_ = 1;
  // The plans of the names met so far, under the sheet of version plansVersion_.
  std::unordered_map<std::string, CascadePlan> plans_;
  unsigned plansVersion_ = 0;
  std::string planKey_;
  // Plans of recently met names, a slot per hash of the names; cleared with plans_.
  struct PlanSlot {
    std::string tag, classes, pseudo;
    const CascadePlan* plan = nullptr;
  };
  static constexpr std::size_t kPlanSlots = 256;
  std::vector<PlanSlot> planSlots_;
  CascadePlan scratchPlan_;
  // The names of the open elements level by level, kept between cascades (each element's
  // cascade needs those of every element around it): a level stays valid while it and every
  // level below hold the same entries with the same names. An entry's names are set by its
  // cascade, after it was made or renewed under a serial of its own, and stay; an entry
  // rebuilt under its old serial takes its old names again.
  struct AncestorLevel {
    const TProperties* entry = nullptr;
    std::uint32_t serial = 0;
    std::vector<std::size_t> tokens;  // sorted token hashes of this level and all below
    TTokenFilter filter;              // of the same tokens
  };
  std::vector<AncestorLevel> ancestorLevels_;
  std::vector<std::size_t> elementTokens_;  // scratch: the names of one element
  // The tokens the contextual keys' ancestors name, under sheet version relevantVersion_
  // (sorted, with a filter of them), and those of them that an open element has named since
  // (sorted; each level's names are noted when the level is made). A contextual key one of
  // whose ancestor tokens was never seen cannot match, so the plans leave it out; the seen
  // generation counts the changes. Bounded by the sheet: only its tokens are kept.
  std::vector<std::size_t> relevantTokens_;
  std::bitset<1024> relevantFilter_;  // a bit per relevant token (some share one)
  static std::size_t RelevantBit(std::size_t token) { return (token ^ token >> 17 ^ token >> 41) & 1023; }
  std::vector<std::size_t> seenTokens_;
  unsigned relevantVersion_ = 0;
  std::uint64_t seenGeneration_ = 1;
  void NoteSeenTokens(const std::vector<std::size_t>& tokens);
  // The plan's live steps under the tokens seen so far.
  const std::vector<PlanStep>& LiveSteps(const CascadePlan& plan);
  // The token hashes of stack entries 0 .. count - 1 (nullptr for none).
  const AncestorLevel* AncestorTokens(const TPropStack& stack, int count);
  // Whether a contextual key's ancestors may match the elements of level (a quick test
  // on their names; AncestorsMatch decides). Asked for every contextual rule an element's
  // names select, and mostly answered by the filter, so the filter is tried in line.
  static bool AncestorsMayMatch(const TContextualKey& key, const AncestorLevel* level) {
    if (!level) return key.ancestors.empty();
    return level->filter.Covers(key.ancestorTokens) && AncestorTokensPresent(key, level->tokens);
  }
  static bool AncestorTokensPresent(const TContextualKey& key, const std::vector<std::size_t>& tokens);
  // FontSizeFromString(size, parentSize) under the settings it reads; the rules' sizes are
  // shared texts, so the sizes a few rules give resolve again at the cost of a comparison.
  double ResolvedFontSize(const TPropText& size, double parentSize);
  struct FontSizeMemo {
    TPropValue size;  // the text, held so that its storage stays its own
    double parentSize = 0;
    double defaultSize = 0;
    int pixelsPerInch = 0;
    double points = 0;
  };
  std::array<FontSizeMemo, 4> fontSizes_;
  std::size_t nextFontSize_ = 0;
  std::vector<LinkLooksMemo> linkMemos_;
  // The last few link contexts, each with the names it was found among (tag, classes, id
  // and pseudo of each element from the outermost to the link) under the sheet of version:
  // the links of a paragraph stand among the same elements.
  struct LinkContextMemo {
    unsigned version = 0;
    std::vector<std::string> names;
    std::vector<std::uint8_t> context;
  };
  std::array<LinkContextMemo, 16> linkContexts_;
  std::size_t nextLinkContext_ = 0;
  std::size_t nextLinkMemo_ = 0;  // the one replaced next when all are taken
  bool rememberLinkLooks_ = true;
  std::unique_ptr<TProperties> overflow_;
  int entryLimit_ = kMaxEntries;
  bool* overLinksActive_ = nullptr;
  int seqNo_ = 10;
};

}  // namespace engine
