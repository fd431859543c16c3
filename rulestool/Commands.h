#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "rulestool/CommandLine.h"
#include "rulestore/StoreLock.h"

namespace kestrane {

// The whole program: the arguments after the program name in, the exit code
// out. Only LOAD's count line goes to out (besides dumps to standard output).
int RunKestrane(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int RunDump(const CommandLine& line, std::ostream& out, std::ostream& err);
// LOAD waits at most lockWait for another writer of the store to finish.
int RunLoad(const CommandLine& line, std::ostream& out, std::ostream& err,
            std::chrono::milliseconds lockWait = rulestore::kStoreLockWait);

}  // namespace kestrane
