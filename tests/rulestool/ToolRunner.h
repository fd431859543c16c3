#pragma once

// Runs the kestrane program as a process in a folder and captures its
// streams and exit code.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/rulestore/StoreFixtures.h"

namespace tooltest {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Standard output goes to `stdoutPath` when given (e.g. /dev/full), else it is captured.
inline ToolResult runTool(const std::string& folder, const std::vector<std::string>& args,
                          const std::string& stdoutPath = "") {
  const std::string program = PAGEWELL_BIN_DIR "/kestrane";
  const std::string outPath = stdoutPath.empty() ? folder + "/.stdout" : stdoutPath;
  const std::string errPath = folder + "/.stderr";
  pid_t child = ::fork();
  if (child == 0) {
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ToolResult result;
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (stdoutPath.empty()) {
    result.out = storetest::readFile(outPath);
    ::unlink(outPath.c_str());
  }
  result.err = storetest::readFile(errPath);
  ::unlink(errPath.c_str());
  return result;
}

inline const char* const kUsage =
    "Usage :-\n"
    "Kestrane XML [<filename> [<username>]]\n"
    "  dumps rules in XML format to stdout\n"
    "Kestrane TEXT [<filename> [<username>]]\n"
    "  dumps rules in text format to stdout\n"
    "Kestrane -ndddd LOAD <filename> [<username>]\n"
    "  loads rules in XML format from <filename>\n"
    "  *** Back up RULES.* and CONDITNS.* before doing this ***\n"
    "  -d turns on debugging output (more d's, more output)\n"
    "  -n prevents your live Zelvo rules being changed\n"
    "  *** Back up RULES.* and CONDITNS.* even with -n ***\n"
    "If username not supplied, only global rules are processed\n"
    "If username is \"*\", all rules are processed\n"
    "If filename is \"-\" then stdout is used for output\n";

}  // namespace tooltest
