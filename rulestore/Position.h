#pragma once

#include <cstddef>

// A place in one of the store's lists: either none or the index of the entry
// that the next GetNext returns. Positions stay valid while entries are added.
class Position {
public:
  Position() = default;
  static Position At(std::size_t index) { return Position(index); }

  explicit operator bool() const { return valid_; }
  std::size_t Index() const { return index_; }
  void Clear() { valid_ = false; }

private:
  explicit Position(std::size_t index) : index_(index), valid_(true) {}

  std::size_t index_ = 0;
  bool valid_ = false;
};
