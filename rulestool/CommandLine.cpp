#include "rulestool/CommandLine.h"

#include "rulestool/Messages.h"
#include "rulestool/RuleKeywords.h"

namespace kestrane {

namespace {

constexpr const char* kUsageLines[] = {
    "Usage :-",
    "Kestrane XML [<filename> [<username>]]",
    "  dumps rules in XML format to stdout",
    "Kestrane TEXT [<filename> [<username>]]",
    "  dumps rules in text format to stdout",
    "Kestrane -ndddd LOAD <filename> [<username>]",
    "  loads rules in XML format from <filename>",
    "  *** Back up RULES.* and CONDITNS.* before doing this ***",
    "  -d turns on debugging output (more d's, more output)",
    "  -n prevents your live Zelvo rules being changed",
    "  *** Back up RULES.* and CONDITNS.* even with -n ***",
    "If username not supplied, only global rules are processed",
    "If username is \"*\", all rules are processed",
    "If filename is \"-\" then stdout is used for output",
};

// Applies one switch group ("-ddn"); false after an unrecognised letter.
bool applySwitches(const std::string& group, CommandLine& line, std::ostream& err) {
  for (std::size_t i = 1; i < group.size(); ++i) {
    char letter = group[i];
    if (letter == 'd' || letter == 'D') {
      ++line.debugLevel;
    } else if (letter == 'n' || letter == 'N') {
      line.noChange = true;
    } else {
      Message(err, std::string("Unrecognised switch '") + letter + "'");
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::ostream& err) {
  CommandLine line;
  std::size_t next = 0;
  // A group is only taken while an argument would be left for the command.
  while (next + 1 < args.size() && !args[next].empty() && args[next][0] == '-') {
    if (!applySwitches(args[next], line, err)) return std::nullopt;
    ++next;
  }
  if (next >= args.size()) return std::nullopt;
  const std::string& command = args[next++];
  std::size_t rest = args.size() - next;
  if (EqualsNoCase(command, "TEXT") && rest <= 2) {
    line.command = Command::Text;
  } else if (EqualsNoCase(command, "XML") && rest <= 2) {
    line.command = Command::Xml;
  } else if (EqualsNoCase(command, "LOAD") && rest >= 1 && rest <= 2) {
    line.command = Command::Load;
  } else {
    return std::nullopt;
  }
  if (rest >= 1) line.filename = args[next];
  if (rest >= 2) line.user = args[next + 1];
  return line;
}

void WriteUsage(std::ostream& err) {
  for (const char* usageLine : kUsageLines) Message(err, usageLine);
}

std::optional<std::string> UserToSource(const std::optional<std::string>& user) {
  if (!user || *user == "*") return user;
  return "Mail/" + *user;
}

}  // namespace kestrane
