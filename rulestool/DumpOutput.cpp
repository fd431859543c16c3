#include "rulestool/DumpOutput.h"

#include <sys/stat.h>

namespace kestrane {

namespace {

// True when the name is free or names a regular file (not through a link).
bool replaceableByRename(const std::string& filename) {
  struct stat info {};
  if (::lstat(filename.c_str(), &info) != 0) return true;
  return S_ISREG(info.st_mode);
}

}  // namespace

DumpOutput::DumpOutput(const std::string* filename, std::ostream& standardOutput)
    : standardOutput_(standardOutput),
      filename_(filename != nullptr ? *filename : "-"),
      toStandardOutput_(filename == nullptr || *filename == "-") {}

bool DumpOutput::Open() {
  if (toStandardOutput_) return true;
  if (replaceableByRename(filename_)) {
    pending_ = std::make_unique<rulestore::PendingFile>(filename_);
    if (pending_->Create()) return true;
    // A folder that takes no new files may still hold a writable file.
    pending_.reset();
  }
  direct_.open(filename_, std::ios::out | std::ios::trunc);
  return direct_.is_open();
}

bool DumpOutput::Finish(const std::string& text) {
  if (toStandardOutput_) {
    standardOutput_ << text;
    standardOutput_.flush();
    return static_cast<bool>(standardOutput_);
  }
  if (pending_) return pending_->Write(text) && pending_->Sync() && pending_->Commit();
  direct_ << text;
  direct_.close();
  return !direct_.fail();
}

}  // namespace kestrane
