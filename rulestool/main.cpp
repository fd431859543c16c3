#include <iostream>
#include <string>
#include <vector>

#include "rulestool/Commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return kestrane::RunKestrane(args, std::cout, std::cerr);
}
