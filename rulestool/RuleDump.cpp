#include "rulestool/RuleDump.h"

#include <tinyxml.h>

#include "rulestool/RuleKeywords.h"
#include "rulestool/XmlPrinter.h"
#include "rulestore/CKillFile.h"

namespace kestrane {

namespace {

// Calls visit for every loaded rule in store order, its fields made ready.
template <typename Visit>
void forEachRule(CKillFile& store, Visit visit) {
  Position pos = store.GetHeadPosition();
  while (pos) {
    CRuleDefinition* rule = store.GetNext(pos);
    rule->LoadRule(true);
    visit(*rule);
  }
}

template <typename Visit>
void forEachHeader(const CRuleDefinition& rule, Visit visit) {
  Position pos = rule.Headers.GetHeadPosition();
  while (pos) visit(*rule.Headers.GetNext(pos));
}

void appendLine(std::string& out, const char* field, const std::string& value) {
  out.append(field).append("=").append(value).append("\n");
}

}  // namespace

std::string TextDump(CKillFile& store) {
  std::string out;
  forEachRule(store, [&out](const CRuleDefinition& rule) {
    appendLine(out, "Name", rule.GetName());
    appendLine(out, "Enabled", BooleanName(rule.Enabled));
    appendLine(out, "Global", BooleanName(rule.Global));
    appendLine(out, "Service", rule.GetService());
    appendLine(out, "Source", rule.GetSource());
    appendLine(out, "Action", ActionName(rule.Action));
    appendLine(out, "Destination", rule.Destination.AsString(','));
    appendLine(out, "Forward", rule.Forward.AsString(','));
    appendLine(out, "Reply", rule.Reply.AsString(','));
    appendLine(out, "Or", BooleanName(rule.Or));
    appendLine(out, "Not", BooleanName(rule.Not));
    appendLine(out, "Last", BooleanName(rule.Last));
    forEachHeader(rule, [&out](const CHeaderRule& header) {
      appendLine(out, "  Header", header.Header());
      appendLine(out, "  Match Type", MatchTypeName(header.MatchType()));
      appendLine(out, "  Pattern", header.Pattern());
    });
  });
  return out;
}

void BuildRulesDocument(CKillFile& store, TiXmlDocument& document) {
  document.LinkEndChild(new TiXmlDeclaration("1.0", "", "no"));
  auto* root = new TiXmlElement("OrvelleMessageRules");
  document.LinkEndChild(root);
  forEachRule(store, [root](const CRuleDefinition& rule) {
    auto* element = new TiXmlElement("Rule");
    root->LinkEndChild(element);
    element->SetAttribute("Name", rule.GetName());
    element->SetAttribute("Enabled", BooleanName(rule.Enabled));
    element->SetAttribute("Global", BooleanName(rule.Global));
    element->SetAttribute("Service", rule.GetService());
    element->SetAttribute("Source", rule.GetSource());
    element->SetAttribute("Action", ActionName(rule.Action));
    element->SetAttribute("Destination", rule.Destination.AsString(',').c_str());
    element->SetAttribute("Forward", rule.Forward.AsString(',').c_str());
    element->SetAttribute("Reply", rule.Reply.AsString(',').c_str());
    element->SetAttribute("Or", BooleanName(rule.Or));
    element->SetAttribute("Not", BooleanName(rule.Not));
    element->SetAttribute("Last", BooleanName(rule.Last));
    forEachHeader(rule, [element](const CHeaderRule& header) {
      auto* child = new TiXmlElement("Header");
      element->LinkEndChild(child);
      child->SetAttribute("Header", header.Header());
      child->SetAttribute("MatchType", MatchTypeName(header.MatchType()));
      child->SetAttribute("Pattern", header.Pattern());
    });
  });
}

std::string XmlDump(CKillFile& store) {
  TiXmlDocument document;
  BuildRulesDocument(store, document);
  return PrintXml(document);
}

}  // namespace kestrane
