// The cascade: which rules of the sheet an element takes, in which order, and its link looks.
#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/CssText.h"
#include "engine/CssValues.h"
#include "engine/FontInfo.h"
#include "engine/PropStack.h"
#include "engine/StyleList.h"

namespace engine {
namespace {

// What a compound selector part names; an empty component names nothing.
struct SelectorPart {
  std::string_view tag;
  std::vector<std::string_view> classes;
  std::string_view id;
  std::string_view pseudo;
  bool directParent = false;  // "div>": the part nearer the subject is a direct child
};

SelectorPart ParsePart(std::string_view text) {
  SelectorPart part;
  if (!text.empty() && text.back() == '>') {
    part.directParent = true;
    text.remove_suffix(1);
  }
  std::size_t run = text.find_first_of(".#:");
  part.tag = text.substr(0, run);
  while (run != std::string_view::npos) {
    std::size_t next = text.find_first_of(".#:", run + 1);
    std::string_view name = text.substr(run + 1, next == std::string_view::npos ? std::string_view::npos : next - run - 1);
    if (text[run] == '.') part.classes.push_back(name);
    else if (text[run] == '#') part.id = name;
    else part.pseudo = name;
    run = next;
  }
  return part;
}

bool HasClass(std::string_view classes, std::string_view wanted) {
  while (true) {
    std::size_t dot = classes.find('.');
    if (classes.substr(0, dot) == wanted) return true;
    if (dot == std::string_view::npos) return false;
    classes.remove_prefix(dot + 1);
  }
}

bool PartMatches(const SelectorPart& part, std::string_view tag, std::string_view classes, std::string_view id,
                 std::string_view pseudo) {
  if (!part.tag.empty() && part.tag != tag) return false;
  if (!part.id.empty() && part.id != id) return false;
  if (!part.pseudo.empty() && part.pseudo != pseudo) return false;
  for (std::string_view wanted : part.classes) {
    if (classes.empty() || !HasClass(classes, wanted)) return false;
  }
  return true;
}

bool PartMatches(const SelectorPart& part, const TProperties& element) {
  return PartMatches(part, element.PropTag, element.PropClass, element.PropID, element.PropPseudo);
}

// Ancestor parts of a contextual key, nearest first: "p 110div> body " -> "div>", "body".
std::vector<std::string_view> AncestorParts(std::string_view tail) {
  std::size_t digits = 0;
  while (digits < tail.size() && IsAsciiDigit(tail[digits])) ++digits;
  tail.remove_prefix(digits);
  std::vector<std::string_view> parts;
  while (!tail.empty()) {
    std::size_t blank = tail.find(' ');
    if (blank != 0) parts.push_back(tail.substr(0, blank));
    if (blank == std::string_view::npos) break;
    tail.remove_prefix(blank + 1);
  }
  return parts;
}

// Each ancestor part in turn matches an element further out on the stack; a part whose
// flag asks for a direct child must match the very next element out.
bool AncestorsMatch(const std::vector<std::string_view>& ancestors, const TPropStack* stack, int stackIndex) {
  if (!stack) return ancestors.empty();
  int position = stackIndex - 1;
  for (std::string_view text : ancestors) {
    SelectorPart part = ParsePart(text);
    bool matched = false;
    while (position >= 0) {
      const TProperties* element = stack->Items(position--);
      if (element && PartMatches(part, *element)) {
        matched = true;
        break;
      }
      if (part.directParent) return false;
    }
    if (!matched) return false;
  }
  return true;
}

double InheritedSize(const TProperties& element) {
  const TPropValue& size = element.Value(Prop::FontSize);
  if (const double* points = std::get_if<double>(&size); points && *points > 0) return *points;
  if (const int* points = std::get_if<int>(&size); points && *points > 0) return *points;
  return DefaultFontSize();
}

}  // namespace

struct TStyleList::CascadePass {
  TProperties& element;
  std::string_view tag;
  std::string classes;
  std::string_view id;
  std::string_view pseudo;
  const TPropStack* stack;
  int stackIndex;
  // Entries merged already: an element with several classes runs several passes, and a rule
  // taken in an earlier pass must not be taken again over the later, more specific ones.
  std::vector<const TProperties*>* merged;

  void Take(const TProperties& rule) {
    if (merged) {
      if (std::find(merged->begin(), merged->end(), &rule) != merged->end()) return;
      merged->push_back(&rule);
    }
    element.Merge(rule);
  }
};

void TStyleList::MergeKey(CascadePass& pass, const std::string& key) {
  int index = 0;
  if (!Find(key, index)) return;
  for (; index < Count() && CompareStyleKeys(Strings(index), key) == 0; ++index) pass.Take(*Objects(index));
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
  MergeKey(pass, id);
  MergeKey(pass, tag + id);
  if (hasClass) MergeKey(pass, cls + id);
  if (hasPseudo) {
    MergeKey(pass, id + pseudo);
    MergeKey(pass, tag + id + pseudo);
  }
  if (hasClass) MergeKey(pass, tag + cls + id);
  if (hasClass && hasPseudo) {
    MergeKey(pass, cls + id + pseudo);
    MergeKey(pass, tag + cls + id + pseudo);
  }
}

void TStyleList::MergeContextualKeys(CascadePass& pass, const std::string& prefix) {
  for (int index = LowerBound(prefix); index < Count(); ++index) {
    const std::string& key = Strings(index);
    if (key.size() < prefix.size() || CompareStyleKeys(key.substr(0, prefix.size()), prefix) != 0) break;
    std::size_t blank = key.find(' ');
    if (blank == std::string::npos) continue;
    SelectorPart subject = ParsePart(std::string_view(key).substr(0, blank));
    if (!PartMatches(subject, pass.tag, pass.classes, pass.id, pass.pseudo)) continue;
    if (AncestorsMatch(AncestorParts(std::string_view(key).substr(blank + 1)), pass.stack, pass.stackIndex))
      pass.Take(*Objects(index));
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

void TStyleList::Cascade(TProperties& element, const std::string& tag, const std::string& classesText,
                         const std::string& idText, const std::string& pseudoText, const std::string& title,
                         TProperties* inlineStyle, const TPropStack* stack, int stackIndex) {
  const std::string classes = LowerCase(classesText);
  const std::string id = LowerCase(idText);
  const std::string pseudo = LowerCase(pseudoText);
  const double baseSize = InheritedSize(element);

  std::vector<const TProperties*> merged;
  bool severalClasses = classes.find('.') != std::string::npos;
  CascadePass pass{element, tag, classes, id, pseudo, stack, stackIndex, severalClasses ? &merged : nullptr};
  if (severalClasses) {
    // Each class on its own, then the last class and the whole class text.
    std::string_view rest = classes;
    while (true) {
      std::size_t dot = rest.find('.');
      pass.classes = std::string(rest.substr(0, dot));
      RunPass(pass);
      if (dot == std::string_view::npos) break;
      rest.remove_prefix(dot + 1);
    }
    pass.classes = classes;
  }
  RunPass(pass);
  if (inlineStyle) element.Merge(*inlineStyle);
  if (const std::string* size = std::get_if<std::string>(&element.Value(Prop::FontSize)))
    element.Value(Prop::FontSize) = FontSizeFromString(*size, baseSize);

  element.PropTag = tag;
  element.PropClass = classes;
  element.PropID = id;
  element.PropPseudo = pseudo;
  element.PropStyle = inlineStyle;
  element.PropTitle = title;
  if (pseudo == "link" && stack) BuildLinkFonts(element, *const_cast<TPropStack*>(stack), stackIndex);
}

void TStyleList::BuildLinkFonts(TProperties& link, TPropStack& stack, int stackIndex) {
  auto fonts = std::make_unique<TFontInfoArray>();
  link.HasLinkFonts = false;
  link.LinkFonts.reset();
  link.UpdateBackgroundColor();
  link.GetFontInfo(*fonts->Ar[TFontInfoArray::Normal]);

  auto cascadeState = [&](int at, const TProperties& parent, const char* state) {
    auto temporary = std::make_unique<TProperties>();
    temporary->Inherit(link.PropTag, parent);
    TProperties* entry = stack.Insert(at, std::move(temporary));
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

  link.LinkFonts = std::move(fonts);
  link.HasLinkFonts = true;
}

}  // namespace engine
