#include "rulestool/RuleMerge.h"

#include <tinyxml.h>

#include <memory>
#include <optional>
#include <string>

#include "rulestool/AttributeReader.h"
#include "rulestool/Messages.h"
#include "rulestool/RuleKeywords.h"
#include "rulestore/CKillFile.h"

namespace kestrane {

namespace {

constexpr int kHighestLoadableAction = 3;      // GetAction
constexpr int kHighestLoadableMatchType = 10;  // LessThan

// The attributes of one Rule element, defaults applied.
struct RuleFields {
  std::string name;
  bool enabled = true;
  bool global = false;
  std::string service;
  std::string source;
  int action = 0;
  std::string destination, forward, reply;
  bool orFlag = false, notFlag = false, last = false;
};

enum class RuleOutcome { Failed, Skipped, Accepted };

class Merger {
 public:
  Merger(const char* source, CKillFile* store, const MergeOptions& options, std::ostream& err)
      : source_(source), store_(store), options_(options), err_(err) {
    if (store_ != nullptr) next_ = store_->GetHeadPosition();
  }

  int Run(const TiXmlDocument& document);

 private:
  RuleOutcome mergeRule(const TiXmlElement& element);
  bool readRule(const TiXmlElement& element, RuleFields& rule);
  bool accepts(const RuleFields& rule);
  CRuleDefinition* takeStoredRule(const RuleFields& rule, std::unique_ptr<CRuleDefinition>& created);
  void assign(const RuleFields& rule, CRuleDefinition& target);
  bool mergeHeaders(const TiXmlElement& element, const RuleFields& rule, CRuleDefinition* target);
  void retireLeftovers();
  void debug(int level, const std::string& line) {
    if (options_.debugLevel >= level) Message(err_, line);
  }

  const char* source_;
  CKillFile* store_;
  const MergeOptions& options_;
  std::ostream& err_;
  Position next_;  // the stored rule that the next accepted rule replaces
};

int Merger::Run(const TiXmlDocument& document) {
  const TiXmlElement* root = document.FirstChildElement();
  if (root == nullptr) {
    Message(err_, "Document has no data");
    return -1;
  }
  if (!CheckElement(*root, "OrvelleMessageRules", err_)) return -1;
  int accepted = 0;
  for (const TiXmlElement* element = root->FirstChildElement(); element != nullptr;
       element = element->NextSiblingElement()) {
    RuleOutcome outcome = mergeRule(*element);
    if (outcome == RuleOutcome::Failed) return -1;
    if (outcome == RuleOutcome::Accepted) ++accepted;
  }
  if (store_ != nullptr) retireLeftovers();
  return accepted;
}

RuleOutcome Merger::mergeRule(const TiXmlElement& element) {
  RuleFields rule;
  if (!CheckElement(element, "Rule", err_) || !readRule(element, rule)) return RuleOutcome::Failed;
  if (!accepts(rule)) return RuleOutcome::Skipped;
  std::unique_ptr<CRuleDefinition> created;
  CRuleDefinition* target = store_ != nullptr ? takeStoredRule(rule, created) : nullptr;
  if (!mergeHeaders(element, rule, target)) return RuleOutcome::Failed;
  if (created) {
    debug(1, "Adding rule '" + rule.name + "'");
    // Under no-change the new rule is dropped here.
    if (!options_.noChange) store_->Add(std::move(created));
  }
  return RuleOutcome::Accepted;
}

bool Merger::readRule(const TiXmlElement& element, RuleFields& rule) {
  AttributeReader reader(element, err_);
  if (!reader.NoNulValues()) return false;
  std::optional<std::string> name = reader.Text("Name");
  if (!name) return false;
  rule.name = *name;
  debug(2, "Found rule '" + rule.name + "'");
  // An invalid Enabled, Or or Not is reported and counts as true.
  rule.enabled = reader.Boolean("Enabled", 1) != 0;
  int global = reader.Boolean("Global", source_ == nullptr ? 1 : 0);
  std::optional<std::string> service = reader.Text("Service");
  std::optional<std::string> source = reader.Text("Source", source_);
  int action = reader.Keyword("Action", FindAction, kHighestLoadableAction);
  rule.destination = reader.Text("Destination", "").value_or("");
  rule.forward = reader.Text("Forward", "").value_or("");
  rule.reply = reader.Text("Reply", "").value_or("");
  rule.orFlag = reader.Boolean("Or", 0) != 0;
  rule.notFlag = reader.Boolean("Not", 0) != 0;
  int last = reader.Boolean("Last", AttributeReader::kRequired);
  if (global < 0 || !service || !source || action < 0 || last < 0) {
    Message(err_, "Rule '" + rule.name + "' did not have all the required attributes");
    return false;
  }
  rule.global = global != 0;
  rule.service = *service;
  rule.source = *source;
  rule.action = action;
  rule.last = last != 0;
  return true;
}

bool Merger::accepts(const RuleFields& rule) {
  if (source_ == nullptr) {
    if (rule.global) { return true; }
    Message(err_, "Rule '" + rule.name + "' was not global");
    return false;
  }
  if (std::string(source_) == "*") return true;
  if (!rule.global && EqualsNoCase(rule.source, source_)) return true;
  Message(err_, "Rule '" + rule.name + "' was not for user " + source_);
  return false;
}

CRuleDefinition* Merger::takeStoredRule(const RuleFields& rule, std::unique_ptr<CRuleDefinition>& created) {
  CRuleDefinition* target = nullptr;
  if (next_) {
    target = store_->GetNext(next_);
    debug(1, std::string("Replacing rule '") + target->GetName() + "' with '" + rule.name + "'");
    if (!options_.noChange) {
      target->SetService(rule.service.c_str());
      target->SetSource(rule.source.c_str());
      target->Global = rule.global;
      target->Headers.DeleteAll();
    }
  } else {
    debug(1, "Creating new rule '" + rule.name + "'");
    created = CRuleDefinition::NewRule(rule.service.c_str(), rule.source.c_str(), rule.global, 0);
    target = created.get();
  }
  if (!options_.noChange) assign(rule, *target);
  return target;
}

void Merger::assign(const RuleFields& rule, CRuleDefinition& target) {
  target.SetName(rule.name.c_str());
  target.Enabled = rule.enabled;
  target.Action = rule.action;
  target.Destination.Empty();
  target.Destination.AddList(rule.destination.c_str(), ',');
  target.Forward.Empty();
  target.Forward.AddList(rule.forward.c_str(), ',');
  target.Reply.Empty();
  target.Reply.AddList(rule.reply.c_str(), ',');
  target.Or = rule.orFlag;
  target.Not = rule.notFlag;
  target.Last = rule.last;
}

bool Merger::mergeHeaders(const TiXmlElement& element, const RuleFields& rule, CRuleDefinition* target) {
  const TiXmlElement* child = element.FirstChildElement();
  if (child == nullptr && store_ == nullptr) Message(err_, "Rule " + rule.name + " has no Header elements");
  for (; child != nullptr; child = child->NextSiblingElement()) {
    if (!CheckElement(*child, "Header", err_)) return false;
    AttributeReader reader(*child, err_);
    if (!reader.NoNulValues()) return false;
    std::optional<std::string> header = reader.Text("Header");
    const std::string shownHeader = header.value_or("?");
    debug(2, "Found header '" + shownHeader + "'");
    int matchType = reader.Keyword("MatchType", FindMatchType, kHighestLoadableMatchType);
    std::optional<std::string> pattern = reader.Text("Pattern");
    if (!header || matchType < 0 || !pattern) {
      Message(err_, "header '" + shownHeader + "' did not have all the required attributes");
      return false;
    }
    if (target == nullptr) continue;
    auto condition = CHeaderRule::NewRule(header->c_str(), matchType, pattern->c_str());
    debug(1, "Adding header '" + *header + "', '" + std::to_string(matchType) + "', '" + *pattern + "'");
    // Under no-change the condition is dropped here.
    if (!options_.noChange) target->Headers.Add(std::move(condition));
  }
  return true;
}

void Merger::retireLeftovers() {
  while (next_) {
    CRuleDefinition* rule = store_->GetNext(next_);
    debug(1, std::string("Deleting old rule '") + rule->GetName() + "'");
    if (!options_.noChange) rule->Action = kInvalidAction;
  }
}

}  // namespace

int MergeRules(const TiXmlDocument& document, const char* source, CKillFile* store, const MergeOptions& options,
               std::ostream& err) {
  return Merger(source, store, options, err).Run(document);
}

}  // namespace kestrane
