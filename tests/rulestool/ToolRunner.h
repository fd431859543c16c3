#pragma once

// Runs the kestrane program as a process in a folder and captures its
// streams and exit code.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "rulestool/Commands.h"
#include "tests/rulestore/StoreFixtures.h"

namespace tooltest {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// A kestrane process started in a folder; its streams go to files named after
// `name` in that folder (standard output to `stdoutPath` when given).
struct ToolProcess {
  pid_t pid = -1;
  std::string outPath;
  std::string errPath;
  bool captureOut = true;
};

inline ToolProcess startTool(const std::string& folder, const std::vector<std::string>& args,
                             const std::string& stdoutPath = "", const std::string& name = "") {
  const std::string program = PAGEWELL_BIN_DIR "/kestrane";
  ToolProcess process;
  process.captureOut = stdoutPath.empty();
  process.outPath = process.captureOut ? folder + "/.stdout" + name : stdoutPath;
  process.errPath = folder + "/.stderr" + name;
  process.pid = ::fork();
  if (process.pid == 0) {
    int out = ::open(process.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(process.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  return process;
}

// Whether the process is still running.
inline bool toolRunning(const ToolProcess& process) {
  siginfo_t info{};
  return process.pid > 0 && ::waitid(P_PID, static_cast<id_t>(process.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

// Waits for the process; one that runs longer than `limitSeconds` is killed
// and reported with exit code -1.
inline ToolResult finishTool(ToolProcess& process, int limitSeconds = 60) {
  ToolResult result;
  int status = 0;
  pid_t ended = 0;
  for (int waited = 0; process.pid > 0 && (ended = ::waitpid(process.pid, &status, WNOHANG)) == 0; ++waited) {
    if (waited >= limitSeconds * 1000) {
      ::kill(process.pid, SIGKILL);
      ::waitpid(process.pid, &status, 0);
      ended = -1;
      break;
    }
    ::usleep(1000);
  }
  if (ended == process.pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  process.pid = -1;
  if (process.captureOut) {
    result.out = storetest::readFile(process.outPath);
    ::unlink(process.outPath.c_str());
  }
  result.err = storetest::readFile(process.errPath);
  ::unlink(process.errPath.c_str());
  return result;
}

inline ToolResult runTool(const std::string& folder, const std::vector<std::string>& args,
                          const std::string& stdoutPath = "", int limitSeconds = 60) {
  ToolProcess process = startTool(folder, args, stdoutPath);
  return finishTool(process, limitSeconds);
}

// Runs the program's logic in this process, in folder: for tests that inject
// faults into this process's system calls or hold the store's lock here.
inline ToolResult runInProcess(const std::string& folder, const std::vector<std::string>& args) {
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::ostringstream out, err;
  ToolResult result;
  result.exitCode = kestrane::RunKestrane(args, out, err);
  std::filesystem::current_path(cwd);
  result.out = out.str();
  result.err = err.str();
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
