#pragma once

#include <string>
#include <string_view>

namespace rulestore {

// A file written beside its target under a temporary name and put in place by
// a rename, so that a reader sees either the old file or the whole new one.
// The temporary file is removed unless it was committed.
class PendingFile {
public:
  explicit PendingFile(std::string targetPath);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary file (with the target's permissions if it exists).
  bool Create();
  bool Write(std::string_view bytes);
  // Flushes the contents to the disk and closes the file.
  bool Sync();
  // Renames the synced file to path (normally the target) and syncs the folder.
  bool CommitAs(const std::string& path);
  bool Commit() { return CommitAs(target_); }

private:
  void discard();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// Renames a file and syncs its folder, so that the rename survives a crash.
bool RenameDurably(const std::string& from, const std::string& to);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

}  // namespace rulestore
