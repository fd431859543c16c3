#include "rulestore/HeaderRule.h"

std::unique_ptr<CHeaderRule> CHeaderRule::NewRule(const char* header, int matchType, const char* pattern) {
  return std::unique_ptr<CHeaderRule>(
      new CHeaderRule(header != nullptr ? header : "", matchType, pattern != nullptr ? pattern : ""));
}

Position CHeaderRuleList::GetHeadPosition() const {
  return rules_.empty() ? Position() : Position::At(0);
}

CHeaderRule* CHeaderRuleList::GetNext(Position& pos) const {
  if (!pos || pos.Index() >= rules_.size()) {
    pos.Clear();
    return nullptr;
  }
  CHeaderRule* rule = rules_[pos.Index()].get();
  pos = pos.Index() + 1 < rules_.size() ? Position::At(pos.Index() + 1) : Position();
  return rule;
}

void CHeaderRuleList::Add(std::unique_ptr<CHeaderRule> rule) {
  if (rule) rules_.push_back(std::move(rule));
}

void CHeaderRuleList::DeleteAll() { rules_.clear(); }
