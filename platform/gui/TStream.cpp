#include <algorithm>
#include <vector>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"

namespace gui {

std::int64_t TStream::Size() {
  const std::int64_t position = Seek(0, soFromCurrent);
  const std::int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  constexpr std::int64_t kChunkBytes = 64 * 1024;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(std::max<std::int64_t>(Count, 0), kChunkBytes)));
  std::int64_t copied = 0;
  while (copied < Count) {
    const std::int64_t n = std::min(Count - copied, kChunkBytes);
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    copied += n;
  }
  return copied;
}

}  // namespace gui
