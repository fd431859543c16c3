#pragma once
// Writing a file whole or not at all: the bytes go to a new file beside the
// target under a temporary name, are flushed to the disk and then renamed over
// the target, so a reader sees either the old file or the whole new one. The
// one routine behind every whole-file write (class-library streams and string
// lists, surface snapshots, the rule store).
#include <cstddef>
#include <string>
#include <string_view>

namespace win {

// A temporary file beside its target. It is removed unless it was committed.
// It renames over whatever is at the path; writeFileWhole first makes sure
// that is a file (see replaceableTarget).
class ReplacementFile {
 public:
  explicit ReplacementFile(std::string targetPath);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file (with the target's permissions if it exists).
  bool create();
  bool write(std::string_view bytes);
  // Flushes the contents to the disk and closes the file.
  bool sync();
  // Renames the synced file to path (normally the target).
  bool commitAs(const std::string& path);
  bool commit() { return commitAs(target_); }
  const std::string& target() const { return target_; }

 private:
  void discard();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// Removes the temporary files that replacements of targetPath left behind
// when their process ended before finishing ("<target>.tmp<pid>-<n>" whose
// process is gone). Those of processes still running, this one included, stay.
void removeStaleReplacements(const std::string& targetPath);

// True when a replacement may be renamed over path: nothing is there, or a
// regular file, or a symbolic link (the link itself is replaced, never what it
// points to). A folder, device, FIFO or socket in its place is refused (errno
// EISDIR for a folder, EINVAL for the others); it is looked at, never opened.
bool replaceableTarget(const std::string& path);

// Creates, writes, syncs and commits a replacement file for path. False (and
// path untouched) on any failure, and when path is not replaceable.
bool writeFileWhole(const std::string& path, const void* data, std::size_t size);

}  // namespace win
