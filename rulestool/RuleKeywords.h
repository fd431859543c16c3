#pragma once

#include <string>

// The names under which actions, match types and Booleans appear in dumps and
// in the rules XML document. Lookups ignore case.
namespace kestrane {

inline constexpr int kActionCount = 6;      // NoAction .. InvalidAction
inline constexpr int kMatchTypeCount = 12;  // Disabled .. InvalidMatch
inline constexpr int kInvalidAction = 5;

// The name of a stored value; out-of-range values give "InvalidAction" and
// "InvalidMatch".
const char* ActionName(long action);
const char* MatchTypeName(long matchType);
const char* BooleanName(bool value);

// The stored value of a name, or -1 when it is unknown.
int FindAction(const std::string& name);
int FindMatchType(const std::string& name);
// 0 or 1 for "false", "true", "no", "yes", "0", "1"; -1 for anything else.
int FindBoolean(const std::string& text);

bool EqualsNoCase(const std::string& a, const std::string& b);

}  // namespace kestrane
