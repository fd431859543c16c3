#pragma once

// Merges rules documents in memory into stores in scratch folders.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <sstream>

#include "rulestool/RuleMerge.h"
#include "rulestool/RulesDocument.h"
#include "tests/rulestore/StoreFixtures.h"

namespace tooltest {

// A rules document around the given Rule elements.
inline std::string rulesXml(const std::string& rules) {
  return "<?xml version=\"1.0\" standalone=\"no\" ?>\n<OrvelleMessageRules>\n" + rules + "</OrvelleMessageRules>\n";
}

// A complete Rule element with one header; extra attributes are appended.
inline std::string ruleXml(const std::string& name, const std::string& extra = "Global=\"true\" Source=\"\"",
                           const std::string& body =
                               "<Header Header=\"Subject\" MatchType=\"Containing\" "
                               "Pattern=\"x\"/>") {
  return "<Rule Name=\"" + name + "\" Service=\"mail\" Action=\"KillAction\" Last=\"false\" " + extra + ">" + body +
         "</Rule>\n";
}

struct MergeResult {
  int count = 0;
  std::string messages;
};

inline MergeResult merge(const std::string& xml, const char* source, CKillFile* store,
                         kestrane::MergeOptions options = {}) {
  TiXmlBase::SetCondenseWhiteSpace(false);
  TiXmlDocument document;
  std::string error;
  EXPECT_TRUE(kestrane::ParseRulesDocument(xml, document, error)) << error;
  std::ostringstream err;
  MergeResult result;
  result.count = kestrane::MergeRules(document, source, store, options, err);
  result.messages = err.str();
  return result;
}

}  // namespace tooltest
