#pragma once

#include <memory>
#include <string>

#include "rulestore/CHeaderRule.h"
#include "rulestore/CStringSet.h"

// One message rule. Name, service and source go through get and set
// operations; the other fields are read and written directly.
class CRuleDefinition {
 public:
  // A new rule for the service and source, enabled, with action 0 and no
  // conditions. The last argument is reserved and must be 0.
  static std::unique_ptr<CRuleDefinition> NewRule(const char* service, const char* source, bool global, long reserved);

  // Makes the rule's fields and conditions ready to read. The store loads
  // rules whole, so this always succeeds.
  bool LoadRule(bool withConditions);

  const char* GetName() const { return name_.c_str(); }
  const char* GetService() const { return service_.c_str(); }
  const char* GetSource() const { return source_.c_str(); }
  void SetName(const char* name) { name_ = name != nullptr ? name : ""; }
  void SetService(const char* service) { service_ = service != nullptr ? service : ""; }
  void SetSource(const char* source) { source_ = source != nullptr ? source : ""; }

  bool Enabled = true;
  bool Global = false;
  int Action = 0;
  CStringSet Destination;
  CStringSet Forward;
  CStringSet Reply;
  bool Or = false;
  bool Not = false;
  bool Last = false;
  CHeaderRuleList Headers;

 private:
  std::string name_;
  std::string service_;
  std::string source_;
};
