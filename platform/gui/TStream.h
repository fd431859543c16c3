#pragma once
// Byte streams: the abstract TStream and its memory, file-handle and file
// forms. Positions and sizes are 64-bit. Read and Write move what they can and
// return the count; ReadBuffer and WriteBuffer raise on short transfers.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/TObject.h"
#include "platform/gui/WholeFile.h"

namespace gui {

constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

class TStream : public TObject {
 public:
  virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
  virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
  // Moves the position and returns the new one; -1 when the stream refuses.
  virtual std::int64_t Seek(std::int64_t Offset, int Origin) = 0;

  std::int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(std::int64_t Pos) { Seek(Pos, soFromBeginning); }
  virtual std::int64_t Size();
  // The default raises EStreamError: not every stream can change its size.
  virtual void SetSize(std::int64_t NewSize);

  // Raise EReadError "Stream read error" / EWriteError "Stream write error"
  // when fewer than Count bytes move.
  void ReadBuffer(void* Buffer, std::int64_t Count);
  void WriteBuffer(const void* Buffer, std::int64_t Count);
  // Copies Count bytes from Source's position; Count 0 copies all of Source
  // from its start. Returns the bytes copied.
  std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

// The most a memory stream holds, as in a 32-bit address space.
constexpr std::int64_t kMaxMemoryStreamBytes = 0x7FFFFFFF;

// A stream over a growable block of memory. The position may lie past the
// end: reading there gives nothing, writing there zero-fills the gap.
class TMemoryStream : public TStream {
 public:
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, int Origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
  // Raises EStreamError "Out of memory while expanding memory stream",
  // also beyond kMaxMemoryStreamBytes.
  void SetSize(std::int64_t NewSize) override;

  // The bytes; nullptr while the stream is empty.
  std::uint8_t* Memory() { return data_.empty() ? nullptr : data_.data(); }
  const std::uint8_t* Memory() const { return data_.empty() ? nullptr : data_.data(); }
  void Clear();
  // Replaces the contents by all of Stream (from its start); position 0.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream);
  // Raises EFOpenError when the file cannot be read, is no regular file or
  // is larger than its kind allows.
  void LoadFromFile(const std::string& FileName, TFileKind Kind);
  // Writes the file whole or not at all; EFCreateError on failure.
  void SaveToFile(const std::string& FileName);

 private:
  void Grow(std::int64_t NewSize);
  std::vector<std::uint8_t> data_;
  std::int64_t position_ = 0;
};

// Open modes: one access mode or fmCreate, or-ed with a share mode. Share modes
// are accepted and have no effect.
constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

// A stream over an open file descriptor that it does not own.
class THandleStream : public TStream {
 public:
  explicit THandleStream(int AHandle) : handle_(AHandle) {}
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  std::int64_t Seek(std::int64_t Offset, int Origin) override;
  void SetSize(std::int64_t NewSize) override;
  int Handle() const { return handle_; }

 protected:
  int handle_;
};

// A stream over a named file, closed when the stream is freed.
class TFileStream : public THandleStream {
 public:
  // Raises EFOpenError "Cannot open file \"name\"" or, for fmCreate,
  // EFCreateError "Cannot create file \"name\"".
  TFileStream(const std::string& FileName, unsigned Mode);
  ~TFileStream() override;
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};

}  // namespace gui
