#include <gtest/gtest.h>

#include "rulestore/CKillFile.h"
#include "rulestore/RecordCodec.h"
#include "tests/rulestore/StoreFixtures.h"

using namespace storetest;

namespace {

// Every byte but NUL, and the characters the file format itself uses.
std::string oddBytes() {
  std::string text = "a,b\t%25\n\r;=\"<";
  for (int c = 1; c < 256; ++c) text += static_cast<char>(c);
  return text;
}

}  // namespace

TEST(StringSet, AddListAndAsStringAreInverse) {
  for (const char* list : {"", "a", "a,b", "a,,b", ",", "a,", "x,x,x"}) {
    CStringSet set;
    set.AddList(list, ',');
    EXPECT_EQ(set.AsString(','), list);
  }
  CStringSet set;
  set.AddList("a,b", ',');
  set.Empty();
  EXPECT_TRUE(set.Items().empty());
}

TEST(StoreRoundTrip, EmptyFolderHoldsAnEmptyStore) {
  ScratchFolder folder;
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
  EXPECT_FALSE(store.GetHeadPosition());
  ASSERT_TRUE(store.SaveData(false));
  EXPECT_EQ(loadedNames(folder.path(), "*"), std::vector<std::string>{});
}

TEST(StoreRoundTrip, OneStoreSavesAgainAfterEachChange) {
  ScratchFolder folder;
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
  store.Add(makeRule({"first", "Mail/ann"}));
  ASSERT_TRUE(store.SaveData(false));
  Position pos = store.GetHeadPosition();
  store.GetNext(pos)->SetName("first renamed");
  store.Add(makeRule({"second", ""}));
  ASSERT_TRUE(store.SaveData(false));
  EXPECT_EQ(loadedNames(folder.path(), "*"), (std::vector<std::string>{"first renamed", "second"}));
  store.Add(makeRule({"third", "Mail/ann"}));
  ASSERT_TRUE(store.SaveData(false));
  EXPECT_EQ(loadedNames(folder.path(), "*"), (std::vector<std::string>{"first renamed", "second", "third"}));
}

TEST(StoreRoundTrip, EveryFieldSurvivesSaveAndLoad) {
  ScratchFolder folder;
  const std::string odd = oddBytes();
  {
    CKillFile store;
    ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
    auto rule = CRuleDefinition::NewRule(("svc" + odd).c_str(), ("src" + odd).c_str(), false, 0);
    rule->SetName(odd.c_str());
    rule->Enabled = false;
    rule->Action = -7;
    rule->Destination.AddList("x,,y%,", ',');
    rule->Forward.Add("");  // one empty text is not an empty set
    rule->Reply.Add(odd);
    rule->Or = rule->Not = rule->Last = true;
    rule->Headers.Add(CHeaderRule::NewRule(odd.c_str(), 10, ("p" + odd).c_str()));
    rule->Headers.Add(CHeaderRule::NewRule("", 2147483647, ""));
    store.Add(std::move(rule));
    ASSERT_TRUE(store.SaveData(false));
  }
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
  Position pos = store.GetHeadPosition();
  CRuleDefinition* rule = store.GetNext(pos);
  ASSERT_NE(rule, nullptr);
  EXPECT_FALSE(pos);
  EXPECT_TRUE(rule->LoadRule(true));
  EXPECT_EQ(rule->GetName(), odd);
  EXPECT_EQ(rule->GetService(), "svc" + odd);
  EXPECT_EQ(rule->GetSource(), "src" + odd);
  EXPECT_FALSE(rule->Enabled);
  EXPECT_FALSE(rule->Global);
  EXPECT_EQ(rule->Action, -7);
  EXPECT_EQ(rule->Destination.AsString(','), "x,,y%,");
  EXPECT_EQ(rule->Forward.Items(), std::vector<std::string>{""});
  EXPECT_EQ(rule->Reply.Items(), std::vector<std::string>{odd});
  EXPECT_TRUE(rule->Or && rule->Not && rule->Last);
  Position headerPos = rule->Headers.GetHeadPosition();
  CHeaderRule* first = rule->Headers.GetNext(headerPos);
  CHeaderRule* second = rule->Headers.GetNext(headerPos);
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(headerPos);
  EXPECT_EQ(first->Header(), odd);
  EXPECT_EQ(first->MatchType(), 10);
  EXPECT_EQ(first->Pattern(), "p" + odd);
  EXPECT_STREQ(second->Header(), "");
  EXPECT_EQ(second->MatchType(), 2147483647);
}

TEST(StoreRoundTrip, EscapedFieldsHoldNoStructuralBytes) {
  std::string escaped = rulestore::EscapeField(oddBytes());
  EXPECT_EQ(escaped.find_first_of("\t\n\r,"), std::string::npos);
  std::string back;
  ASSERT_TRUE(rulestore::UnescapeField(escaped, back));
  EXPECT_EQ(back, oddBytes());
  for (const char* bad : {"%", "%4", "%G0", "%00"}) EXPECT_FALSE(rulestore::UnescapeField(bad, back)) << bad;
}
