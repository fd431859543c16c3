#pragma once
// The CSS reader: style sheets, STYLE attributes and selector keys.
#include <string>

namespace engine {

class TProperties;

// Parses the text of a STYLE attribute ("color: red; margin: 0") into target.
void ParseInlineStyle(const std::string& text, TProperties& target);

// Puts the parts of a compound selector in their canonical order (".b.a" -> ".a.b").
std::string SortSelectorParts(const std::string& selector);

}  // namespace engine
