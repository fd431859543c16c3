#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

#include "rulestool/Commands.h"
#include "rulestore/StoreGlobals.h"
#include "tests/rulestool/MergeFixture.h"
#include "tests/rulestool/SystemCallFaults.h"
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

TEST(LoadCommand, LockFileInTheWayGivesSaveError) {
  ScratchFolder folder;
  writeFile(folder.file("in.xml"), rulesXml(ruleXml("new")));
  std::filesystem::create_directory(folder.file("RULES.LCK"));
  ToolResult result = runTool(folder.path(), {"LOAD", "in.xml"});
  EXPECT_EQ(result.exitCode, 5);
  EXPECT_EQ(result.err, "Cannot lock the rules store (RULES.LCK)\nError saving rules\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("RULES.DAT")));
  EXPECT_FALSE(std::filesystem::exists(folder.file("CONDITNS.DAT")));
}

// Each of the save's five syncs (two files, then the folder after each of
// three renames) must succeed for the save to be reported; the store reads
// whole, as the old or the new rules, whichever failed.
TEST(LoadCommand, EverySyncOfTheSaveMustSucceed) {
  for (int failing = 1; failing <= 6; ++failing) {
    SCOPED_TRACE(failing);
    ScratchFolder folder(fastScratchBase());
    ASSERT_TRUE(fillStore(folder.path(), {{"old", ""}}));
    writeFile(folder.file("in.xml"), rulesXml(ruleXml("new")));
    FailNthSync(failing);
    ToolResult result = runInProcess(folder.path(), {"LOAD", "in.xml"});
    const int syncs = SyncsSinceArmed();
    FailNthSync(0);
    const std::vector<std::string> names = loadedNames(folder.path(), nullptr);
    if (failing <= 5) {
      EXPECT_EQ(result.exitCode, 5);
      EXPECT_EQ(result.err, "Error saving rules\n");
      EXPECT_TRUE(names == std::vector<std::string>{"old"} || names == std::vector<std::string>{"new"});
    } else {
      EXPECT_EQ(syncs, 5);  // there is no sixth to fail
      EXPECT_EQ(result.exitCode, 0) << result.err;
      EXPECT_EQ(names, std::vector<std::string>{"new"});
    }
  }
}

// A folder, a FIFO with no writer or a file over the size limit is refused
// at once, without reading it.
TEST(LoadCommand, OnlyRegularFilesWithinTheLimitAreRead) {
  ScratchFolder folder(fastScratchBase());
  ASSERT_TRUE(fillStore(folder.path(), {{"g", ""}}));
  std::filesystem::create_directory(folder.file("folder.xml"));
  ASSERT_EQ(::mkfifo(folder.file("fifo.xml").c_str(), 0600), 0);
  {
    const int fd = ::open(folder.file("huge.xml").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kestrane::kMaxDocumentBytes + 1)), 0);  // sparse
    ::close(fd);
  }
  const std::string storeBefore = readFile(folder.file("RULES.DAT")) + readFile(folder.file("CONDITNS.DAT"));
  struct Case {
    const char* file;
    const char* message;
  } cases[] = {
      {"folder.xml", "Failed to read 'folder.xml': not a regular file\n"},
      {".", "Failed to read '.': not a regular file\n"},
      {"fifo.xml", "Failed to read 'fifo.xml': not a regular file\n"},
      {"huge.xml", "Failed to read 'huge.xml': larger than 64 MiB\n"},
  };
  for (const Case& c : cases) {
    ToolResult result = runTool(folder.path(), {"LOAD", c.file, "*"}, "", /*limitSeconds=*/10);
    EXPECT_EQ(result.exitCode, 3) << c.file;
    EXPECT_EQ(result.err, c.message);
    EXPECT_EQ(result.out, "");
  }
  // At the limit the file is read (and refused as a document: it is all NUL).
  ASSERT_EQ(::truncate(folder.file("huge.xml").c_str(), static_cast<off_t>(kestrane::kMaxDocumentBytes)), 0);
  ToolResult result = runTool(folder.path(), {"LOAD", "huge.xml", "*"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.err.find("Failed to read"), std::string::npos) << result.err;
  EXPECT_EQ(readFile(folder.file("RULES.DAT")) + readFile(folder.file("CONDITNS.DAT")), storeBefore);
}

// The text checked for its nesting is the text parsed: the file is opened
// and read once, so a file replaced meanwhile cannot slip past the check.
TEST(LoadCommand, ReadsTheDocumentFileOnce) {
  ScratchFolder folder;
  writeFile(folder.file("in.xml"), rulesXml(ruleXml("g")));
  TiXmlDocument document;
  std::string error;
  CountOpensOf(folder.file("in.xml"));
  EXPECT_TRUE(kestrane::LoadRulesDocument(folder.file("in.xml"), document, error)) << error;
  EXPECT_EQ(OpensCounted(), 1);
  CountOpensOf("");
  // Line ends are read as the XML reader reads them from a file.
  writeFile(folder.file("in.xml"), "<OrvelleMessageRules>\r\n<Rule Name=\"a\rb\r\nc\"/></OrvelleMessageRules>");
  ASSERT_TRUE(kestrane::LoadRulesDocument(folder.file("in.xml"), document, error)) << error;
  EXPECT_STREQ(document.FirstChildElement()->FirstChildElement()->Attribute("Name"), "a\nb\nc");
}

// No stored text holds NUL, so a value with one cannot be stored as written.
TEST(LoadCommand, ValueHoldingNulRefusesTheDocument) {
  ScratchFolder folder;
  ASSERT_TRUE(fillStore(folder.path(), {{"g", ""}}));
  writeFile(folder.file("name.xml"), rulesXml(ruleXml("ok") + ruleXml("a&#x00;b")));
  writeFile(folder.file("pattern.xml"),
            rulesXml(ruleXml("p", "Global=\"true\" Source=\"\"",
                             "<Header Header=\"Subject\" MatchType=\"Containing\" Pattern=\"x&#0;\"/>")));
  const auto before = snapshot(folder.path());
  ToolResult result = runTool(folder.path(), {"LOAD", "name.xml"});
  EXPECT_EQ(result.exitCode, 6);
  EXPECT_EQ(result.err,
            "Invalid value 'a&#x00;b' supplied for Name in Rule a: a value cannot hold NUL\n"
            "The rules file has errors; no rules were loaded\n");
  result = runTool(folder.path(), {"LOAD", "pattern.xml"});
  EXPECT_EQ(result.exitCode, 6);
  EXPECT_EQ(result.err,
            "Invalid value 'x&#x00;' supplied for Pattern in Header Subject: a value cannot hold NUL\n"
            "The rules file has errors; no rules were loaded\n");
  EXPECT_EQ(snapshot(folder.path()), before);
}

TEST(LoadCommand, TellsTheStoreWhoseRulesAreMerged) {
  ScratchFolder folder;
  writeFile(folder.file("in.xml"), rulesXml(ruleXml("b", "Global=\"false\"")));
  ToolResult result = runInProcess(folder.path(), {"LOAD", "in.xml", "bob"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(CurrentStoreGlobals().user, "Mail/bob");
  EXPECT_FALSE(CurrentStoreGlobals().allUsers);
  ResetStoreGlobals();
}
