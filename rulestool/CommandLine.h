#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kestrane {

enum class Command { Text, Xml, Load };

struct CommandLine {
  Command command = Command::Text;
  int debugLevel = 0;
  bool noChange = false;
  std::optional<std::string> filename;
  std::optional<std::string> user;
};

// Exit codes of the tool.
enum ExitCode : int {
  kExitSuccess = 0,
  kExitUsage = 1,
  kExitCannotLoadStore = 2,
  kExitCannotCreateOrRead = 3,
  kExitNoRules = 4,
  kExitCannotSave = 5,
  kExitInvalidRules = 6,
};

// Reads the switch groups and the command from the arguments after the
// program name. Nothing when the usage text must be shown; an unrecognised
// switch has then been reported on err.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::ostream& err);

void WriteUsage(std::ostream& err);

// The longest user name that fits a rule source.
inline constexpr std::size_t kMaxUserNameLength = 1018;

// The rule source of a user: none stays none, "*" stays "*", any other name
// becomes "Mail/" + name.
std::optional<std::string> UserToSource(const std::optional<std::string>& user);

}  // namespace kestrane
