#include <gtest/gtest.h>

#include <filesystem>

#include "rulestool/RuleDump.h"
#include "rulestool/XmlPrinter.h"
#include "tests/rulestool/ToolRunner.h"

using namespace storetest;
using namespace tooltest;

namespace {

// One user's rule with every field set, and a global rule without conditions.
void fillSample(const std::string& folder) {
  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.c_str(), true, "*"));
  auto rule = CRuleDefinition::NewRule("mail", "Mail/bob", false, 0);
  rule->SetName("Junk <\"Tom & Jerry's\">");
  rule->Action = 1;
  rule->Destination.AddList("junk,old", ',');
  rule->Reply.AddList("x@y", ',');
  rule->Or = rule->Last = true;
  rule->Headers.Add(CHeaderRule::NewRule("Subject", 1, "caf\xE9\t&#x41;"));
  rule->Headers.Add(CHeaderRule::NewRule("Size", 99, ">10"));
  store.Add(std::move(rule));
  auto global = CRuleDefinition::NewRule("news", "", true, 0);
  global->SetName("g");
  global->Enabled = false;
  global->Action = 9;
  store.Add(std::move(global));
  ASSERT_TRUE(store.SaveData(false));
}

std::string dump(const std::string& folder, const char* source, bool xml) {
  CKillFile store;
  if (!store.LoadData(folder.c_str(), true, source)) return "<load failed>";
  return xml ? kestrane::XmlDump(store) : kestrane::TextDump(store);
}

const char* const kSampleText =
    "Name=Junk <\"Tom & Jerry's\">\nEnabled=true\nGlobal=false\nService=mail\nSource=Mail/bob\n"
    "Action=KillAction\nDestination=junk,old\nForward=\nReply=x@y\nOr=true\nNot=false\nLast=true\n"
    "  Header=Subject\n  Match Type=Containing\n  Pattern=caf\xE9\t&#x41;\n"
    "  Header=Size\n  Match Type=InvalidMatch\n  Pattern=>10\n"
    "Name=g\nEnabled=false\nGlobal=true\nService=news\nSource=\nAction=InvalidAction\nDestination=\n"
    "Forward=\nReply=\nOr=false\nNot=false\nLast=false\n";

const char* const kSampleXml =
    "<?xml version=\"1.0\" standalone=\"no\" ?>\n"
    "<OrvelleMessageRules>\n"
    "    <Rule Name=\"Junk &lt;&quot;Tom &amp; Jerry&apos;s&quot;&gt;\" Enabled=\"true\" Global=\"false\" "
    "Service=\"mail\" Source=\"Mail/bob\" Action=\"KillAction\" Destination=\"junk,old\" Forward=\"\" "
    "Reply=\"x@y\" Or=\"true\" Not=\"false\" Last=\"true\">\n"
    "        <Header Header=\"Subject\" MatchType=\"Containing\" Pattern=\"caf&#xE9;&#x09;&#x41;\" />\n"
    "        <Header Header=\"Size\" MatchType=\"InvalidMatch\" Pattern=\"&gt;10\" />\n"
    "    </Rule>\n"
    "    <Rule Name=\"g\" Enabled=\"false\" Global=\"true\" Service=\"news\" Source=\"\" Action=\"InvalidAction\" "
    "Destination=\"\" Forward=\"\" Reply=\"\" Or=\"false\" Not=\"false\" Last=\"false\" />\n"
    "</OrvelleMessageRules>\n";

}  // namespace

TEST(RuleDump, TextAndXmlOfEveryField) {
  ScratchFolder folder;
  fillSample(folder.path());
  EXPECT_EQ(dump(folder.path(), "*", false), kSampleText);
  EXPECT_EQ(dump(folder.path(), "*", true), kSampleXml);
}

TEST(RuleDump, EmptyStoreGivesNothingOrAnEmptyRoot) {
  ScratchFolder folder;
  EXPECT_EQ(dump(folder.path(), nullptr, false), "");
  EXPECT_EQ(dump(folder.path(), nullptr, true),
            "<?xml version=\"1.0\" standalone=\"no\" ?>\n<OrvelleMessageRules />\n");
}

TEST(RuleDump, AttributeValuesEscapeMarkupAndOddBytes) {
  EXPECT_EQ(kestrane::EscapeAttributeValue("a&b&#x41;&#&x"), "a&amp;b&#x41;&amp;#&amp;x");
  EXPECT_EQ(kestrane::EscapeAttributeValue(std::string("\x01\x1F \x7E\x7F\x80\xFF", 7)),
            "&#x01;&#x1F; ~&#x7F;&#x80;&#xFF;");
}

TEST(RuleDump, ProgramWritesTheUsersRulesToStandardOutputOrAFile) {
  ScratchFolder folder;
  fillSample(folder.path());
  ToolResult result = runTool(folder.path(), {"XML", "-", "bob"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, dump(folder.path(), "Mail/bob", true));
  EXPECT_NE(result.out.find("Junk"), std::string::npos);

  result = runTool(folder.path(), {"text"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, dump(folder.path(), nullptr, false));

  result = runTool(folder.path(), {"TEXT", "out.txt", "*"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(readFile(folder.file("out.txt")), kSampleText);
}

TEST(RuleDump, ProgramFailuresLeaveTheOutputFileAlone) {
  ScratchFolder folder;
  ToolResult result = runTool(folder.path(), {"XML", "no/such/folder/out.xml"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.err, "Cannot create file 'no/such/folder/out.xml'\n");

  writeFile(folder.file("out.xml"), "precious");
  writeFile(folder.file("RULES.DAT"), "not a store");
  result = runTool(folder.path(), {"XML", "out.xml"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.err, "Cannot load rules file in current directory\n");
  EXPECT_EQ(readFile(folder.file("out.xml")), "precious");
  std::filesystem::remove(folder.file("RULES.DAT"));
  EXPECT_EQ(snapshot(folder.path()).size(), 1u);  // no temporary file left behind
}

// Standard output on a full disk or a closed pipe: every write fails.
TEST(RuleDump, FailedWriteToStandardOutputIsNoSuccess) {
  struct FailingBuffer : std::streambuf {
    int_type overflow(int_type) override { return traits_type::eof(); }
  } failing;
  ScratchFolder folder;
  fillSample(folder.path());
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  for (const char* command : {"TEXT", "XML"}) {
    std::ostream out(&failing);
    std::ostringstream err;
    EXPECT_EQ(kestrane::RunKestrane({command, "-", "*"}, out, err), 3) << command;
    EXPECT_EQ(err.str(), "Cannot create file '-'\n") << command;
  }
  std::filesystem::current_path(cwd);
}
