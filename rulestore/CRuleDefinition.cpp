#include "rulestore/CRuleDefinition.h"

std::unique_ptr<CRuleDefinition> CRuleDefinition::NewRule(const char* service, const char* source, bool global,
                                                          long /*reserved*/) {
  auto rule = std::make_unique<CRuleDefinition>();
  rule->SetService(service);
  rule->SetSource(source);
  rule->Global = global;
  return rule;
}

bool CRuleDefinition::LoadRule(bool /*withConditions*/) { return true; }
