#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <algorithm>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"
#include "platform/gui/WholeFile.h"

namespace gui {

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
  if (Count <= 0 || position_ < 0 || position_ >= Size()) return 0;
  const std::int64_t n = std::min(Count, Size() - position_);
  std::memcpy(Buffer, data_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
  if (Count <= 0 || position_ < 0) return 0;
  if (Count > std::numeric_limits<std::int64_t>::max() - position_) return 0;
  const std::int64_t end = position_ + Count;
  if (end > Size()) Grow(end);
  std::memcpy(data_.data() + position_, Buffer, static_cast<std::size_t>(Count));
  position_ = end;
  return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, int Origin) {
  std::int64_t base = 0;
  if (Origin == soFromCurrent) base = position_;
  else if (Origin == soFromEnd) base = Size();
  // A position that cannot be represented leaves the stream where it was.
  if ((Offset > 0 && base > std::numeric_limits<std::int64_t>::max() - Offset)) return position_;
  position_ = base + Offset;
  return position_;
}

void TMemoryStream::Grow(std::int64_t NewSize) {
  try {
    if (NewSize > kMaxMemoryStreamBytes) throw std::bad_alloc();
    if (static_cast<std::uint64_t>(NewSize) > data_.capacity()) {
      // Grow geometrically so that many small writes stay linear.
      const std::size_t doubled = data_.capacity() * 2;
      data_.reserve(std::max(static_cast<std::size_t>(NewSize), doubled));
    }
    data_.resize(static_cast<std::size_t>(NewSize));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  if (NewSize > Size()) Grow(NewSize);
  else data_.resize(static_cast<std::size_t>(NewSize));
  if (position_ > NewSize) position_ = NewSize;
}

void TMemoryStream::Clear() {
  std::vector<std::uint8_t>().swap(data_);
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  const std::int64_t count = Stream.Size();
  SetSize(count);
  if (count > 0) Stream.ReadBuffer(data_.data(), count);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) {
  if (!data_.empty()) Stream.WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& FileName, TFileKind Kind) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(FileName, bytes, Kind)) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  data_.swap(bytes);
  position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) { WriteWholeFile(FileName, data_.data(), data_.size()); }

}  // namespace gui
