#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rulestore/CRuleDefinition.h"

// The contents of RULES.DAT and CONDITNS.DAT (see FORMAT.md).
namespace rulestore {

inline constexpr std::string_view kRulesFormatName = "rulestore-rules";
inline constexpr std::string_view kConditionsFormatName = "rulestore-conditions";

// One condition as read, not yet attached to its rule.
struct StoredCondition {
  std::uint64_t ruleIndex = 0;
  std::string header;
  int matchType = 0;
  std::string pattern;
};

std::string FormatRules(const std::vector<const CRuleDefinition*>& rules, std::string_view stamp);
std::string FormatConditions(const std::vector<const CRuleDefinition*>& rules, std::string_view stamp);

bool ParseRules(std::string_view bytes, std::string& stamp, std::vector<std::unique_ptr<CRuleDefinition>>& rules);
bool ParseConditions(std::string_view bytes, std::string& stamp, std::vector<StoredCondition>& conditions);

// Gives each rule its conditions in file order; false when one names a rule
// that does not exist.
bool AttachConditions(std::vector<StoredCondition>& conditions, std::vector<std::unique_ptr<CRuleDefinition>>& rules);

}  // namespace rulestore
