#pragma once
// Reading and writing whole files. Reads take outside files only when they
// are regular files within the size limit of their kind, and opening never
// waits (a FIFO named by a page is refused, not waited on). Writes go to a
// temporary file in the same folder that is flushed and renamed over the
// target, so a file is written whole or not at all (win::ReplacementFile).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gui {

// What an outside file is read as; each kind has its own size limit.
enum class TFileKind { Page, StyleSheet, Image };

// The largest file of a kind that is read, in bytes: a page 256 MB, a style
// sheet 32 MB, an image 64 MB.
std::uint64_t FileSizeLimit(TFileKind kind);

// A descriptor of a regular file of at most the kind's limit, opened for
// reading without waiting and closed on exit; not valid when the file is
// missing, of another type or too large.
class TRegularFile {
 public:
  TRegularFile(const std::string& fileName, TFileKind kind);
  TRegularFile(const TRegularFile&) = delete;
  TRegularFile& operator=(const TRegularFile&) = delete;
  ~TRegularFile();
  bool Valid() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  std::uint64_t Size() const { return size_; }
  // Reads up to count bytes from offset; the number read.
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// False when the file is missing, unreadable, not a regular file, or larger
// than its kind allows (also when it grows past the limit while read).
bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes, TFileKind kind);
// The same into text, for readers that want the bytes as a string: no copy.
bool ReadWholeFile(const std::string& fileName, std::string& text, TFileKind kind);
// Reads at most limit bytes from the start of a file as ReadWholeFile
// would take it; whole tells whether bytes hold the entire file (false when
// exactly limit bytes were read). False as for ReadWholeFile.
bool ReadFileHead(const std::string& fileName, std::size_t limit, std::vector<std::uint8_t>& bytes, bool& whole,
                  TFileKind kind);
// Raises EFCreateError "Cannot create file \"name\"" on any failure.
void WriteWholeFile(const std::string& fileName, const void* data, std::size_t size);

}  // namespace gui
