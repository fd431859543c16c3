#include "engine/css/StyleListSelectors.h"

#include <algorithm>
#include <functional>

#include "engine/css/CssText.h"
#include "engine/css/TPropStack.h"
#include "engine/css/TProperties.h"

namespace engine {
namespace {

bool HasClass(std::string_view classes, std::string_view wanted) {
  while (true) {
    std::size_t dot = classes.find('.');
    if (classes.substr(0, dot) == wanted) return true;
    if (dot == std::string_view::npos) return false;
    classes.remove_prefix(dot + 1);
  }
}

void AddClassTokens(std::string_view classes, std::vector<std::size_t>& tokens) {
  while (!classes.empty()) {
    std::size_t dot = classes.find('.');
    if (dot != 0) tokens.push_back(SelectorTokenHash('.', classes.substr(0, dot)));
    if (dot == std::string_view::npos) break;
    classes.remove_prefix(dot + 1);
  }
}

}  // namespace

std::size_t SelectorTokenHash(char kind, std::string_view name) {
  return std::hash<std::string_view>()(name) * 31 + static_cast<unsigned char>(kind);
}

void AddElementTokens(std::string_view tag, std::string_view classes, std::string_view id,
                      std::vector<std::size_t>& tokens) {
  tokens.push_back(SelectorTokenHash('t', tag));
  AddClassTokens(classes, tokens);
  if (!id.empty()) tokens.push_back(SelectorTokenHash('#', id));
}

std::vector<std::size_t> StackTokens(const TPropStack& stack, int count) {
  std::vector<std::size_t> tokens;
  for (int index = 0; index < count && index < stack.Count(); ++index) {
    const TProperties* element = stack.Items(index);
    AddElementTokens(element->PropTag, element->PropClass, element->PropID, tokens);
  }
  std::sort(tokens.begin(), tokens.end());
  tokens.erase(std::unique(tokens.begin(), tokens.end()), tokens.end());
  return tokens;
}

bool TokensPresent(const TSelectorPart& part, const std::vector<std::size_t>& presentTokens) {
  for (std::size_t token : part.tokens) {
    if (!std::binary_search(presentTokens.begin(), presentTokens.end(), token)) return false;
  }
  return true;
}

TSelectorPart ParseSelectorPart(std::string_view text) {
  TSelectorPart part;
  if (!text.empty() && text.back() == '>') {
    part.directParent = true;
    text.remove_suffix(1);
  }
  std::size_t run = text.find_first_of(".#:");
  part.tag = std::string(text.substr(0, run));
  while (run != std::string_view::npos) {
    std::size_t next = text.find_first_of(".#:", run + 1);
    std::string name(text.substr(run + 1, next == std::string_view::npos ? std::string_view::npos : next - run - 1));
    if (text[run] == '.') part.classes.push_back(name);
    else if (text[run] == '#') part.id = name;
    else part.pseudo = name;
    run = next;
  }
  if (!part.tag.empty()) part.tokens.push_back(SelectorTokenHash('t', part.tag));
  for (const std::string& name : part.classes) part.tokens.push_back(SelectorTokenHash('.', name));
  if (!part.id.empty()) part.tokens.push_back(SelectorTokenHash('#', part.id));
  return part;
}

std::shared_ptr<const TContextualKey> ParseContextualKey(const std::string& keyText) {
  std::string key = LowerCase(keyText);
  std::size_t blank = key.find(' ');
  if (blank == std::string::npos) return nullptr;
  auto parsed = std::make_shared<TContextualKey>();
  parsed->subject = ParseSelectorPart(std::string_view(key).substr(0, blank));
  std::string_view tail = std::string_view(key).substr(blank + 1);
  std::size_t digits = 0;
  while (digits < tail.size() && IsAsciiDigit(tail[digits])) ++digits;
  tail.remove_prefix(digits);
  while (!tail.empty()) {
    std::size_t next = tail.find(' ');
    if (next != 0) parsed->ancestors.push_back(ParseSelectorPart(tail.substr(0, next)));
    if (next == std::string_view::npos) break;
    tail.remove_prefix(next + 1);
  }
  for (const TSelectorPart& part : parsed->ancestors) {
    for (std::size_t token : part.tokens) parsed->ancestorTokens.Add(token);
  }
  return parsed;
}

bool PartMatches(const TSelectorPart& part, std::string_view tag, std::string_view classes, std::string_view id,
                 std::string_view pseudo) {
  if (!part.tag.empty() && part.tag != tag) return false;
  if (!part.id.empty() && part.id != id) return false;
  if (!part.pseudo.empty() && part.pseudo != pseudo) return false;
  for (const std::string& wanted : part.classes) {
    if (classes.empty() || !HasClass(classes, wanted)) return false;
  }
  return true;
}

bool PartMatches(const TSelectorPart& part, const TProperties& element) {
  return PartMatches(part, element.PropTag, element.PropClass, element.PropID, element.PropPseudo);
}

}  // namespace engine
