#include "rulestore/CHeaderRule.h"

std::unique_ptr<CHeaderRule> CHeaderRule::NewRule(const char* header, int matchType, const char* pattern) {
  return std::unique_ptr<CHeaderRule>(
      new CHeaderRule(header != nullptr ? header : "", matchType, pattern != nullptr ? pattern : ""));
}

Position CHeaderRuleList::GetHeadPosition() const { return HeadPosition(rules_.size()); }

CHeaderRule* CHeaderRuleList::GetNext(Position& pos) const { return EntryAt(rules_, pos); }

void CHeaderRuleList::Add(std::unique_ptr<CHeaderRule> rule) {
  if (rule) rules_.push_back(std::move(rule));
}

void CHeaderRuleList::DeleteAll() { rules_.clear(); }
