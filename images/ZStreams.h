#pragma once
// Streams that put zlib compression behind TStream: TZCompressionStream
// deflates what is written to it into a destination stream, and
// TZDecompressionStream inflates a source stream as it is read. Neither owns the
// stream it works on; both work through a 64 KiB buffer and pick up at the
// position they last left the underlying stream, wherever it was moved since.
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"

namespace images {

class EZLibError : public gui::Exception {
 public:
  using gui::Exception::Exception;
};
class EZCompressionError : public EZLibError {
 public:
  using EZLibError::EZLibError;
};
class EZDecompressionError : public EZLibError {
 public:
  using EZLibError::EZLibError;
};

// Compression levels by index: none (0), fastest (1), zlib's default, best (9).
enum TZCompressionLevel { zcNone = 0, zcFastest = 1, zcDefault = 2, zcMax = 3 };

inline constexpr const char* kInvalidZStreamOperation = "Invalid ZStream operation!";

class TCustomZStream : public gui::TStream {
 public:
  static constexpr std::size_t kBufferSize = 65536;
  ~TCustomZStream() override;

  // Fired with this stream as sender after each full buffer moved to or from
  // the underlying stream.
  std::function<void(gui::TObject* Sender)> OnProgress;

 protected:
  explicit TCustomZStream(gui::TStream& Strm);
  void Progress();

  gui::TStream* FStrm;     // not owned
  std::int64_t FStrmPos;   // where this stream continues in FStrm
  z_stream FZRec{};
  std::unique_ptr<std::uint8_t[]> FBuffer;
};

class TZCompressionStream : public TCustomZStream {
 public:
  // Raises EZCompressionError when zlib cannot start.
  TZCompressionStream(gui::TStream& Dest, TZCompressionLevel CompressionLevel = zcDefault);
  // Finishes the data when Finish was not called; errors are dropped here, so
  // callers that must know call Finish.
  ~TZCompressionStream() override;

  // Compresses all of Buffer; returns Count. Raises EZCompressionError.
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  // Raises: a compression stream cannot be read.
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  // Only Seek(0, soFromCurrent), the bytes taken in so far; anything else raises.
  std::int64_t Seek(std::int64_t Offset, int Origin) override;

  // Ends the compressed data and writes what remains to the destination.
  // Raises EZCompressionError or the destination's write error. Later writes raise.
  void Finish();

 private:
  void FlushBuffer(std::size_t byteCount);
  void ReturnToPosition();
  bool FFinished = false;
};

class TZDecompressionStream : public TCustomZStream {
 public:
  // Raises EZDecompressionError when zlib cannot start.
  explicit TZDecompressionStream(gui::TStream& Source);
  ~TZDecompressionStream() override;

  // Inflates up to Count bytes; fewer at the end of the compressed data or of
  // the source. Raises EZDecompressionError on corrupt data.
  std::int64_t Read(void* Buffer, std::int64_t Count) override;
  // Raises: a decompression stream cannot be written.
  std::int64_t Write(const void* Buffer, std::int64_t Count) override;
  // Forward only: from the beginning (0 restarts from the source's start) or
  // from the current position by Offset >= 0; skipped bytes are inflated and
  // dropped. Backward and end-relative seeks raise. Returns the bytes produced.
  std::int64_t Seek(std::int64_t Offset, int Origin) override;

 private:
  void Skip(std::int64_t Count);
  std::int64_t FStartPos;  // where the compressed data begins in the source
  bool FEnded = false;     // zlib reported the end of the compressed data
};

}  // namespace images
