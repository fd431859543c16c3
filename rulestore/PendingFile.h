#pragma once

#include <string>
#include <string_view>

#include "platform/win/kernel/ReplacementFile.h"

namespace rulestore {

// A file written beside its target under a temporary name and put in place by
// a rename, so that a reader sees either the old file or the whole new one.
// The temporary file is removed unless it was committed. On top of the
// platform's replacement file, a commit also syncs the folder, so that the
// rename survives a crash.
class PendingFile {
 public:
  explicit PendingFile(std::string targetPath) : file_(std::move(targetPath)) {}

  // Creates the temporary file (with the target's permissions if it exists).
  bool Create() { return file_.create(); }
  bool Write(std::string_view bytes) { return file_.write(bytes); }
  // Flushes the contents to the disk and closes the file.
  bool Sync() { return file_.sync(); }
  // Renames the synced file to path (normally the target) and syncs the folder.
  bool CommitAs(const std::string& path);
  bool Commit() { return CommitAs(file_.target()); }

 private:
  win::ReplacementFile file_;
};

// Renames a file and syncs its folder, so that the rename survives a crash.
bool RenameDurably(const std::string& from, const std::string& to);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace rulestore
