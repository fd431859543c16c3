#include <gtest/gtest.h>

#include "rulestool/RuleDump.h"
#include "tests/rulestool/MergeFixture.h"

using namespace storetest;
using namespace tooltest;
using Names = std::vector<std::string>;

namespace {

// The loaded rules' names and actions as "name:action".
Names namesAndActions(const std::string& folder, const char* source) {
  CKillFile store;
  Names names;
  if (!store.LoadData(folder.c_str(), true, source)) return {"<load failed>"};
  for (Position pos = store.GetHeadPosition(); pos;) {
    CRuleDefinition* rule = store.GetNext(pos);
    names.push_back(std::string(rule->GetName()) + ":" + std::to_string(rule->Action));
  }
  return names;
}

MergeResult mergeInto(const std::string& folder, const std::string& xml, const char* source,
                      kestrane::MergeOptions options = {}) {
  CKillFile store;
  EXPECT_TRUE(store.LoadData(folder.c_str(), true, source));
  MergeResult result = merge(xml, source, &store, options);
  EXPECT_TRUE(store.SaveData(true));
  return result;
}

}  // namespace

TEST(RuleMerge, AcceptedRulesReplaceByPositionAndLeftoversRetire) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"s1", ""}, {"s2", ""}, {"s3", ""}, {"s4", ""}, {"s5", ""}}));
  MergeResult result =
      mergeInto(folder.path(), rulesXml(ruleXml("n1") + ruleXml("n2") + ruleXml("n3")), nullptr, {1, false});
  EXPECT_EQ(result.count, 3);
  EXPECT_EQ(result.messages,
            "Replacing rule 's1' with 'n1'\nAdding header 'Subject', '1', 'x'\n"
            "Replacing rule 's2' with 'n2'\nAdding header 'Subject', '1', 'x'\n"
            "Replacing rule 's3' with 'n3'\nAdding header 'Subject', '1', 'x'\n"
            "Deleting old rule 's4'\nDeleting old rule 's5'\n");
  EXPECT_EQ(namesAndActions(folder.path(), nullptr), (Names{"n1:1", "n2:1", "n3:1", "s4:5", "s5:5"}));
}

TEST(RuleMerge, ExtraRulesAreCreatedWithTheirHeaders) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"old", "Mail/bob", 2, {{"From", 3}, {"To", 3}}}, {"g", ""}}));
  std::string xml =
      rulesXml(ruleXml("a", "Source=\"mail/BOB\" Global=\"no\" Destination=\"d1,d2\" Or=\"1\"") +
               ruleXml("b", "Global=\"false\"",
                       "<Header Header=\"From\" MatchType=\"equalto\" Pattern=\"p,q\"/><Header Header=\"To\" "
                       "MatchType=\"LessThan\" Pattern=\"\"/>"));
  MergeResult result = mergeInto(folder.path(), xml, "Mail/bob", {2, false});
  EXPECT_EQ(result.count, 2);
  EXPECT_EQ(result.messages,
            "Found rule 'a'\nReplacing rule 'old' with 'a'\nFound header 'Subject'\n"
            "Adding header 'Subject', '1', 'x'\n"
            "Found rule 'b'\nCreating new rule 'b'\nFound header 'From'\nAdding header 'From', '9', 'p,q'\n"
            "Found header 'To'\nAdding header 'To', '10', ''\nAdding rule 'b'\n");
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
  EXPECT_EQ(kestrane::TextDump(store),
            "Name=a\nEnabled=true\nGlobal=false\nService=mail\nSource=mail/BOB\nAction=KillAction\n"
            "Destination=d1,d2\nForward=\nReply=\nOr=true\nNot=false\nLast=false\n"
            "  Header=Subject\n  Match Type=Containing\n  Pattern=x\n"
            "Name=b\nEnabled=true\nGlobal=false\nService=mail\nSource=Mail/bob\nAction=KillAction\n"
            "Destination=\nForward=\nReply=\nOr=false\nNot=false\nLast=false\n"
            "  Header=From\n  Match Type=EqualTo\n  Pattern=p,q\n  Header=To\n  Match Type=LessThan\n  Pattern=\n"
            "Name=g\nEnabled=true\nGlobal=true\nService=mail\nSource=\nAction=KillAction\n"
            "Destination=\nForward=\nReply=\nOr=false\nNot=false\nLast=false\n");
}

TEST(RuleMerge, SourceFiltersTheDocumentsRules) {
  std::string xml = rulesXml(ruleXml("g1") + ruleXml("bob1", "Global=\"false\" Source=\"Mail/Bob\"") +
                             ruleXml("ann1", "Global=\"false\" Source=\"Mail/ann\"") +
                             ruleXml("bobGlobal", "Global=\"true\" Source=\"Mail/bob\""));
  MergeResult result = merge(xml, nullptr, nullptr);
  EXPECT_EQ(result.count, 2);
  EXPECT_EQ(result.messages, "Rule 'bob1' was not global\nRule 'ann1' was not global\n");
  result = merge(xml, "Mail/bob", nullptr);
  EXPECT_EQ(result.count, 1);
  EXPECT_EQ(result.messages,
            "Rule 'g1' was not for user Mail/bob\nRule 'ann1' was not for user Mail/bob\n"
            "Rule 'bobGlobal' was not for user Mail/bob\n");
  result = merge(xml, "*", nullptr);
  EXPECT_EQ(result.count, 4);
  EXPECT_EQ(result.messages, "");
  // Without a Global attribute a rule is global only when no source is given.
  EXPECT_EQ(merge(rulesXml(ruleXml("r", "Source=\"Mail/bob\"")), "Mail/bob", nullptr).count, 1);
  EXPECT_EQ(merge(rulesXml(ruleXml("r", "Source=\"\"")), nullptr, nullptr).count, 1);
}

TEST(RuleMerge, NoChangeReportsEverythingAndChangesNothing) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"s1", "", 1, {{"From", 3}}}, {"s2", ""}}));
  CKillFile before;
  ASSERT_TRUE(before.LoadData(folder.path().c_str(), true, "*"));
  const std::string dumped = kestrane::TextDump(before);
  MergeResult result =
      mergeInto(folder.path(), rulesXml(ruleXml("n1") + ruleXml("n2") + ruleXml("n3")), nullptr, {1, true});
  EXPECT_EQ(result.count, 3);
  EXPECT_EQ(result.messages,
            "Replacing rule 's1' with 'n1'\nAdding header 'Subject', '1', 'x'\n"
            "Replacing rule 's2' with 'n2'\nAdding header 'Subject', '1', 'x'\n"
            "Creating new rule 'n3'\nAdding header 'Subject', '1', 'x'\nAdding rule 'n3'\n");
  CKillFile after;
  ASSERT_TRUE(after.LoadData(folder.path().c_str(), true, "*"));
  EXPECT_EQ(kestrane::TextDump(after), dumped);
}

TEST(RuleMerge, DryRunCountsAndNotesRulesWithoutHeaders) {
  MergeResult result = merge(rulesXml(ruleXml("a", "Global=\"1\" Source=\"\"", "") + ruleXml("b")), nullptr, nullptr);
  EXPECT_EQ(result.count, 2);
  EXPECT_EQ(result.messages, "Rule a has no Header elements\n");
}
