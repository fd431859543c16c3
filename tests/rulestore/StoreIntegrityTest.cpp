#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "rulestore/CKillFile.h"
#include "rulestore/RecordCodec.h"
#include "tests/rulestore/StoreFixtures.h"

using namespace storetest;
using Names = std::vector<std::string>;

namespace {

// A valid two-rule store whose files the tests then damage.
class StoreIntegrity : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fillStore(folder.path(), {{"one", "", 1, {{"Subject", 1}}}, {"two", "Mail/bob", 2, {{"From", 3}}}}));
    rules = readFile(folder.file("RULES.DAT"));
    conditions = readFile(folder.file("CONDITNS.DAT"));
  }

  // The damaged store must be refused and left exactly as it is.
  void expectRefusedUntouched() {
    auto before = snapshot(folder.path());
    CKillFile store;
    EXPECT_FALSE(store.LoadData(folder.path().c_str(), true, "*"));
    EXPECT_FALSE(store.SaveData(false));
    EXPECT_EQ(snapshot(folder.path()), before);
  }

  // Rewrites a file with a correct end line over the given body.
  static std::string reframe(const std::string& body, int count) {
    return body + "end\t" + std::to_string(count) + "\t" + crcText(body) + "\n";
  }
  static std::string crcText(const std::string& body) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", rulestore::Crc32(body));
    return text;
  }
  static std::string bodyOf(const std::string& file) { return file.substr(0, file.rfind("end\t")); }

  ScratchFolder folder;
  std::string rules, conditions;
};

}  // namespace

TEST_F(StoreIntegrity, TruncatedFilesAreRefused) {
  for (std::size_t cut : {std::size_t{0}, std::size_t{5}, rules.size() / 2, rules.size() - 1}) {
    writeFile(folder.file("RULES.DAT"), rules.substr(0, cut));
    expectRefusedUntouched();
  }
  writeFile(folder.file("RULES.DAT"), rules);
  // Cut exactly at a line end: only the missing end line tells.
  writeFile(folder.file("CONDITNS.DAT"), bodyOf(conditions));
  expectRefusedUntouched();
}

TEST_F(StoreIntegrity, DamagedContentsAreRefused) {
  std::string flipped = rules;
  flipped[flipped.find("two")] = 'T';  // the checksum no longer fits
  writeFile(folder.file("RULES.DAT"), flipped);
  expectRefusedUntouched();

  std::string body = bodyOf(rules);
  writeFile(folder.file("RULES.DAT"), reframe(body, 3));  // wrong record count
  expectRefusedUntouched();
  writeFile(folder.file("RULES.DAT"), rules + "trailing\n");
  expectRefusedUntouched();
  std::string otherVersion = body;
  otherVersion.replace(otherVersion.find("\t1\n"), 3, "\t2\n");
  writeFile(folder.file("RULES.DAT"), reframe(otherVersion, 2));
  expectRefusedUntouched();
  std::string badFlag = body;
  badFlag.replace(badFlag.rfind("\t1\n"), 3, "\t7\n");
  writeFile(folder.file("RULES.DAT"), reframe(badFlag, 2));
  expectRefusedUntouched();
}

TEST_F(StoreIntegrity, ConditionsMustBelongToTheRules) {
  std::string body = bodyOf(conditions);
  writeFile(folder.file("CONDITNS.DAT"), reframe(body + "header\t2\tX\t1\tp\n", 3));  // no third rule
  expectRefusedUntouched();
  // A conditions file of another save.
  ScratchFolder other;
  ASSERT_TRUE(fillStore(other.path(), {{"one", "", 1, {{"Subject", 1}}}, {"two", "Mail/bob", 2, {{"From", 3}}}}));
  writeFile(folder.file("CONDITNS.DAT"), readFile(other.file("CONDITNS.DAT")));
  expectRefusedUntouched();
}

TEST_F(StoreIntegrity, OneFileAloneOrAnUnreadableFileIsRefused) {
  std::filesystem::remove(folder.file("CONDITNS.DAT"));
  expectRefusedUntouched();
  writeFile(folder.file("CONDITNS.DAT"), conditions);
  std::filesystem::remove(folder.file("RULES.DAT"));
  expectRefusedUntouched();
  std::filesystem::create_directory(folder.file("RULES.DAT"));
  expectRefusedUntouched();
  // A FIFO is refused at once, not waited on for a writer.
  std::filesystem::remove(folder.file("RULES.DAT"));
  ASSERT_EQ(::mkfifo(folder.file("RULES.DAT").c_str(), 0600), 0);
  expectRefusedUntouched();
}

// The pair is renamed one file at a time; a store read after a crash at any
// point holds the old or the new rules.
TEST_F(StoreIntegrity, CrashBetweenTheRenamesKeepsOneWholeStore) {
  const std::string oldRules = rules;
  {
    CKillFile store;
    ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
    store.Add(makeRule({"three", ""}));
    ASSERT_TRUE(store.SaveData(false));
  }
  const std::string newRules = readFile(folder.file("RULES.DAT"));
  const std::string newConditions = readFile(folder.file("CONDITNS.DAT"));
  const std::string newStamp = newRules.substr(newRules.find("stamp\t") + 6, 16);
  // The save's own pending name, and the one name that earlier saves shared.
  for (const std::string& pending : {"RULES.DAT.new-" + newStamp, std::string("RULES.DAT.new")}) {
    SCOPED_TRACE(pending);
    // Cut off before the conditions were renamed: the old pair holds.
    writeFile(folder.file("RULES.DAT"), oldRules);
    writeFile(folder.file("CONDITNS.DAT"), conditions);
    writeFile(folder.file(pending), newRules);
    EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"one", "two"}));

    // Cut off after the conditions were renamed: the new rules hold.
    writeFile(folder.file("CONDITNS.DAT"), newConditions);
    EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"one", "two", "three"}));

    // The next save supersedes the cut-off one and stays whole.
    {
      CKillFile store;
      ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "Mail/bob"));
      store.Add(makeRule({"four", "Mail/bob"}));
      ASSERT_TRUE(store.SaveData(true));
    }
    EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"one", "two", "four", "three"}));
    // No pending or temporary file is left behind; the lock file stays.
    auto files = snapshot(folder.path());
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(files.count("RULES.LCK"), 1u);
  }
}
