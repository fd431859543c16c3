#include <gtest/gtest.h>

#include "tests/rulestool/MergeFixture.h"

using namespace storetest;
using namespace tooltest;

namespace {

// A dry run of one Rule element given whole.
MergeResult dryRun(const std::string& rule, const char* source = "*") { return merge(rulesXml(rule), source, nullptr); }

const char* const kHeader = "<Header Header=\"Subject\" MatchType=\"Containing\" Pattern=\"x\"/>";

std::string rule(const std::string& attributes, const std::string& body = kHeader) {
  return "<Rule " + attributes + ">" + body + "</Rule>";
}

}  // namespace

TEST(RuleValidation, EachRequiredRuleAttribute) {
  const std::string all = "Service=\"s\" Source=\"x\" Action=\"NoAction\" Last=\"true\"";
  EXPECT_EQ(dryRun(rule("Name=\"r\" " + all)).count, 1);

  MergeResult result = dryRun(rule(all));
  EXPECT_EQ(result.count, -1);
  EXPECT_EQ(result.messages, "No value supplied for Name in Rule (unknown)\n");

  struct Case {
    const char* attributes;
    const char* message;
  } cases[] = {
      {"Name=\"r\" Source=\"x\" Action=\"NoAction\" Last=\"true\"", "No value supplied for Service in Rule r\n"},
      {"Name=\"r\" Service=\"s\" Source=\"x\" Last=\"true\"", "No value supplied for Action in Rule r\n"},
      {"Name=\"r\" Service=\"s\" Source=\"x\" Action=\"NoAction\"", "No value supplied for Last in Rule r\n"},
      {"Name=\"r\" Service=\"s\" Source=\"x\" Action=\"NotLoaded\" Last=\"true\"",
       "Invalid value 'NotLoaded' supplied for Action in Rule r\n"},
      {"Name=\"r\" Service=\"s\" Source=\"x\" Action=\"Drop\" Last=\"true\"",
       "Invalid value 'Drop' supplied for Action in Rule r\n"},
      {"Name=\"r\" Service=\"s\" Source=\"x\" Action=\"NoAction\" Last=\"maybe\"",
       "Invalid value 'maybe' supplied for Last in Rule r\n"},
      {"Name=\"r\" Global=\"2\" Service=\"s\" Source=\"x\" Action=\"NoAction\" Last=\"true\"",
       "Invalid value '2' supplied for Global in Rule r\n"},
  };
  for (const Case& c : cases) {
    result = dryRun(rule(c.attributes));
    EXPECT_EQ(result.count, -1) << c.attributes;
    EXPECT_EQ(result.messages, std::string(c.message) + "Rule 'r' did not have all the required attributes\n");
  }
  // With no source there is no default source.
  result = dryRun(rule("Name=\"r\" Service=\"s\" Action=\"NoAction\" Last=\"true\""), nullptr);
  EXPECT_EQ(result.messages,
            "No value supplied for Source in Rule r\nRule 'r' did not have all the required attributes\n");
}

TEST(RuleValidation, InvalidOptionalBooleansAreReportedAndCountAsTrue) {
  ScratchFolder folder;
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
  MergeResult result = merge(rulesXml(rule("Name=\"r\" Enabled=\"off\" Or=\"Y\" Not=\"YES\" Service=\"s\" "
                                           "Source=\"x\" Action=\"getaction\" Last=\"No\"")),
                             "*", &store);
  EXPECT_EQ(result.count, 1);
  EXPECT_EQ(result.messages,
            "Invalid value 'off' supplied for Enabled in Rule r\n"
            "Invalid value 'Y' supplied for Or in Rule r\n");
  Position pos = store.GetHeadPosition();
  CRuleDefinition* merged = store.GetNext(pos);
  ASSERT_NE(merged, nullptr);
  EXPECT_TRUE(merged->Enabled && merged->Or && merged->Not);
  EXPECT_FALSE(merged->Last);
  EXPECT_EQ(merged->Action, 3);
}

TEST(RuleValidation, HeaderAttributes) {
  const std::string attributes = "Name=\"r\" Service=\"s\" Source=\"x\" Action=\"NoAction\" Last=\"1\"";
  struct Case {
    const char* header;
    const char* message;
  } cases[] = {
      {"<Header MatchType=\"Containing\" Pattern=\"p\"/>",
       "No value supplied for Header in Header (unknown)\nheader '?' did not have all the required attributes\n"},
      {"<Header Header=\"h\" Pattern=\"p\"/>",
       "No value supplied for MatchType in Header h\nheader 'h' did not have all the required attributes\n"},
      {"<Header Header=\"h\" MatchType=\"InvalidMatch\" Pattern=\"p\"/>",
       "Invalid value 'InvalidMatch' supplied for MatchType in Header h\n"
       "header 'h' did not have all the required attributes\n"},
      {"<Header Header=\"h\" MatchType=\"Disabled\"/>",
       "No value supplied for Pattern in Header h\nheader 'h' did not have all the required attributes\n"},
  };
  for (const Case& c : cases) {
    MergeResult result = dryRun(rule(attributes, c.header));
    EXPECT_EQ(result.count, -1) << c.header;
    EXPECT_EQ(result.messages, c.message);
  }
}

TEST(RuleValidation, WrongElements) {
  MergeResult result = merge("<Rules/>", "*", nullptr);
  EXPECT_EQ(result.count, -1);
  EXPECT_EQ(result.messages, "Element OrvelleMessageRules expected, element Rules found\n");
  result = merge("<?xml version=\"1.0\" ?>", "*", nullptr);
  EXPECT_EQ(result.messages, "Document has no data\n");
  result = dryRun("<Filter Name=\"f\"/>");
  EXPECT_EQ(result.messages, "Element Rule expected, element Filter found\n");
  result = dryRun(rule("Name=\"r\" Service=\"s\" Source=\"x\" Action=\"NoAction\" Last=\"1\"", "<Head/>"));
  EXPECT_EQ(result.messages, "Element Header expected, element Head found\n");
  // Tags and keywords ignore case.
  result = merge(
      "<orvellemessagerules><RULE Name=\"r\" Service=\"s\" Source=\"x\" Action=\"killaction\" "
      "Last=\"TRUE\"><header Header=\"h\" MatchType=\"CONTAINING\" Pattern=\"p\"/></RULE>"
      "</orvellemessagerules>",
      "*", nullptr);
  EXPECT_EQ(result.count, 1);
}

TEST(RuleValidation, DeeplyNestedDocumentsAreRefusedBeforeParsing) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  TiXmlDocument document;
  std::string error;
  EXPECT_FALSE(kestrane::ParseRulesDocument(deep, document, error));
  EXPECT_EQ(error, "Document is nested too deeply");
  // Self-closing elements, quoted ">" and "/>" and comments do not nest.
  std::string flat = "<r>";
  for (int i = 0; i < 1000; ++i) flat += "<e a=\"/>\" b='>'/><!-- <x> --><f></f>";
  EXPECT_EQ(kestrane::EstimateElementDepth(flat + "</r>"), 2);
}
