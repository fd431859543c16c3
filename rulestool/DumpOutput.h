#pragma once

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "rulestore/PendingFile.h"

namespace kestrane {

// Where a dump goes: standard output for no filename or "-", else the named
// file. A regular (or new) file is written whole or not at all: its old
// contents stay until the dump is complete. Other targets (devices, pipes,
// links), and files in folders where no temporary file can be made, are
// written directly.
class DumpOutput {
 public:
  DumpOutput(const std::string* filename, std::ostream& standardOutput);

  // Opens the target; false when it cannot be created.
  bool Open();
  // Writes the whole dump and closes the target; false when that failed
  // (standard output included: a full disk or a closed pipe is no success).
  bool Finish(const std::string& text);

 private:
  std::ostream& standardOutput_;
  std::string filename_;
  bool toStandardOutput_;
  std::unique_ptr<rulestore::PendingFile> pending_;
  std::ofstream direct_;
};

}  // namespace kestrane
