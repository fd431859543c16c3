#include <gtest/gtest.h>

#include <filesystem>

#include "rulestore/CKillFile.h"
#include "rulestore/RecordCodec.h"
#include "tests/rulestore/StoreFixtures.h"

using namespace storetest;

namespace {

const std::string kReference = std::string(PAGEWELL_TEST_DATA_DIR) + "/rulestore/reference/";

TEST(StoreFormat, CrcIsTheStandardCrc32) {
  EXPECT_EQ(rulestore::Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(rulestore::Crc32(""), 0u);
}

// The pair under tests/data was written by hand from FORMAT.md; the store
// must read it, so neither the layout nor the CRC can drift with the code.
TEST(StoreFormat, HandWrittenReferencePairLoads) {
  ScratchFolder folder;
  for (const char* name : {"RULES.DAT", "CONDITNS.DAT"}) writeFile(folder.file(name), readFile(kReference + name));
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), false, nullptr));
  std::vector<const CRuleDefinition*> rules;
  for (Position pos = store.GetHeadPosition(); pos;) rules.push_back(store.GetNext(pos));
  ASSERT_EQ(rules.size(), 2u);

  const CRuleDefinition& spam = *rules[0];
  EXPECT_STREQ(spam.GetName(), "Spam");
  EXPECT_STREQ(spam.GetService(), "mail");
  EXPECT_STREQ(spam.GetSource(), "alice");
  EXPECT_TRUE(spam.Enabled);
  EXPECT_FALSE(spam.Global);
  EXPECT_EQ(spam.Action, 2);
  EXPECT_EQ(spam.Destination.Items(), (std::vector<std::string>{"Junk"}));
  EXPECT_TRUE(spam.Last);
  ASSERT_EQ(spam.Headers.GetCount(), 2u);
  Position header = spam.Headers.GetHeadPosition();
  const CHeaderRule* subject = spam.Headers.GetNext(header);
  EXPECT_STREQ(subject->Header(), "Subject");
  EXPECT_EQ(subject->MatchType(), 1);
  EXPECT_STREQ(subject->Pattern(), "buy now");
  EXPECT_STREQ(spam.Headers.GetNext(header)->Pattern(), "\ttab");

  const CRuleDefinition& global = *rules[1];
  EXPECT_STREQ(global.GetName(), "100% off, today");
  EXPECT_STREQ(global.GetSource(), "");
  EXPECT_FALSE(global.Enabled);
  EXPECT_TRUE(global.Global);
  EXPECT_EQ(global.Action, 5);
  EXPECT_EQ(global.Destination.Items(), (std::vector<std::string>{"a,b", "c"}));
  EXPECT_EQ(global.Reply.Items(), (std::vector<std::string>{""}));
  EXPECT_TRUE(global.Or);
  EXPECT_TRUE(global.Not);
  EXPECT_FALSE(global.Last);
  ASSERT_EQ(global.Headers.GetCount(), 1u);
}

}  // namespace
