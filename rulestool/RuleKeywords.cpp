#include "rulestool/RuleKeywords.h"

#include <cctype>
#include <iterator>

namespace kestrane {

namespace {

constexpr const char* kActionNames[kActionCount] = {"NoAction",  "KillAction", "HeaderAction",
                                                    "GetAction", "NotLoaded",  "InvalidAction"};
constexpr const char* kMatchTypeNames[kMatchTypeCount] = {
    "Disabled",      "Containing",    "StartingWith", "EndingWith", "MatchingExactly", "PatternMatching",
    "MatchingOneOf", "NotContaining", "GreaterThan",  "EqualTo",    "LessThan",        "InvalidMatch"};
// A Boolean's value is its position here modulo 2.
constexpr const char* kBooleanNames[] = {"false", "true", "no", "yes", "0", "1"};

template <std::size_t N>
int findName(const char* const (&names)[N], const std::string& name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (EqualsNoCase(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

const char* ActionName(long action) {
  return action >= 0 && action < kActionCount ? kActionNames[action] : kActionNames[kInvalidAction];
}

const char* MatchTypeName(long matchType) {
  return matchType >= 0 && matchType < kMatchTypeCount ? kMatchTypeNames[matchType]
                                                       : kMatchTypeNames[kMatchTypeCount - 1];
}

const char* BooleanName(bool value) { return value ? "true" : "false"; }

int FindAction(const std::string& name) { return findName(kActionNames, name); }

int FindMatchType(const std::string& name) { return findName(kMatchTypeNames, name); }

int FindBoolean(const std::string& text) {
  int index = findName(kBooleanNames, text);
  return index < 0 ? -1 : index % 2;
}

}  // namespace kestrane
