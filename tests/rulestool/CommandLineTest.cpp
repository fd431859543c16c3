#include <gtest/gtest.h>

#include <sstream>

#include "rulestool/CommandLine.h"
#include "tests/rulestool/ToolRunner.h"

using kestrane::Command;
using kestrane::ParseCommandLine;
using namespace tooltest;

namespace {

std::optional<kestrane::CommandLine> parse(const std::vector<std::string>& args, std::string* messages = nullptr) {
  std::ostringstream err;
  auto line = ParseCommandLine(args, err);
  if (messages != nullptr) *messages = err.str();
  return line;
}

}  // namespace

TEST(CommandLine, SwitchGroupsSetDebugLevelAndNoChange) {
  auto line = parse({"-dd", "-n", "load", "rules.xml"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->command, Command::Load);
  EXPECT_EQ(line->debugLevel, 2);
  EXPECT_TRUE(line->noChange);
  EXPECT_EQ(line->filename, "rules.xml");
  EXPECT_FALSE(line->user);

  line = parse({"-", "-DnD", "Xml", "-", "bob"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->command, Command::Xml);
  EXPECT_EQ(line->debugLevel, 2);
  EXPECT_EQ(line->filename, "-");
  EXPECT_EQ(line->user, "bob");
}

TEST(CommandLine, WrongCommandLinesAskForTheUsageText) {
  std::string messages;
  EXPECT_FALSE(parse({"-x", "TEXT"}, &messages));
  EXPECT_EQ(messages, "Unrecognised switch 'x'\n");
  EXPECT_FALSE(parse({"TEXT", "a", "b", "c"}));
  EXPECT_FALSE(parse({"LOAD"}));
  EXPECT_FALSE(parse({"LOAD", "a", "b", "c"}));
  EXPECT_FALSE(parse({"DUMP"}));
  EXPECT_FALSE(parse({}));
  EXPECT_FALSE(parse({"-d"}));  // the last argument is always the command
  EXPECT_FALSE(parse({"-d", "-n"}));
  EXPECT_TRUE(parse({"text"}));
}

TEST(CommandLine, UserNamesBecomeRuleSources) {
  EXPECT_EQ(kestrane::UserToSource(std::nullopt), std::nullopt);
  EXPECT_EQ(kestrane::UserToSource("*"), "*");
  EXPECT_EQ(kestrane::UserToSource("bob"), "Mail/bob");
}

TEST(CommandLine, ProgramShowsUsageAndRefusesLongUserNames) {
  storetest::ScratchFolder folder;
  ToolResult result = runTool(folder.path(), {"-x", "TEXT"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, std::string("Unrecognised switch 'x'\n") + kUsage);
  EXPECT_EQ(result.out, "");

  result = runTool(folder.path(), {"LOAD"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, kUsage);

  result = runTool(folder.path(), {"TEXT", "-", std::string(1019, 'u')});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "User name is too long (at most 1018 characters)\n");
  result = runTool(folder.path(), {"TEXT", "-", std::string(1018, 'u')});
  EXPECT_EQ(result.exitCode, 0);
}
