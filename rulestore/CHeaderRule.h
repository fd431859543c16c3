#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rulestore/Position.h"

// One header condition of a rule: the header's name, how it is matched and
// the pattern it is matched against.
class CHeaderRule {
 public:
  static std::unique_ptr<CHeaderRule> NewRule(const char* header, int matchType, const char* pattern);

  const char* Header() const { return header_.c_str(); }
  const char* Pattern() const { return pattern_.c_str(); }
  int MatchType() const { return matchType_; }

 private:
  CHeaderRule(std::string header, int matchType, std::string pattern)
      : header_(std::move(header)), pattern_(std::move(pattern)), matchType_(matchType) {}

  std::string header_;
  std::string pattern_;
  int matchType_;
};

// The header conditions of one rule, in the order they were added; owns them.
class CHeaderRuleList {
 public:
  Position GetHeadPosition() const;
  // The condition at pos; pos moves to the next one, or to none after the last.
  CHeaderRule* GetNext(Position& pos) const;
  void Add(std::unique_ptr<CHeaderRule> rule);
  void DeleteAll();
  std::size_t GetCount() const { return rules_.size(); }

 private:
  std::vector<std::unique_ptr<CHeaderRule>> rules_;
};
