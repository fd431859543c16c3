#include "images/GifLzw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace images {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// Codes are packed least significant bit first.
class CodeReader {
 public:
  CodeReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // False when fewer than `bits` bits of data are left: decoding ends there.
  bool Read(int bits, int& code) {
    while (count_ < bits) {
      if (position_ >= size_) return false;
      buffer_ |= static_cast<std::uint32_t>(data_[position_++]) << count_;
      count_ += 8;
    }
    code = static_cast<int>(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    count_ -= bits;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  std::uint32_t buffer_ = 0;
  int count_ = 0;
};

// The pixel cursor: walks the declared image row by row (in interlace pass
// order when interlaced) and stores what falls inside the visible part.
class PixelWriter {
 public:
  explicit PixelWriter(GifPixelTarget& target) : target_(target) {
    if (target.Interlaced) rowOrder_ = InterlacedRowOrder(target.Height);
    EnterRow();
  }

  bool Full() const { return row_ >= target_.Height; }

  // True when n pixels from the cursor stay in this row and none of them is stored.
  bool CanSkip(int n) const { return column_ + n < target_.Width && (!rowPixels_ || column_ >= target_.VisibleWidth); }
  void Skip(int n) { column_ += n; }

  void Write(const std::uint8_t* pixels, int n) {
    while (n > 0 && row_ < target_.Height) {
      const int run = std::min(n, target_.Width - column_);
      if (rowPixels_ && column_ < target_.VisibleWidth)
        std::memcpy(rowPixels_ + column_, pixels, static_cast<std::size_t>(std::min(run, target_.VisibleWidth - column_)));
      pixels += run;
      n -= run;
      column_ += run;
      if (column_ == target_.Width) {
        column_ = 0;
        ++row_;
        EnterRow();
      }
    }
  }

 private:
  // Passes start at rows 0, 4, 2, 1 and step by 8, 8, 4, 2.
  static std::vector<int> InterlacedRowOrder(int height) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
  }

  void EnterRow() {
    rowPixels_ = nullptr;
    if (row_ >= target_.Height || target_.VisibleWidth <= 0) return;
    const int y = rowOrder_.empty() ? row_ : rowOrder_[static_cast<std::size_t>(row_)];
    if (y < target_.VisibleHeight)
      rowPixels_ = target_.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(target_.VisibleWidth);
  }

  GifPixelTarget& target_;
  std::vector<int> rowOrder_;
  int row_ = 0;
  int column_ = 0;
  std::uint8_t* rowPixels_ = nullptr;
};

// The string table. Entry k is the string of entry prefix[k] followed by
// suffix[k]; literals are their own one-character strings.
class StringTable {
 public:
  explicit StringTable(int minCodeSize) : clear_(1 << minCodeSize), minCodeSize_(minCodeSize) {
    std::memset(prefix_, 0, sizeof prefix_);
    std::memset(suffix_, 0, sizeof suffix_);
    for (int code = 0; code < kTableSize; ++code) {
      length_[code] = 1;
      first_[code] = static_cast<std::uint8_t>(code < clear_ ? code : 0);
      if (code < clear_) suffix_[code] = static_cast<std::uint8_t>(code);
    }
    Reset();
  }

  int Clear() const { return clear_; }
  int End() const { return clear_ + 1; }
  int CodeSize() const { return codeSize_; }
  int NextFree() const { return nextFree_; }
  std::uint8_t First(int code) const { return first_[code]; }

  void Reset() {
    codeSize_ = minCodeSize_ + 1;
    nextFree_ = clear_ + 2;
    limit_ = 1 << codeSize_;
  }

  // A full table takes no entries until the next clear code.
  void Add(int prefix, std::uint8_t character) {
    if (nextFree_ >= kTableSize) return;
    prefix_[nextFree_] = static_cast<std::uint16_t>(prefix);
    suffix_[nextFree_] = character;
    length_[nextFree_] = static_cast<std::uint16_t>(length_[prefix] + 1);
    first_[nextFree_] = first_[prefix];
    ++nextFree_;
    if (nextFree_ >= limit_ && codeSize_ < kMaxCodeBits) {
      ++codeSize_;
      limit_ <<= 1;
    }
  }

  // Writes the string of `code` to the cursor.
  void Emit(int code, PixelWriter& writer) {
    const int length = length_[code];
    if (writer.CanSkip(length)) {
      writer.Skip(length);
      return;
    }
    std::uint8_t* out = stack_ + kTableSize - length;
    for (int i = length - 1; i >= 0; --i) {
      out[i] = suffix_[code];
      code = prefix_[code];
    }
    writer.Write(out, length);
  }

 private:
  const int clear_;
  const int minCodeSize_;
  int codeSize_ = 0;
  int nextFree_ = 0;
  int limit_ = 0;
  std::uint16_t prefix_[kTableSize];
  std::uint8_t suffix_[kTableSize];
  std::uint16_t length_[kTableSize];
  std::uint8_t first_[kTableSize];
  std::uint8_t stack_[kTableSize];
};

}  // namespace

GifLzwStatus DecodeGifLzw(const std::uint8_t* data, std::size_t size, int minCodeSize, GifPixelTarget& target) {
  if (minCodeSize < 0 || minCodeSize + 1 > kMaxCodeBits) return GifLzwStatus::InvalidCodeSize;
  auto table = std::make_unique<StringTable>(minCodeSize);
  CodeReader reader(data, size);
  PixelWriter writer(target);
  const int clear = table->Clear();
  const int end = table->End();

  int code = 0;
  if (!reader.Read(table->CodeSize(), code)) return GifLzwStatus::Ok;
  // The data starts as if right after a clear code, except that it may not
  // begin with a code beyond the literals.
  if (code != clear && code >= clear) return GifLzwStatus::InvalidData;
  bool afterClear = true;
  int previous = 0;
  while (!writer.Full()) {
    if (code == clear) {
      table->Reset();
      afterClear = true;
    } else if (afterClear) {
      if (code == end) return GifLzwStatus::InvalidData;
      if (code >= table->NextFree()) code = 0;
      table->Emit(code, writer);
      previous = code;
      afterClear = false;
    } else if (code == end) {
      break;
    } else if (code < table->NextFree()) {
      table->Emit(code, writer);
      table->Add(previous, table->First(code));
      previous = code;
    } else if (code == table->NextFree()) {
      table->Add(previous, table->First(previous));
      table->Emit(code, writer);
      previous = code;
    } else {
      return GifLzwStatus::InvalidData;
    }
    if (!reader.Read(table->CodeSize(), code)) break;
  }
  return GifLzwStatus::Ok;
}

}  // namespace images
