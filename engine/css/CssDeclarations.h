#pragma once
// Shared by the two readers: value clean-up, shorthand expansion and selector keys.
#include <functional>
#include <string>

namespace engine {

class TStyleList;

// Stores one (property, value) pair: AddStyleRule for each selector, or the attribute's target.
using PropertySetter = std::function<void(const std::string& property, const std::string& value)>;

// Lower-cases a value except the text inside url(...), trims it and drops a trailing
// "!important".
std::string CleanValue(const std::string& raw);
// Removes one pair of enclosing quotes (same character at both ends, value longer than 1).
std::string RemoveEnclosingQuotes(const std::string& value);

// True when name is a shorthand; its expansion is then handed to set.
bool ExpandShorthand(const std::string& name, const std::string& value, const std::string& baseUrl,
                     const PropertySetter& set);

// The key of one selector ("div > p" -> "p 110div> "); contextual keys take the sheet's next
// sequence number.
std::string SelectorKey(const std::string& selector, TStyleList& styles);

}  // namespace engine
