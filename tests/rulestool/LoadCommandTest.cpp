#include <gtest/gtest.h>

#include "rulestool/Commands.h"
#include "rulestore/StoreGlobals.h"
#include "tests/rulestool/MergeFixture.h"
#include "tests/rulestool/ToolRunner.h"

using namespace storetest;
using namespace tooltest;

TEST(LoadCommand, LoadsCountsAndSaves) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"old", "Mail/bob"}, {"g", ""}}));
  writeFile(folder.file("in.xml"),
            rulesXml(ruleXml("b1", "Global=\"false\"") + ruleXml("b2", "Global=\"false\"") + ruleXml("g")));
  ToolResult result = runTool(folder.path(), {"-d", "LOAD", "in.xml", "bob"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "2 rules to load\n");
  // Messages of the dry run and of the merge both appear.
  EXPECT_EQ(result.err,
            "Rule 'g' was not for user Mail/bob\n"
            "Replacing rule 'old' with 'b1'\nAdding header 'Subject', '1', 'x'\n"
            "Creating new rule 'b2'\nAdding header 'Subject', '1', 'x'\nAdding rule 'b2'\n"
            "Rule 'g' was not for user Mail/bob\n");
  EXPECT_EQ(loadedNames(folder.path(), "*"), (std::vector<std::string>{"b1", "b2", "g"}));
}

TEST(LoadCommand, DumpedRulesLoadBackByteForByte) {
  ScratchFolder folder;
  {
    CKillFile store;
    ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
    // Every byte survives except that a literal "&#x" stays unescaped and
    // reads back as a character reference.
    std::string odd = "a<>\"'&amp;&#\t\n\r  end";
    for (int c = 1; c < 256; ++c) odd += static_cast<char>(c);
    auto rule = CRuleDefinition::NewRule(odd.c_str(), "Mail/x", false, 0);
    rule->SetName(odd.c_str());
    rule->Destination.AddList("d1,,d3", ',');
    rule->Headers.Add(CHeaderRule::NewRule(odd.c_str(), 6, odd.c_str()));
    store.Add(std::move(rule));
    ASSERT_TRUE(store.SaveData(false));
  }
  ToolResult first = runTool(folder.path(), {"XML", "dump.xml", "*"});
  ASSERT_EQ(first.exitCode, 0);
  ToolResult load = runTool(folder.path(), {"LOAD", "dump.xml", "*"});
  ASSERT_EQ(load.exitCode, 0) << load.err;
  ToolResult second = runTool(folder.path(), {"XML", "-", "*"});
  EXPECT_EQ(second.out, readFile(folder.file("dump.xml")));
}

TEST(LoadCommand, FailuresLeaveTheStoreUntouched) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"g", ""}}));
  writeFile(folder.file("bad.xml"), rulesXml(ruleXml("ok") + "<Rule Name=\"broken\"/>"));
  writeFile(folder.file("none.xml"), rulesXml(ruleXml("theirs", "Global=\"false\" Source=\"Mail/ann\"")));
  writeFile(folder.file("empty.xml"), "");
  writeFile(folder.file("junk.xml"), "<OrvelleMessageRules><Rule");
  const auto before = snapshot(folder.path());

  ToolResult result = runTool(folder.path(), {"LOAD", "bad.xml"});
  EXPECT_EQ(result.exitCode, 6);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "No value supplied for Service in Rule broken\nNo value supplied for Source in Rule broken\n"
            "No value supplied for Action in Rule broken\n"
            "No value supplied for Last in Rule broken\n"
            "Rule 'broken' did not have all the required attributes\n"
            "The rules file has errors; no rules were loaded\n");
  result = runTool(folder.path(), {"LOAD", "none.xml"});
  EXPECT_EQ(result.exitCode, 4);
  EXPECT_EQ(result.err, "Rule 'theirs' was not global\nNo rules in source file\n");
  result = runTool(folder.path(), {"LOAD", "empty.xml"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.err, "\n");
  result = runTool(folder.path(), {"LOAD", "junk.xml"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err, "\n");
  result = runTool(folder.path(), {"LOAD", "missing.xml"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.err, "Failed to open file\n");
  EXPECT_EQ(snapshot(folder.path()), before);

  writeFile(folder.file("good.xml"), rulesXml(ruleXml("new")));
  writeFile(folder.file("CONDITNS.DAT"), "damaged");
  const auto damaged = snapshot(folder.path());
  result = runTool(folder.path(), {"LOAD", "good.xml"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "1 rules to load\n");
  EXPECT_EQ(result.err, "Cannot load rules file in current directory\n");
  EXPECT_EQ(snapshot(folder.path()), damaged);
}

TEST(LoadCommand, UnwritableFolderGivesSaveError) {
  ScratchFolder folder;
  writeFile(folder.file("in.xml"), rulesXml(ruleXml("new")));
  // A folder in the place of the pending rules file makes the save fail.
  std::filesystem::create_directory(folder.file("RULES.DAT.new"));
  writeFile(folder.file("RULES.DAT.new/keep"), "");
  ToolResult result = runTool(folder.path(), {"LOAD", "in.xml"});
  EXPECT_EQ(result.exitCode, 5);
  EXPECT_EQ(result.err, "Error saving rules\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("RULES.DAT")));
  EXPECT_FALSE(std::filesystem::exists(folder.file("CONDITNS.DAT")));
}

TEST(LoadCommand, TellsTheStoreWhoseRulesAreMerged) {
  ScratchFolder folder;
  writeFile(folder.file("in.xml"), rulesXml(ruleXml("b", "Global=\"false\"")));
  const std::string cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  std::ostringstream out, err;
  int code = kestrane::RunKestrane({"LOAD", "in.xml", "bob"}, out, err);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(code, 0) << err.str();
  EXPECT_EQ(CurrentStoreGlobals().user, "Mail/bob");
  EXPECT_FALSE(CurrentStoreGlobals().allUsers);
  ResetStoreGlobals();
}
