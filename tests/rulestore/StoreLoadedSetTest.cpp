#include <gtest/gtest.h>

#include "rulestore/CKillFile.h"
#include "tests/rulestore/StoreFixtures.h"

using namespace storetest;
using Names = std::vector<std::string>;

namespace {

// Globals and two users' rules, interleaved.
const std::vector<RuleFields> kMixedStore = {
    {"g1", ""}, {"bob1", "Mail/bob"}, {"ann1", "Mail/ann"}, {"g2", ""}, {"bob2", "MAIL/BOB"}, {"ann2", "Mail/ann"},
};

}  // namespace

TEST(StoreLoadedSet, SourceChoosesTheRulesItSees) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), kMixedStore));
  EXPECT_EQ(loadedNames(folder.path(), nullptr), (Names{"g1", "g2"}));
  EXPECT_EQ(loadedNames(folder.path(), ""), (Names{"g1", "g2"}));
  EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"g1", "bob1", "ann1", "g2", "bob2", "ann2"}));
  EXPECT_EQ(loadedNames(folder.path(), "mail/Bob"), (Names{"bob1", "bob2"}));
  EXPECT_EQ(loadedNames(folder.path(), "Mail/nobody"), Names{});
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), false, "Mail/bob"));
  int count = 0;
  for (Position pos = store.GetHeadPosition(); pos; store.GetNext(pos)) ++count;
  EXPECT_EQ(count, 6);
}

TEST(StoreLoadedSet, SavingOneUserKeepsOtherRulesWhereTheyWere) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), kMixedStore));
  {
    CKillFile store;
    ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "Mail/bob"));
    Position pos = store.GetHeadPosition();
    store.GetNext(pos)->SetName("bob1 renamed");
    store.GetNext(pos)->Action = 5;
    store.Add(makeRule({"bob3", "Mail/bob"}));
    store.Add(makeRule({"bob4", "Mail/bob"}));
    ASSERT_TRUE(store.SaveData(true));
  }
  EXPECT_EQ(loadedNames(folder.path(), "*"),
            (Names{"g1", "bob1 renamed", "ann1", "g2", "bob2", "bob3", "bob4", "ann2"}));
  // Whatever the flag, rules outside the loaded set stay.
  {
    CKillFile store;
    ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, nullptr));
    store.Add(makeRule({"g3", ""}));
    ASSERT_TRUE(store.SaveData(false));
  }
  EXPECT_EQ(loadedNames(folder.path(), "Mail/ann"), (Names{"ann1", "ann2"}));
  EXPECT_EQ(loadedNames(folder.path(), nullptr), (Names{"g1", "g2", "g3"}));
  EXPECT_EQ(loadedNames(folder.path(), "*"),
            (Names{"g1", "bob1 renamed", "ann1", "g2", "g3", "bob2", "bob3", "bob4", "ann2"}));
}

TEST(StoreLoadedSet, NewRulesOfAnEmptyLoadedSetGoLast) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"g1", ""}, {"ann1", "Mail/ann"}}));
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "Mail/carl"));
  store.Add(makeRule({"carl1", "Mail/carl"}));
  // An added rule joins the loaded set.
  Position pos = store.GetHeadPosition();
  EXPECT_STREQ(store.GetNext(pos)->GetName(), "carl1");
  ASSERT_TRUE(store.SaveData(true));
  EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"g1", "ann1", "carl1"}));
}

TEST(StoreLoadedSet, SaveWithoutALoadIsRefused) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"g1", ""}}));
  auto before = snapshot(folder.path());
  CKillFile store;
  EXPECT_FALSE(store.SaveData(false));
  writeFile(folder.file("CONDITNS.DAT"), "garbage");
  before = snapshot(folder.path());
  EXPECT_FALSE(store.LoadData(folder.path().c_str(), true, "*"));
  EXPECT_FALSE(store.SaveData(false));
  EXPECT_EQ(snapshot(folder.path()), before);
}
