#include "engine/CssReader.h"

#include "engine/Properties.h"

namespace engine {

void ParseInlineStyle(const std::string& /*text*/, TProperties& /*target*/) {}

std::string SortSelectorParts(const std::string& selector) { return selector; }

}  // namespace engine
