// LOADs run at the same time against one store: writers take turns on the
// store's lock, and each merges into the result of the one before.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "rulestore/StoreLock.h"
#include "tests/rulestool/MergeFixture.h"
#include "tests/rulestool/ToolRunner.h"

using namespace storetest;
using namespace tooltest;
using Names = std::vector<std::string>;

namespace {

std::string userRulesXml(const std::string& user) {
  return rulesXml(ruleXml("rule of " + user, "Global=\"false\" Source=\"Mail/" + user + "\""));
}

// The stamp line of a store file.
std::string stampOf(const std::string& file) {
  const std::size_t at = file.find("\nstamp\t");
  return at == std::string::npos ? "<none>" : file.substr(at + 7, 16);
}

}  // namespace

// Eight LOADs for eight users start together, with a dump beside them, round
// after round: every LOAD succeeds, every user's rule is in the store at the
// end, and the two files belong to one save.
TEST(ConcurrentLoad, LoadsStartedTogetherKeepEveryUsersRules) {
  constexpr int kUsers = 8;
  constexpr int kRounds = 50;
  ScratchFolder folder(fastScratchBase());
  for (int user = 0; user < kUsers; ++user)
    writeFile(folder.file("u" + std::to_string(user) + ".xml"), userRulesXml("u" + std::to_string(user)));
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (const char* name : {"RULES.DAT", "CONDITNS.DAT"}) std::filesystem::remove(folder.file(name));
    ASSERT_TRUE(fillStore(folder.path(), {{"global", ""}}));
    std::vector<ToolProcess> loads;
    for (int user = 0; user < kUsers; ++user) {
      const std::string name = "u" + std::to_string(user);
      loads.push_back(startTool(folder.path(), {"LOAD", name + ".xml", name}, "", name));
    }
    ToolProcess dump = startTool(folder.path(), {"TEXT", "-", "*"}, "", "dump");
    for (ToolProcess& load : loads) {
      const ToolResult result = finishTool(load);
      EXPECT_EQ(result.exitCode, 0) << result.err;
      EXPECT_EQ(result.out, "1 rules to load\n");
    }
    EXPECT_EQ(finishTool(dump).exitCode, 0);
    for (int user = 0; user < kUsers; ++user) {
      const std::string name = "u" + std::to_string(user);
      EXPECT_EQ(loadedNames(folder.path(), ("Mail/" + name).c_str()), Names{"rule of " + name});
    }
    EXPECT_EQ(loadedNames(folder.path(), nullptr), Names{"global"});
    EXPECT_EQ(stampOf(readFile(folder.file("RULES.DAT"))), stampOf(readFile(folder.file("CONDITNS.DAT"))));
    EXPECT_EQ(snapshot(folder.path()).size(), 3u + kUsers);  // the store, its lock file and the documents
    if (HasFailure()) break;
  }
}

TEST(ConcurrentLoad, SecondLoadWaitsForTheHolderThenMergesIntoItsResult) {
  ScratchFolder folder(fastScratchBase());
  ASSERT_TRUE(fillStore(folder.path(), {{"global", ""}}));
  writeFile(folder.file("bob.xml"), userRulesXml("bob"));
  auto holder = std::make_unique<CKillFile>();
  ASSERT_EQ(holder->LockStore(folder.path().c_str(), std::chrono::seconds(1)), rulestore::StoreLock::Result::Held);
  ASSERT_TRUE(holder->LoadData(folder.path().c_str(), true, "Mail/ann"));
  ToolProcess load = startTool(folder.path(), {"LOAD", "bob.xml", "bob"});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(toolRunning(load));
  EXPECT_EQ(loadedNames(folder.path(), "Mail/bob"), Names{});
  holder->Add(makeRule({"rule of ann", "Mail/ann"}));
  ASSERT_TRUE(holder->SaveData(true));
  holder.reset();  // lets go of the lock
  const ToolResult result = finishTool(load);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"global", "rule of ann", "rule of bob"}));
}

TEST(ConcurrentLoad, LoadGivesUpWhenTheStoreStaysLocked) {
  ScratchFolder folder(fastScratchBase());
  ASSERT_TRUE(fillStore(folder.path(), {{"global", ""}}));
  writeFile(folder.file("bob.xml"), userRulesXml("bob"));
  const auto before = snapshot(folder.path());
  rulestore::StoreLock holder;
  ASSERT_EQ(holder.Acquire(folder.path(), std::chrono::seconds(1)), rulestore::StoreLock::Result::Held);
  std::optional<kestrane::CommandLine> line = kestrane::ParseCommandLine({"-n", "LOAD", "bob.xml", "bob"}, std::cerr);
  ASSERT_TRUE(line);
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  std::ostringstream out, err;
  const auto start = std::chrono::steady_clock::now();
  const int code = kestrane::RunLoad(*line, out, err, std::chrono::milliseconds(200));
  const auto waited = std::chrono::steady_clock::now() - start;
  std::filesystem::current_path(cwd);
  EXPECT_EQ(code, 5);
  EXPECT_EQ(out.str(), "1 rules to load\n");
  EXPECT_EQ(err.str(), "Another LOAD holds the rules store; gave up waiting for it\nError saving rules\n");
  EXPECT_GE(waited, std::chrono::milliseconds(200));
  EXPECT_LT(waited, std::chrono::seconds(5));
  EXPECT_EQ(snapshot(folder.path()), before);
}
