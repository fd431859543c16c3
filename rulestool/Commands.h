#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "rulestool/CommandLine.h"

namespace kestrane {

// The whole program: the arguments after the program name in, the exit code
// out. Only LOAD's count line goes to out (besides dumps to standard output).
int RunKestrane(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int RunDump(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunLoad(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace kestrane
