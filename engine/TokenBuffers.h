#pragma once
// The parser's growing buffers: the bytes of a text run as read, and the wide
// characters made from them. Every byte and every character carries the
// source position it came from. Both keep their room when cleared.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine {

class TCharCollection {
 public:
  TCharCollection();

  void Add(char byte, int index) {
    Bytes.push_back(byte);
    Positions.push_back(index);
  }
  void Concat(const TCharCollection& other);
  const std::string& AsString() const { return Bytes; }
  int Size() const { return static_cast<int>(Bytes.size()); }
  void Clear() {
    Bytes.clear();
    Positions.clear();
  }

  std::string Bytes;
  std::vector<int> Positions;  // one per byte
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
  void Clear() {
    Characters.clear();
    Positions.clear();
  }
  int Count() const { return static_cast<int>(Characters.size()); }
  const std::u16string& CurrentText() const { return Characters; }

  std::u16string Characters;
  std::vector<int> Positions;  // one per character
};

}  // namespace engine
