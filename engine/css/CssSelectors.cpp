// Selector keys: the canonical order of compound selectors and the keys of contextual ones.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "engine/css/CssDeclarations.h"
#include "engine/css/CssReader.h"
#include "engine/css/CssText.h"
#include "engine/css/TStyleList.h"

namespace engine {
namespace {

constexpr std::size_t kMaxSelectorParts = 10;

bool IsQualifier(char c) { return c == '.' || c == '#' || c == ':'; }

std::vector<std::string> SplitAtBlanks(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t blank = text.find(' ', position);
    if (blank == std::string_view::npos) blank = text.size();
    if (blank > position) parts.emplace_back(text.substr(position, blank - position));
    position = blank + 1;
  }
  return parts;
}

// "div > p" and "div>p" become "div> p": the ">" stays with the ancestor it follows.
std::string NormalizeChildMarks(std::string selector) {
  while (!selector.empty() && selector.front() == '>') selector = Trim(selector.substr(1));
  while (!selector.empty() && selector.back() == '>') selector = Trim(selector.substr(0, selector.size() - 1));
  std::string result;
  for (std::size_t index = 0; index < selector.size(); ++index) {
    char c = selector[index];
    if (c != '>') {
      result += c;
      continue;
    }
    while (!result.empty() && result.back() == ' ') result.pop_back();
    result += '>';
    if (index + 1 < selector.size() && selector[index + 1] != ' ') result += ' ';
  }
  return result;
}

}  // namespace

std::string SortSelectorParts(const std::string& selector) {
  std::string_view text = selector;
  bool childMark = !text.empty() && text.back() == '>';
  if (childMark) text.remove_suffix(1);
  std::size_t first = 0;
  while (first < text.size() && !IsQualifier(text[first])) ++first;
  std::string tag(text.substr(0, first));
  std::vector<std::string> classes;
  std::string ids;
  std::string pseudos;
  for (std::size_t start = first; start < text.size();) {
    std::size_t end = start + 1;
    while (end < text.size() && !IsQualifier(text[end])) ++end;
    std::string run(text.substr(start, end - start));
    if (run[0] == '.') classes.push_back(run);
    else if (run[0] == '#') ids += run;
    else pseudos += run;
    start = end;
  }
  std::sort(classes.begin(), classes.end());
  std::string result = tag;
  for (const std::string& cls : classes) result += cls;
  result += ids;
  result += pseudos;
  if (childMark) result += '>';
  return result;
}

std::string SelectorKey(const std::string& selectorText, TStyleList& styles) {
  std::string selector = NormalizeChildMarks(Trim(selectorText));
  if (selector.find(' ') == std::string::npos) return SortSelectorParts(selector);
  std::vector<std::string> parts = SplitAtBlanks(selector);
  if (parts.size() > kMaxSelectorParts) parts.erase(parts.begin(), parts.end() - kMaxSelectorParts);
  if (parts.size() == 1) return SortSelectorParts(parts[0]);
  std::string key = SortSelectorParts(parts.back()) + " ";
  key += std::to_string(parts.size() - 1);
  key += std::to_string(styles.NextSequence());
  for (std::size_t index = parts.size() - 1; index-- > 0;) key += SortSelectorParts(parts[index]) + " ";
  return key;
}

}  // namespace engine
