// The cascade: which rules of the sheet an element takes, in which order, and its link looks.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TPropStack.h"
#include "engine/css/TStyleList.h"
#include "engine/css/StyleListSelectors.h"

namespace engine {
namespace {

// The names an element is matched by, for an element that is not on the stack.
struct ElementNames {
  std::string_view tag, classes, id, pseudo;
};

// Each ancestor part in turn matches an element further out on the stack; a part whose
// flag asks for a direct child must match the very next element out. nearest, when given,
// stands between the subject and the stack's element at stackIndex - 1.
bool AncestorsMatch(const std::vector<TSelectorPart>& ancestors, const TPropStack* stack, int stackIndex,
                    const ElementNames* nearest = nullptr) {
  if (!stack) return ancestors.empty();
  int position = stackIndex - 1;
  for (const TSelectorPart& part : ancestors) {
    bool matched = false;
    while (nearest || position >= 0) {
      bool matches = false;
      if (nearest) {
        matches = PartMatches(part, nearest->tag, nearest->classes, nearest->id, nearest->pseudo);
        nearest = nullptr;
      } else {
        const TProperties* element = stack->Items(position--);
        matches = element && PartMatches(part, *element);
      }
      if (matches) {
        matched = true;
        break;
      }
      if (part.directParent) return false;
    }
    if (!matched) return false;
  }
  return true;
}

// Adds tokens (unsorted, with repeats) to the sorted set sorted. An element brings a few
// names, which go into their places; many are sorted and merged, so that a hostile class
// list costs no more than sorting it.
void AddSortedTokens(std::vector<std::size_t>& tokens, std::vector<std::size_t>& sorted) {
  constexpr std::size_t kFewTokens = 8;
  if (tokens.size() <= kFewTokens) {
    for (std::size_t token : tokens) {
      auto at = std::lower_bound(sorted.begin(), sorted.end(), token);
      if (at == sorted.end() || *at != token) sorted.insert(at, token);
    }
    return;
  }
  std::sort(tokens.begin(), tokens.end());
  const auto below = static_cast<std::ptrdiff_t>(sorted.size());
  sorted.insert(sorted.end(), tokens.begin(), tokens.end());
  std::inplace_merge(sorted.begin(), sorted.begin() + below, sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
}

void HashInto(std::size_t& hash, std::size_t value) { hash = (hash ^ value) * 1099511628211ull; }

// Length and three letters of a text: enough to tell most texts apart for a hash
// that only skips memos (SameLink compares them whole), at a few steps a text.
std::size_t TextSummary(std::string_view text) {
  if (text.empty()) return 0;
  return text.size() ^ std::size_t{static_cast<unsigned char>(text.front())} << 20 ^
         std::size_t{static_cast<unsigned char>(text[text.size() / 2])} << 28 ^
         std::size_t{static_cast<unsigned char>(text.back())} << 36;
}

// A hash of what LinkLooksMemo::SameLink compares, to skip most memos without comparing.
std::size_t LinkHash(const TProperties& link, const std::vector<std::uint8_t>& context) {
  std::size_t hash = 14695981039346656037ull;
  const auto text = [](const std::string& words) { return TextSummary(words); };
  for (const std::string* part : {&link.PropTag, &link.PropClass, &link.PropID, &link.PropTitle, &link.DefFontName})
    HashInto(hash, text(*part));
  HashInto(hash, link.BackgroundColor);
  HashInto(hash, static_cast<std::size_t>(link.EmSize));
  for (std::uint64_t values = link.ValuesInherited(); values != 0; values &= values - 1) {
    const std::size_t index = static_cast<std::size_t>(std::countr_zero(values));
    const TPropValue& value = link.Props[index];
    HashInto(hash, value.index() * 2 + (link.Assigned[index] ? 1 : 0));
    if (const int* number = std::get_if<int>(&value)) HashInto(hash, static_cast<std::size_t>(*number));
    else if (const std::string* words = TextOf(value)) HashInto(hash, text(*words));
  }
  // The context eight answers at a time: a link's states walk a few dozen contextual keys.
  std::size_t at = 0;
  for (; at + 8 <= context.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, context.data() + at, sizeof word);
    HashInto(hash, static_cast<std::size_t>(word));
  }
  for (; at < context.size(); ++at) HashInto(hash, context[at]);
  HashInto(hash, context.size());
  return hash;
}

// Whether the arrays hold the same value at each index of which (a bit per index).
bool SameValues(const std::array<TPropValue, kPropCount>& a, const std::array<TPropValue, kPropCount>& b,
                std::uint64_t which) {
  for (; which != 0; which &= which - 1) {
    const std::size_t index = static_cast<std::size_t>(std::countr_zero(which));
    if (!SameValue(a[index], b[index])) return false;
  }
  return true;
}

// text in lower case: text itself when it holds no upper-case letter, as the names from the
// markup nearly always are, else a lowered copy in scratch.
[[gnu::always_inline]] inline const std::string& LowerCased(const std::string& text, std::string& scratch) {
  for (char c : text) {
    if (static_cast<unsigned char>(c - 'A') < 26) {
      scratch = LowerCase(text);
      return scratch;
    }
  }
  return text;
}

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

double InheritedSize(const TProperties& element) {
  const TPropValue& size = element.Value(Prop::FontSize);
  if (const double* points = std::get_if<double>(&size); points && *points > 0) return *points;
  if (const int* points = std::get_if<int>(&size); points && *points > 0) return *points;
  return DefaultFontSize();
}

}  // namespace

// One pass of the rules an element's names select, as keys to look up: an element with
// several classes runs one pass per class, then one for the whole class text.
struct TStyleList::CascadePass {
  std::string_view tag;
  std::string classes;
  std::string_view id;
  std::string_view pseudo;
  // Whether the keys that name the id without a class ("#i", "p#i" and their
  // pseudo forms) merge in this pass: with several classes only the last pass
  // takes them, so that they stay above every class rule.
  bool plainIdKeys;
  std::vector<PlanStep>& steps;
};

std::uint64_t TStyleList::HeldValuesOf(const Entry& entry) const {
  if (entry.heldVersion != version_) {
    entry.heldValues = entry.properties->HeldValues();
    entry.heldVersion = version_;
  }
  return entry.heldValues;
}

void TStyleList::MergeKey(CascadePass& pass, const std::string& key) {
  // A key without a blank compares equal only to a listed key without one (same text, case
  // ignored), so its entries are all in plainKeys_.
  if (key.find(' ') == std::string::npos) {
    auto alike = plainKeys_.find(key);
    if (alike == plainKeys_.end()) return;
    for (const Entry* entry : alike->second) pass.steps.push_back({entry, false});
    return;
  }
  int index = 0;
  if (!Find(key, index)) return;
  for (; index < Count() && CompareStyleKeys(Strings(index), key) == 0; ++index)
    pass.steps.push_back({entries_[static_cast<std::size_t>(index)].get(), false});
}

void TStyleList::MergeSimpleKeys(CascadePass& pass) {
  const std::string tag(pass.tag);
  const std::string cls = pass.classes.empty() ? std::string() : "." + pass.classes;
  const std::string id = pass.id.empty() ? std::string() : "#" + std::string(pass.id);
  const std::string pseudo = pass.pseudo.empty() ? std::string() : ":" + std::string(pass.pseudo);
  const bool order = pass.pseudo.empty() || (pass.pseudo != "hover" && pass.pseudo != "visited");
  const bool hasClass = !cls.empty();
  const bool hasPseudo = !pseudo.empty();

  if (tag == "a" && hasPseudo) MergeKey(pass, ":" + pseudo);
  if (order) MergeKey(pass, tag);
  if (hasPseudo) MergeKey(pass, pseudo);
  if (order && hasClass) MergeKey(pass, cls);
  if (order && hasClass) MergeKey(pass, tag + cls);
  if (hasPseudo) MergeKey(pass, tag + pseudo);
  if (hasClass && hasPseudo) {
    MergeKey(pass, cls + pseudo);
    MergeKey(pass, tag + cls + pseudo);
  }
  if (id.empty()) return;
  if (pass.plainIdKeys) {
    MergeKey(pass, id);
    MergeKey(pass, tag + id);
  }
  if (hasClass) MergeKey(pass, cls + id);
  if (hasPseudo && pass.plainIdKeys) {
    MergeKey(pass, id + pseudo);
    MergeKey(pass, tag + id + pseudo);
  }
  if (hasClass) MergeKey(pass, tag + cls + id);
  if (hasClass && hasPseudo) {
    MergeKey(pass, cls + id + pseudo);
    MergeKey(pass, tag + cls + id + pseudo);
  }
}

// The contextual keys whose subject the element's names match; whether their ancestors
// match is for each element to find out.
void TStyleList::MergeContextualKeys(CascadePass& pass, const std::string& prefix) {
  if (contextual_.empty()) return;
  for (std::size_t index = ContextualLowerBound(prefix); index < contextual_.size(); ++index) {
    const Entry& entry = *contextual_[index];
    if (!StartsWithNoCase(entry.key, prefix)) break;
    if (PartMatches(entry.contextual->subject, pass.tag, pass.classes, pass.id, pass.pseudo))
      pass.steps.push_back({&entry, true});
  }
}

void TStyleList::RunPass(CascadePass& pass) {
  MergeSimpleKeys(pass);
  MergeContextualKeys(pass, std::string(pass.tag));
  if (!pass.classes.empty()) MergeContextualKeys(pass, "." + pass.classes);
  if (!pass.pseudo.empty()) MergeContextualKeys(pass, ":" + std::string(pass.pseudo));
  // Keys whose subject is an id ("div #main") are walked too, or they would never apply.
  if (!pass.id.empty()) MergeContextualKeys(pass, "#" + std::string(pass.id));
}

void TStyleList::BuildPlan(std::string_view tag, std::string_view classes, std::string_view id,
                           std::string_view pseudo, CascadePlan& plan) {
  plan.steps.clear();
  plan.live.clear();
  plan.liveFor = 0;
  plan.severalClasses = classes.find('.') != std::string_view::npos;
  CascadePass pass{tag, std::string(classes), id, pseudo, !plan.severalClasses, plan.steps};
  if (plan.severalClasses) {
    // Each class on its own, then the last class and the whole class text.
    std::string_view rest = classes;
    while (true) {
      std::size_t dot = rest.find('.');
      pass.classes = std::string(rest.substr(0, dot));
      RunPass(pass);
      if (dot == std::string_view::npos) break;
      rest.remove_prefix(dot + 1);
    }
    pass.classes = std::string(classes);
    pass.plainIdKeys = true;
  }
  RunPass(pass);
  plan.hasContextual = std::any_of(plan.steps.begin(), plan.steps.end(), [](const PlanStep& step) { return step.contextual; });
}

const std::vector<TStyleList::PlanStep>& TStyleList::LiveSteps(const CascadePlan& plan) {
  if (plan.liveFor == seenGeneration_) return plan.live;
  plan.live.clear();
  for (const PlanStep& step : plan.steps) {
    if (!step.contextual || AncestorTokensPresent(*step.entry->contextual, seenTokens_)) plan.live.push_back(step);
  }
  plan.liveFor = seenGeneration_;
  return plan.live;
}

void TStyleList::NoteSeenTokens(const std::vector<std::size_t>& tokens) {
  for (std::size_t token : tokens) {
    if (!relevantFilter_[RelevantBit(token)]) continue;
    auto seen = std::lower_bound(seenTokens_.begin(), seenTokens_.end(), token);
    if (seen != seenTokens_.end() && *seen == token) continue;
    if (!std::binary_search(relevantTokens_.begin(), relevantTokens_.end(), token)) continue;
    seenTokens_.insert(seen, token);
    ++seenGeneration_;
  }
}

const TStyleList::CascadePlan& TStyleList::PlanFor(std::string_view tag, std::string_view classes,
                                                   std::string_view id, std::string_view pseudo) {
  // Plans are kept for names without an id: ids are mostly one element's own. An id no
  // key names selects nothing, so such names take the plan of the names without it.
  if (!id.empty() && !SheetMayNameId(id)) id = {};
  if (!id.empty()) {
    BuildPlan(tag, classes, id, pseudo, scratchPlan_);
    return scratchPlan_;
  }
  if (plansVersion_ != version_ || plans_.size() >= kMaxPlans) {
    plans_.clear();
    plansVersion_ = version_;
    planSlots_.clear();
  }
  // The names recently met answer from a slot of their hash, which costs less than
  // building the map's key and hashing it. Names alike in length and three letters
  // share a slot, which only sends the later ones to the map.
  std::size_t hash = 14695981039346656037ull;
  for (std::string_view part : {tag, classes, pseudo}) HashInto(hash, TextSummary(part));
  hash ^= hash >> 29;
  if (planSlots_.empty()) planSlots_.resize(kPlanSlots);
  PlanSlot& slot = planSlots_[hash % kPlanSlots];
  if (slot.plan && SameText(slot.tag, tag) && SameText(slot.classes, classes) && SameText(slot.pseudo, pseudo))
    return *slot.plan;
  planKey_.assign(tag);
  planKey_ += '\0';
  planKey_ += classes;
  planKey_ += '\0';
  planKey_ += pseudo;
  auto [at, made] = plans_.try_emplace(planKey_);
  if (made) BuildPlan(tag, classes, id, pseudo, at->second);
  slot.tag.assign(tag);
  slot.classes.assign(classes);
  slot.pseudo.assign(pseudo);
  slot.plan = &at->second;  // map nodes stay where they are until the map is cleared
  return at->second;
}

void TStyleList::Cascade(TProperties& element, const std::string& tag, const std::string& classesText,
                         const std::string& idText, const std::string& pseudoText, const std::string& title,
                         TProperties* inlineStyle, const TPropStack* stack, int stackIndex) {
  std::string classesScratch, idScratch, pseudoScratch;
  const std::string& classes = LowerCased(classesText, classesScratch);
  const std::string& id = LowerCased(idText, idScratch);
  const std::string& pseudo = LowerCased(pseudoText, pseudoScratch);
  const double baseSize = InheritedSize(element);

  const CascadePlan& plan = PlanFor(tag, classes, id, pseudo);
  // With several classes a rule taken in an earlier pass is not taken again over the later,
  // more specific ones.
  std::vector<const TProperties*> merged;
  const AncestorLevel* around = nullptr;  // names of the open elements around
  const std::vector<PlanStep>* steps = &plan.steps;
  if (plan.hasContextual && stack) {
    around = AncestorTokens(*stack, stackIndex);
    steps = &LiveSteps(plan);
  }
  for (const PlanStep& step : *steps) {
    if (step.contextual) {
      if (!stack) continue;
      const TContextualKey& key = *step.entry->contextual;
      if (!AncestorsMayMatch(key, around) || !AncestorsMatch(key.ancestors, stack, stackIndex)) continue;
    }
    const TProperties& rule = *step.entry->properties;
    if (plan.severalClasses) {
      if (std::find(merged.begin(), merged.end(), &rule) != merged.end()) continue;
      merged.push_back(&rule);
    }
    element.Merge(rule, HeldValuesOf(*step.entry));
  }
  if (inlineStyle) element.Merge(*inlineStyle);
  if (const TPropText* size = std::get_if<TPropText>(&element.Value(Prop::FontSize)))
    element.Value(Prop::FontSize) = ResolvedFontSize(*size, baseSize);

  element.PropTag = tag;
  element.PropClass = classes;
  element.PropID = id;
  element.PropPseudo = pseudo;
  element.PropStyle = inlineStyle;
  if (!SameText(element.PropTitle, title)) element.PropTitle = title;  // mostly the inherited one
  if (pseudo == "link" && stack) BuildLinkFonts(element, *const_cast<TPropStack*>(stack), stackIndex);
}

double TStyleList::ResolvedFontSize(const TPropText& size, double parentSize) {
  const double defaultSize = DefaultFontSize();
  const int pixelsPerInch = CssPixelsPerInch();
  for (const FontSizeMemo& memo : fontSizes_) {
    const TPropText* text = std::get_if<TPropText>(&memo.size);
    // The same bits: a zero of the other sign could resolve to a zero of its own.
    if (text && text->SharesWith(size) && SameBits(memo.parentSize, parentSize) &&
        SameBits(memo.defaultSize, defaultSize) && memo.pixelsPerInch == pixelsPerInch)
      return memo.points;
  }
  FontSizeMemo& memo = fontSizes_[nextFontSize_];
  nextFontSize_ = (nextFontSize_ + 1) % fontSizes_.size();
  memo = {size, parentSize, defaultSize, pixelsPerInch, FontSizeFromString(size.Text(), parentSize)};
  return memo.points;
}

bool TStyleList::LinkLooksMemo::SameLink(const TProperties& link, const std::vector<std::uint8_t>& linkContext) const {
  return link.PropTag == tag && link.PropClass == classes && link.PropID == id && link.PropTitle == title &&
         link.DefFontName == defFontName && link.BackgroundColor == backgroundColor && link.Charset == charset &&
         link.CodePage == codePage && link.EmSize == emSize && DefaultFontSize() == defaultFontSize &&
         CssPixelsPerInch() == pixelsPerInch && link.Assigned == assigned && linkContext == context &&
         SameValues(link.Props, props, link.ValuesInherited());
}

void TStyleList::LinkLooksMemo::RememberLink(const TProperties& link, std::vector<std::uint8_t> linkContext) {
  tag = link.PropTag;
  classes = link.PropClass;
  id = link.PropID;
  title = link.PropTitle;
  defFontName = link.DefFontName;
  backgroundColor = link.BackgroundColor;
  charset = link.Charset;
  codePage = link.CodePage;
  emSize = link.EmSize;
  defaultFontSize = DefaultFontSize();
  pixelsPerInch = CssPixelsPerInch();
  props = link.Props;
  assigned = link.Assigned;
  context = std::move(linkContext);
}

const TStyleList::AncestorLevel* TStyleList::AncestorTokens(const TPropStack& stack, int count) {
  if (relevantVersion_ != version_) {
    // Another sheet: its tokens, and every level made again so that its names are seen again.
    relevantTokens_.clear();
    relevantFilter_.reset();
    for (const Entry* entry : contextual_) {
      for (const TSelectorPart& part : entry->contextual->ancestors)
        relevantTokens_.insert(relevantTokens_.end(), part.tokens.begin(), part.tokens.end());
    }
    std::sort(relevantTokens_.begin(), relevantTokens_.end());
    relevantTokens_.erase(std::unique(relevantTokens_.begin(), relevantTokens_.end()), relevantTokens_.end());
    for (std::size_t token : relevantTokens_) relevantFilter_.set(RelevantBit(token));
    seenTokens_.clear();
    ++seenGeneration_;
    relevantVersion_ = version_;
    for (AncestorLevel& level : ancestorLevels_) level.entry = nullptr;
  }
  count = std::min(count, stack.Count());
  if (count <= 0) return nullptr;
  if (ancestorLevels_.size() < static_cast<std::size_t>(count)) ancestorLevels_.resize(static_cast<std::size_t>(count));
  bool valid = true;
  for (int index = 0; index < count; ++index) {
    const TProperties& element = *stack.Items(index);
    AncestorLevel& level = ancestorLevels_[static_cast<std::size_t>(index)];
    if (valid && level.entry == &element && level.serial == element.Serial) continue;
    valid = false;
    level.entry = &element;
    level.serial = element.Serial;
    if (index == 0) {
      level.tokens.clear();
      level.filter = {};
    } else {
      level.tokens = ancestorLevels_[static_cast<std::size_t>(index - 1)].tokens;
      level.filter = ancestorLevels_[static_cast<std::size_t>(index - 1)].filter;
    }
    elementTokens_.clear();
    AddElementTokens(element.PropTag, element.PropClass, element.PropID, elementTokens_);
    NoteSeenTokens(elementTokens_);
    for (std::size_t token : elementTokens_) level.filter.Add(token);
    AddSortedTokens(elementTokens_, level.tokens);
  }
  // Levels above were made from what was below them before.
  if (!valid) {
    for (std::size_t index = static_cast<std::size_t>(count); index < ancestorLevels_.size(); ++index)
      ancestorLevels_[index].entry = nullptr;
  }
  return &ancestorLevels_[static_cast<std::size_t>(count - 1)];
}

bool TStyleList::AncestorTokensPresent(const TContextualKey& key, const std::vector<std::size_t>& tokens) {
  return std::all_of(key.ancestors.begin(), key.ancestors.end(),
                     [&](const TSelectorPart& part) { return TokensPresent(part, tokens); });
}

namespace {

// Whether names holds, four to an element, the tag, classes, id and pseudo of the stack's
// entries 0 .. last and then of link.
bool SameNamesAround(const std::vector<std::string>& names, const TPropStack& stack, int last,
                     const TProperties& link) {
  if (names.size() != 4 * static_cast<std::size_t>(last + 2)) return false;
  const auto same = [&names](std::size_t at, const TProperties& element) {
    return names[at] == element.PropTag && names[at + 1] == element.PropClass && names[at + 2] == element.PropID &&
           names[at + 3] == element.PropPseudo;
  };
  // The nearest elements differ most often: compare from the link outwards.
  if (!same(names.size() - 4, link)) return false;
  for (int index = last; index >= 0; --index) {
    const TProperties* element = stack.Items(index);
    if (!element || !same(4 * static_cast<std::size_t>(index), *element)) return false;
  }
  return true;
}

void KeepNamesAround(std::vector<std::string>& names, const TPropStack& stack, int last, const TProperties& link) {
  names.clear();
  const auto keep = [&names](const TProperties& element) {
    names.push_back(element.PropTag);
    names.push_back(element.PropClass);
    names.push_back(element.PropID);
    names.push_back(element.PropPseudo);
  };
  for (int index = 0; index <= last; ++index) keep(*stack.Items(index));
  keep(link);
}

}  // namespace

// For each contextual key that the link's visited and hover cascades walk, whether its
// ancestors match: above the link itself (the visited and hover looks), and for the hover
// keys also above the visited state put over the link (the visited hover look). The
// answer depends only on the sheet and the names of the elements from the outermost to the
// link, so a recent answer among the same names is given again.
const std::vector<std::uint8_t>& TStyleList::LinkContext(const TProperties& link, const TPropStack& stack,
                                                         int stackIndex) {
  for (LinkContextMemo& memo : linkContexts_) {
    if (memo.version == version_ && SameNamesAround(memo.names, stack, stackIndex, link)) return memo.context;
  }
  LinkContextMemo& memo = linkContexts_[nextLinkContext_];
  nextLinkContext_ = (nextLinkContext_ + 1) % linkContexts_.size();
  // Only a stack that holds every element up to the link is remembered by its names.
  const bool rememberable = stackIndex >= 0 && stackIndex < stack.Count();
  memo.version = 0;
  std::vector<std::uint8_t>& context = memo.context;
  context.clear();
  if (!contextual_.empty()) {
    const AncestorLevel* around = nullptr;
    bool haveAround = false;
    const ElementNames visitedState{link.PropTag, link.PropClass, link.PropID, "visited"};
    auto note = [&](const CascadePlan& plan, bool overVisited) {
      for (const PlanStep& step : plan.steps) {
        if (!step.contextual) continue;
        // The link and its visited state bring the same names: one set serves both.
        if (!haveAround) {
          around = AncestorTokens(stack, stackIndex + 1);
          haveAround = true;
        }
        const std::vector<TSelectorPart>& ancestors = step.entry->contextual->ancestors;
        std::uint8_t bits = 0;
        if (AncestorsMayMatch(*step.entry->contextual, around)) {
          if (AncestorsMatch(ancestors, &stack, stackIndex + 1)) bits |= 1;
          if (overVisited && AncestorsMatch(ancestors, &stack, stackIndex + 1, &visitedState)) bits |= 2;
        }
        context.push_back(bits);
      }
    };
    note(PlanFor(link.PropTag, link.PropClass, link.PropID, "visited"), false);
    note(PlanFor(link.PropTag, link.PropClass, link.PropID, "hover"), true);
  }
  if (rememberable) {
    KeepNamesAround(memo.names, stack, stackIndex, link);
    memo.version = version_;
  }
  return context;
}

TStyleList::LinkLooksMemo* TStyleList::FindLinkLooks(const TProperties& link, std::size_t hash,
                                                     const std::vector<std::uint8_t>& context) {
  for (LinkLooksMemo& memo : linkMemos_) {
    if (memo.hash == hash && memo.version == version_ && memo.SameLink(link, context)) return &memo;
  }
  return nullptr;
}

void TStyleList::BuildLinkFonts(TProperties& link, TPropStack& stack, int stackIndex) {
  // Every look is set below, so looks the link had (inherited from a link around it) serve
  // as the storage.
  std::unique_ptr<TFontInfoArray> fonts = link.LinkFonts ? std::move(link.LinkFonts) : link.NewLinkFonts();
  link.HasLinkFonts = false;
  link.UpdateBackgroundColor();

  // The three cascades below read the link's own values, the sheet and the contextual keys
  // that match around the link; a link alike in all of these gets the looks remembered. A
  // link with an inline style is not remembered: its style may change behind the pointer.
  // The context stays valid through the cascades below: they are of the link's states,
  // which take no link looks of their own.
  static const std::vector<std::uint8_t> kNoContext;
  const bool memoUsable = !link.PropStyle && rememberLinkLooks_;
  const std::vector<std::uint8_t>& context = memoUsable ? LinkContext(link, stack, stackIndex) : kNoContext;
  std::size_t hash = 0;
  if (memoUsable) {
    hash = LinkHash(link, context);
    if (const LinkLooksMemo* memo = FindLinkLooks(link, hash, context)) {
      // The memo's link had the values the normal look is read from.
      if (memo->deviceVersion != 0 && memo->deviceVersion == FontDeviceVersion())
        fonts->Ar[TFontInfoArray::Normal]->Assign(memo->normal);
      else
        link.GetFontInfo(*fonts->Ar[TFontInfoArray::Normal]);
      fonts->Ar[TFontInfoArray::Visited]->Assign(memo->visited);
      fonts->Ar[TFontInfoArray::VisitedHover]->Assign(memo->visitedHover);
      fonts->Ar[TFontInfoArray::Hover]->Assign(memo->hover);
      link.LinkFonts = std::move(fonts);
      link.HasLinkFonts = true;
      return;
    }
  }

  const unsigned deviceVersion = FontDeviceVersion();
  link.GetFontInfo(*fonts->Ar[TFontInfoArray::Normal]);
  auto cascadeState = [&](int at, const TProperties& parent, const char* state) {
    TProperties* entry = stack.Insert(at, stack.NewEntry(link.PropTag, parent));
    Cascade(*entry, link.PropTag, link.PropClass, link.PropID, state, link.PropTitle, link.PropStyle, &stack, at);
    entry->UpdateBackgroundColor();
    return entry;
  };
  TProperties* visited = cascadeState(stackIndex + 1, link, "visited");
  visited->GetFontInfo(*fonts->Ar[TFontInfoArray::Visited]);
  TProperties* visitedHover = cascadeState(stackIndex + 2, *visited, "hover");
  visitedHover->GetFontInfo(*fonts->Ar[TFontInfoArray::VisitedHover]);
  stack.Delete(stackIndex + 2);
  stack.Delete(stackIndex + 1);
  TProperties* hover = cascadeState(stackIndex + 1, link, "hover");
  hover->GetFontInfo(*fonts->Ar[TFontInfoArray::Hover]);
  stack.Delete(stackIndex + 1);

  if (memoUsable) {
    LinkLooksMemo* slot = nullptr;
    if (linkMemos_.size() < kMaxLinkMemos) {
      slot = &linkMemos_.emplace_back();
    } else {
      slot = &linkMemos_[nextLinkMemo_];
      nextLinkMemo_ = (nextLinkMemo_ + 1) % kMaxLinkMemos;
    }
    LinkLooksMemo& memo = *slot;
    memo.version = version_;
    memo.hash = hash;
    memo.RememberLink(link, context);
    memo.visited.Assign(*fonts->Ar[TFontInfoArray::Visited]);
    memo.visitedHover.Assign(*fonts->Ar[TFontInfoArray::VisitedHover]);
    memo.hover.Assign(*fonts->Ar[TFontInfoArray::Hover]);
    memo.normal.Assign(*fonts->Ar[TFontInfoArray::Normal]);
    memo.deviceVersion = deviceVersion;
  }
  link.LinkFonts = std::move(fonts);
  link.HasLinkFonts = true;
}

}  // namespace engine
