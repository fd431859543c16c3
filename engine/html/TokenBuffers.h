#pragma once
// The parser's growing buffers: the bytes of a text run as read, and the wide
// characters made from them. Every byte and every character carries the
// source position it came from. Both keep their room when cleared.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/TDefaultInitAllocator.h"

namespace engine {

// Source positions, one per character; growing the list leaves the new
// positions for the caller to fill.
using TPositionList = std::vector<int, TDefaultInitAllocator<int>>;

class TCharCollection {
 public:
  TCharCollection();

  void Add(char byte, int index) {
    if (count_ == bytes_.size()) Grow(count_ + 1);
    bytes_[count_] = byte;
    positions_[count_] = index;
    ++count_;
  }
  // Appends length bytes whose positions count up from firstIndex.
  void AddRun(const char* bytes, std::size_t length, int firstIndex);
  void Concat(const TCharCollection& other);
  std::string_view AsString() const { return {bytes_.data(), count_}; }
  std::span<const int> Positions() const { return {positions_.data(), count_}; }
  int Size() const { return static_cast<int>(count_); }
  void Clear() { count_ = 0; }

 private:
  void Grow(std::size_t needed);

  std::string bytes_;           // room; the first count_ bytes are held
  std::vector<int> positions_;  // one per byte, same room
  std::size_t count_ = 0;
};

class TokenObj {
 public:
  TokenObj();

  void AppendChar(char16_t ch, int index) {
    Characters.push_back(ch);
    Positions.push_back(index);
  }
  // Appends the source's bytes as wide characters of the code page; each
  // character gets the position of the byte where its encoding starts.
  void AppendBytes(const TCharCollection& source, int codePage);
  // Appends bytes of a code page that DecodesAsWindows1252, at positions
  // counting up from firstPosition: AppendBytes without the byte buffer.
  void AppendWindows1252(std::string_view bytes, int firstPosition);
  void Clear() {
    Characters.clear();
    Positions.clear();
  }
  int Count() const { return static_cast<int>(Characters.size()); }
  const std::u16string& CurrentText() const { return Characters; }

  std::u16string Characters;
  TPositionList Positions;  // one per character
};

}  // namespace engine
