#include "rulestore/StoreFormat.h"

#include "rulestore/RecordCodec.h"

namespace rulestore {

namespace {

// Rule record fields, in file order.
enum RuleField : std::size_t {
  kName,
  kService,
  kSource,
  kEnabled,
  kGlobal,
  kAction,
  kDestination,
  kForward,
  kReply,
  kOr,
  kNot,
  kLast,
  kRuleFieldCount
};
enum ConditionField : std::size_t { kRuleIndex, kHeader, kMatchType, kPattern, kConditionFieldCount };

std::string flag(bool value) { return value ? "1" : "0"; }

// A set is "<count>:" followed by its escaped items joined by ",", so that an
// empty set and a set of one empty text stay apart.
std::string formatSet(const CStringSet& set) {
  std::string field = std::to_string(set.Items().size()) + ":";
  for (std::size_t i = 0; i < set.Items().size(); ++i) {
    if (i > 0) field += ',';
    field += EscapeField(set.Items()[i]);
  }
  return field;
}

bool parseSet(std::string_view field, CStringSet& set) {
  std::size_t colon = field.find(':');
  std::uint64_t count = 0;
  if (colon == std::string_view::npos || !ParseIndex(field.substr(0, colon), count)) return false;
  std::string_view items = field.substr(colon + 1);
  if (count == 0) return items.empty();
  std::uint64_t found = 0;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = items.find(',', start);
    std::string text;
    if (!UnescapeField(items.substr(start, comma == std::string_view::npos ? items.npos : comma - start), text))
      return false;
    set.Add(std::move(text));
    ++found;
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return found == count;
}

bool parseRule(const std::vector<std::string_view>& fields, CRuleDefinition& rule) {
  std::string name, service, source;
  if (!UnescapeField(fields[kName], name) || !UnescapeField(fields[kService], service) ||
      !UnescapeField(fields[kSource], source))
    return false;
  rule.SetName(name.c_str());
  rule.SetService(service.c_str());
  rule.SetSource(source.c_str());
  return ParseFlag(fields[kEnabled], rule.Enabled) && ParseFlag(fields[kGlobal], rule.Global) &&
         ParseInt(fields[kAction], rule.Action) && parseSet(fields[kDestination], rule.Destination) &&
         parseSet(fields[kForward], rule.Forward) && parseSet(fields[kReply], rule.Reply) &&
         ParseFlag(fields[kOr], rule.Or) && ParseFlag(fields[kNot], rule.Not) && ParseFlag(fields[kLast], rule.Last);
}

}  // namespace

std::string FormatRules(const std::vector<const CRuleDefinition*>& rules, std::string_view stamp) {
  FramedWriter writer(kRulesFormatName, stamp);
  for (const CRuleDefinition* rule : rules) {
    writer.Record(
        "rule", {EscapeField(rule->GetName()), EscapeField(rule->GetService()), EscapeField(rule->GetSource()),
                 flag(rule->Enabled), flag(rule->Global), std::to_string(rule->Action), formatSet(rule->Destination),
                 formatSet(rule->Forward), formatSet(rule->Reply), flag(rule->Or), flag(rule->Not), flag(rule->Last)});
  }
  return writer.Finish();
}

std::string FormatConditions(const std::vector<const CRuleDefinition*>& rules, std::string_view stamp) {
  FramedWriter writer(kConditionsFormatName, stamp);
  for (std::size_t index = 0; index < rules.size(); ++index) {
    Position pos = rules[index]->Headers.GetHeadPosition();
    while (pos) {
      const CHeaderRule* header = rules[index]->Headers.GetNext(pos);
      writer.Record("header", {std::to_string(index), EscapeField(header->Header()),
                               std::to_string(header->MatchType()), EscapeField(header->Pattern())});
    }
  }
  return writer.Finish();
}

bool ParseRules(std::string_view bytes, std::string& stamp, std::vector<std::unique_ptr<CRuleDefinition>>& rules) {
  rules.clear();
  return ReadFramed(bytes, kRulesFormatName, "rule", kRuleFieldCount, stamp,
                    [&rules](const std::vector<std::string_view>& fields) {
                      auto rule = std::make_unique<CRuleDefinition>();
                      if (!parseRule(fields, *rule)) return false;
                      rules.push_back(std::move(rule));
                      return true;
                    });
}

bool ParseConditions(std::string_view bytes, std::string& stamp, std::vector<StoredCondition>& conditions) {
  conditions.clear();
  return ReadFramed(
      bytes, kConditionsFormatName, "header", kConditionFieldCount, stamp,
      [&conditions](const std::vector<std::string_view>& fields) {
        StoredCondition condition;
        if (!ParseIndex(fields[kRuleIndex], condition.ruleIndex) || !UnescapeField(fields[kHeader], condition.header) ||
            !ParseInt(fields[kMatchType], condition.matchType) || !UnescapeField(fields[kPattern], condition.pattern))
          return false;
        conditions.push_back(std::move(condition));
        return true;
      });
}

bool AttachConditions(std::vector<StoredCondition>& conditions, std::vector<std::unique_ptr<CRuleDefinition>>& rules) {
  for (const StoredCondition& condition : conditions) {
    if (condition.ruleIndex >= rules.size()) return false;
  }
  for (const StoredCondition& condition : conditions) {
    rules[condition.ruleIndex]->Headers.Add(
        CHeaderRule::NewRule(condition.header.c_str(), condition.matchType, condition.pattern.c_str()));
  }
  return true;
}

}  // namespace rulestore
