// Value clean-up and the expansion of shorthand properties into their longhands.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/css/CssColors.h"
#include "engine/css/CssDeclarations.h"
#include "engine/css/CssReader.h"
#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"

namespace engine {
namespace {

constexpr std::size_t kMaxWords = 7;
constexpr std::size_t kMaxSideWords = 4;

enum Shorthand {
  kMargin, kPadding, kBorderWidth, kBorder, kBorderTop, kBorderRight, kBorderBottom, kBorderLeft, kFont,
  kBackground, kListStyle, kBorderColor, kBorderStyle, kShorthandCount
};

constexpr std::array<std::string_view, kShorthandCount> kShorthandNames = {
    "margin", "padding", "border-width", "border", "border-top", "border-right", "border-bottom",
    "border-left", "font", "background", "list-style", "border-color", "border-style"};

constexpr std::array<std::string_view, 16> kFontKeywords = {
    "italic", "oblique", "normal", "bolder", "lighter", "bold", "small-caps", "larger",
    "smaller", "xx-small", "x-small", "small", "medium", "large", "x-large", "xx-large"};

constexpr std::array<std::string_view, 9> kBorderStyleWords = {"none", "solid", "dashed", "dotted", "double",
                                                               "groove", "inset", "outset", "ridge"};

template <std::size_t N>
int IndexIn(const std::array<std::string_view, N>& table, std::string_view word) {
  for (std::size_t index = 0; index < N; ++index) {
    if (table[index] == word) return static_cast<int>(index);
  }
  return -1;
}

// Words at blanks: runs of blanks count as one, a blank after a comma joins, quoted words keep
// their blanks, and "12px/14px" gives "12px" and "/14px".
std::vector<std::string> SplitWords(std::string_view value) {
  std::vector<std::string> words;
  std::string word;
  char quote = 0;
  for (std::size_t index = 0; index < value.size(); ++index) {
    char c = value[index];
    if (quote) {
      word += c;
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
      word += c;
    } else if (c == ' ') {
      if (!word.empty() && word.back() != ',') {
        words.push_back(word);
        word.clear();
      }
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  std::vector<std::string> cut;
  for (const std::string& each : words) {
    std::size_t slash = each.find('/');
    if (slash != std::string::npos && slash > 0 && each[0] != '"' && each[0] != '\'') {
      cut.push_back(each.substr(0, slash));
      cut.push_back(each.substr(slash));
    } else {
      cut.push_back(each);
    }
  }
  return cut;
}

// Removes every "prefix...)" group from value and hands each to take.
template <class Take>
std::string CutGroups(const std::string& value, std::string_view prefix, Take take) {
  std::string rest;
  std::size_t position = 0;
  for (std::size_t start = value.find(prefix); start != std::string::npos; start = value.find(prefix, position)) {
    rest.append(value, position, start - position);
    std::size_t close = value.find(')', start);
    position = close == std::string::npos ? value.size() : close + 1;
    take(value.substr(start, position - start));
  }
  rest.append(value, position, std::string::npos);
  return rest;
}

void ExpandSides(Shorthand which, const std::string& value, const PropertySetter& set) {
  static constexpr std::array<std::string_view, 4> kSides = {"top", "right", "bottom", "left"};
  std::vector<std::string> words = SplitWords(value);
  if (words.empty()) return;
  if (words.size() > kMaxSideWords) words.resize(kMaxSideWords);
  auto name = [which](std::size_t side) {
    std::string sideName(kSides[side]);
    switch (which) {
      case kMargin: return "margin-" + sideName;
      case kPadding: return "padding-" + sideName;
      case kBorderWidth: return "border-" + sideName + "-width";
      case kBorderColor: return "border-" + sideName + "-color";
      default: return "border-" + sideName + "-style";
    }
  };
  const std::string& top = words[0];
  const std::string& right = words.size() > 1 ? words[1] : top;
  const std::string& bottom = words.size() > 2 ? words[2] : top;
  const std::string& left = words.size() > 3 ? words[3] : right;
  set(name(0), top);
  set(name(1), right);
  set(name(2), bottom);
  set(name(3), left);
}

void ExpandBorder(const std::string& shorthand, const std::string& value, const PropertySetter& set) {
  std::string rest = CutGroups(value, "rgb(", [&](const std::string& group) { set(shorthand + "-color", group); });
  std::vector<std::string> words = SplitWords(rest);
  if (words.size() > kMaxWords) words.resize(kMaxWords);
  for (const std::string& word : words) {
    TColor colour = 0;
    if (ColorFromString(word, true, colour)) {
      set(shorthand + "-color", word);
    } else if (IndexIn(kBorderStyleWords, word) >= 0) {
      set(shorthand + "-style", word);
    } else if (shorthand == "border") {
      for (const char* side : {"border-top-width", "border-right-width", "border-bottom-width", "border-left-width"})
        set(side, word);
    } else {
      set(shorthand + "-width", word);
    }
  }
}

// The word read as a whole integer; -1 when it is not one ("120%", "12px"),
// so that a size with a unit is never taken for a weight such as "700".
int WholeInteger(const std::string& word) {
  if (word.empty()) return -1;
  long long number = 0;
  for (char c : word) {
    if (!IsAsciiDigit(c)) return -1;
    number = number * 10 + (c - '0');
    if (number > INT32_MAX) return -1;
  }
  return static_cast<int>(number);
}

// The family is the last item of the shorthand: all words from the first family word on
// form it, so "12px times new roman" keeps "times new roman".
void ExpandFont(const std::string& value, const PropertySetter& set) {
  std::vector<std::string> words = SplitWords(value);
  for (std::size_t index = 0; index < words.size(); ++index) {
    const std::string& word = words[index];
    int keyword = IndexIn(kFontKeywords, word);
    if (word[0] == '/') {
      set("line-height", word.substr(1));
    } else if (keyword >= 0) {
      set(keyword <= 1 ? "font-style" : keyword <= 5 ? "font-weight" : keyword == 6 ? "font-variant" : "font-size",
          word);
    } else if (!IsAsciiDigit(word[0])) {
      std::string family = word;
      while (++index < words.size()) family += " " + words[index];
      set("font-family", family);
    } else if (WholeInteger(word) < 100) {
      set("font-size", word);
    }
  }
}

std::string ResolvedWhenBased(const std::string& value, const std::string& baseUrl) {
  return baseUrl.empty() ? value : ResolveUrlValue(value, baseUrl);
}

void ExpandBackground(const std::string& value, const std::string& baseUrl, const PropertySetter& set) {
  std::string rest = CutGroups(value, "rgb(", [&](const std::string& group) { set("background-color", group); });
  rest = CutGroups(rest, "url(",
                   [&](const std::string& group) { set("background-image", ResolvedWhenBased(group, baseUrl)); });
  std::vector<std::string> words = SplitWords(rest);
  if (words.size() > kMaxWords) words.resize(kMaxWords);
  std::vector<std::string> position;
  for (const std::string& word : words) {
    TColor colour = 0;
    if (ColorFromString(word, true, colour)) {
      set("background-color", word);
    } else if (word == "none") {
      set("background-image", "none");
      set("background-color", "transparent");
    } else if (word.find("repeat") != std::string::npos) {
      set("background-repeat", word);
    } else if (word == "fixed" || word == "scroll") {
      set("background-attachment", word);
    } else {
      position.push_back(word);
    }
  }
  if (position.size() == 1) set("background-position", position[0]);
  if (position.size() >= 2) set("background-position", position[position.size() - 2] + " " + position.back());
}

void ExpandListStyle(const std::string& value, const std::string& baseUrl, const PropertySetter& set) {
  std::vector<std::string> words = SplitWords(value);
  if (words.size() > kMaxWords) words.resize(kMaxWords);
  for (const std::string& word : words) {
    if (word.find("url(") != std::string::npos) {
      set("list-style-image", ResolvedWhenBased(word, baseUrl));
    } else if (word != "inside" && word != "outside") {  // the marker position is not kept
      set("list-style-type", word);
    }
  }
}

}  // namespace

std::string RemoveEnclosingQuotes(const std::string& value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string CleanValue(const std::string& raw) {
  const std::string lowered = LowerCase(raw);
  std::string value;
  value.reserve(raw.size());
  std::size_t position = 0;
  while (position < raw.size()) {
    std::size_t url = lowered.find("url(", position);
    std::size_t stop = url == std::string::npos ? raw.size() : url + 4;
    value.append(lowered, position, stop - position);
    if (url == std::string::npos) break;
    std::size_t close = raw.find(')', stop);
    std::size_t end = close == std::string::npos ? raw.size() : close;
    value.append(raw, stop, end - stop);  // paths keep their case
    position = end;
  }
  value = Trim(value);
  std::size_t bang = value.rfind('!');
  if (bang != std::string::npos && TrimView(std::string_view(value).substr(bang + 1)) == "important")
    value = Trim(std::string_view(value).substr(0, bang));
  return value;
}

bool ExpandShorthand(const std::string& name, const std::string& value, const std::string& baseUrl,
                     const PropertySetter& set) {
  int which = IndexIn(kShorthandNames, name);
  if (which < 0) return false;
  switch (static_cast<Shorthand>(which)) {
    case kMargin: case kPadding: case kBorderWidth: case kBorderColor: case kBorderStyle:
      ExpandSides(static_cast<Shorthand>(which), RemoveEnclosingQuotes(value), set);
      break;
    case kBorder: case kBorderTop: case kBorderRight: case kBorderBottom: case kBorderLeft:
      ExpandBorder(name, RemoveEnclosingQuotes(value), set);
      break;
    case kFont:
      ExpandFont(value, set);
      break;
    case kBackground:
      ExpandBackground(RemoveEnclosingQuotes(value), baseUrl, set);
      break;
    case kListStyle:
      ExpandListStyle(RemoveEnclosingQuotes(value), baseUrl, set);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace engine
