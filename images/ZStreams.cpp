#include "images/ZStreams.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace images {
namespace {

constexpr std::int64_t kSkipBlock = 4096;

// zlib takes its memory from the program's heap; items x size is checked.
voidpf zlibAlloc(voidpf, uInt items, uInt size) {
  if (items != 0 && size > std::numeric_limits<std::size_t>::max() / items) return Z_NULL;
  return std::malloc(static_cast<std::size_t>(items) * size);
}

void zlibFree(voidpf, voidpf address) { std::free(address); }

template <class Error>
int check(int code) {
  if (code < 0) throw Error(zError(code));
  return code;
}

// zlib counts in 32 bits per call; larger requests go in slices.
uInt sliceOf(std::int64_t remaining) {
  return static_cast<uInt>(std::min<std::int64_t>(remaining, std::numeric_limits<uInt>::max()));
}

}  // namespace

TCustomZStream::TCustomZStream(gui::TStream& Strm)
    : FStrm(&Strm), FStrmPos(Strm.Position()), FBuffer(std::make_unique<std::uint8_t[]>(kBufferSize)) {
  FZRec.zalloc = zlibAlloc;
  FZRec.zfree = zlibFree;
  FZRec.opaque = Z_NULL;
}

TCustomZStream::~TCustomZStream() = default;

void TCustomZStream::Progress() {
  if (OnProgress) OnProgress(this);
}

// ---- compression ---------------------------------------------------------

namespace {

int zlibLevel(TZCompressionLevel level) {
  switch (level) {
    case zcNone: return 0;
    case zcFastest: return 1;
    case zcMax: return 9;
    case zcDefault:
    default: return Z_DEFAULT_COMPRESSION;
  }
}

}  // namespace

TZCompressionStream::TZCompressionStream(gui::TStream& Dest, TZCompressionLevel CompressionLevel)
    : TCustomZStream(Dest) {
  FZRec.next_out = FBuffer.get();
  FZRec.avail_out = kBufferSize;
  check<EZCompressionError>(
      deflateInit_(&FZRec, zlibLevel(CompressionLevel), ZLIB_VERSION, static_cast<int>(sizeof(z_stream))));
}

TZCompressionStream::~TZCompressionStream() {
  if (!FFinished) {
    try {
      Finish();
    } catch (...) {
      // A destructor reports nothing; Finish is the way to learn of errors.
    }
  }
  deflateEnd(&FZRec);
}

void TZCompressionStream::ReturnToPosition() {
  if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

void TZCompressionStream::FlushBuffer(std::size_t byteCount) {
  FStrm->WriteBuffer(FBuffer.get(), static_cast<std::int64_t>(byteCount));
  FZRec.next_out = FBuffer.get();
  FZRec.avail_out = kBufferSize;
  FStrmPos = FStrm->Position();
}

std::int64_t TZCompressionStream::Write(const void* Buffer, std::int64_t Count) {
  if (FFinished) throw EZCompressionError(kInvalidZStreamOperation);
  if (Count <= 0) return 0;
  ReturnToPosition();
  auto* input = static_cast<const Bytef*>(Buffer);
  std::int64_t remaining = Count;
  while (remaining > 0) {
    const uInt slice = sliceOf(remaining);
    FZRec.next_in = const_cast<Bytef*>(input);
    FZRec.avail_in = slice;
    while (FZRec.avail_in > 0) {
      check<EZCompressionError>(deflate(&FZRec, Z_NO_FLUSH));
      if (FZRec.avail_out == 0) {
        FlushBuffer(kBufferSize);
        Progress();
      }
    }
    input += slice;
    remaining -= slice;
  }
  FZRec.next_in = Z_NULL;
  return Count;
}

void TZCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  ReturnToPosition();
  FZRec.next_in = Z_NULL;
  FZRec.avail_in = 0;
  while (check<EZCompressionError>(deflate(&FZRec, Z_FINISH)) != Z_STREAM_END) {
    FlushBuffer(kBufferSize - FZRec.avail_out);
  }
  if (FZRec.avail_out < kBufferSize) FlushBuffer(kBufferSize - FZRec.avail_out);
}

std::int64_t TZCompressionStream::Read(void*, std::int64_t) {
  throw EZCompressionError(kInvalidZStreamOperation);
}

std::int64_t TZCompressionStream::Seek(std::int64_t Offset, int Origin) {
  if (Offset == 0 && Origin == gui::soFromCurrent) return static_cast<std::int64_t>(FZRec.total_in);
  throw EZCompressionError(kInvalidZStreamOperation);
}

// ---- decompression -------------------------------------------------------

TZDecompressionStream::TZDecompressionStream(gui::TStream& Source) : TCustomZStream(Source), FStartPos(FStrmPos) {
  FZRec.next_in = FBuffer.get();
  FZRec.avail_in = 0;
  check<EZDecompressionError>(inflateInit_(&FZRec, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))));
}

TZDecompressionStream::~TZDecompressionStream() { inflateEnd(&FZRec); }

std::int64_t TZDecompressionStream::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0 || FEnded) return 0;
  if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
  auto* output = static_cast<Bytef*>(Buffer);
  std::int64_t produced = 0;
  while (produced < Count) {
    bool sourceDone = false;
    if (FZRec.avail_in == 0) {
      const std::int64_t got = FStrm->Read(FBuffer.get(), static_cast<std::int64_t>(kBufferSize));
      if (got > 0) {
        FZRec.next_in = FBuffer.get();
        FZRec.avail_in = static_cast<uInt>(got);
        FStrmPos = FStrm->Position();
        Progress();
      } else {
        // zlib may still hold output from input it has taken: one more call drains it.
        sourceDone = true;
      }
    }
    const uInt slice = sliceOf(Count - produced);
    FZRec.next_out = output + produced;
    FZRec.avail_out = slice;
    const int code = inflate(&FZRec, Z_NO_FLUSH);
    const uInt made = slice - FZRec.avail_out;
    produced += made;
    // A preset dictionary is never supplied: without one zlib makes no progress.
    if (code == Z_NEED_DICT) throw EZDecompressionError(zError(Z_DATA_ERROR));
    if (code == Z_STREAM_END) {
      FEnded = true;
      break;
    }
    if (sourceDone && (code == Z_BUF_ERROR || made == 0)) break;
    if (code != Z_BUF_ERROR) check<EZDecompressionError>(code);
  }
  return produced;
}

std::int64_t TZDecompressionStream::Write(const void*, std::int64_t) {
  throw EZDecompressionError(kInvalidZStreamOperation);
}

void TZDecompressionStream::Skip(std::int64_t Count) {
  std::uint8_t scratch[kSkipBlock];
  while (Count > 0) {
    const std::int64_t want = std::min(Count, kSkipBlock);
    const std::int64_t got = Read(scratch, want);
    if (got < want) return;
    Count -= got;
  }
}

std::int64_t TZDecompressionStream::Seek(std::int64_t Offset, int Origin) {
  const auto produced = static_cast<std::int64_t>(FZRec.total_out);
  if (Origin == gui::soFromBeginning && Offset == 0) {
    check<EZDecompressionError>(inflateReset(&FZRec));
    FZRec.next_in = FBuffer.get();
    FZRec.avail_in = 0;
    FEnded = false;
    FStrm->SetPosition(FStartPos);
    FStrmPos = FStartPos;
  } else if (Origin == gui::soFromCurrent && Offset >= 0) {
    Skip(Offset);
  } else if (Origin == gui::soFromBeginning && Offset >= produced) {
    Skip(Offset - produced);
  } else {
    throw EZDecompressionError(kInvalidZStreamOperation);
  }
  return static_cast<std::int64_t>(FZRec.total_out);
}

}  // namespace images
