#pragma once
// OffsetVector: a vector that also grows and shrinks at its front in constant
// time. Lists of child windows, child controls and owned components lose
// their members mostly in the order they came: erasing the first element of
// a plain vector moves all the others, which makes freeing n children one by
// one quadratic. Here the elements before an erased one move instead, or the
// start moves past it, whichever is fewer; unused front room is given back
// once it outgrows the elements.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace win {

template <typename T>
class OffsetVector {
 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;
  using reverse_iterator = std::reverse_iterator<iterator>;
  using const_reverse_iterator = std::reverse_iterator<const_iterator>;

  OffsetVector() = default;
  OffsetVector(std::initializer_list<T> items) : items_(items) {}

  iterator begin() { return items_.data() + start_; }
  iterator end() { return items_.data() + items_.size(); }
  const_iterator begin() const { return items_.data() + start_; }
  const_iterator end() const { return items_.data() + items_.size(); }
  reverse_iterator rbegin() { return reverse_iterator(end()); }
  reverse_iterator rend() { return reverse_iterator(begin()); }
  const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
  const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

  std::size_t size() const { return items_.size() - start_; }
  bool empty() const { return size() == 0; }
  T& operator[](std::size_t index) { return items_[start_ + index]; }
  const T& operator[](std::size_t index) const { return items_[start_ + index]; }
  T& front() { return items_[start_]; }
  const T& front() const { return items_[start_]; }
  T& back() { return items_.back(); }
  const T& back() const { return items_.back(); }

  // A copy as a plain vector (callers that walk a snapshot).
  operator std::vector<T>() const { return std::vector<T>(begin(), end()); }

  void clear() {
    items_.clear();
    start_ = 0;
  }
  void push_back(const T& value) {
    compact();
    items_.push_back(value);
  }
  iterator insert(const_iterator position, const T& value) {
    const std::size_t index = static_cast<std::size_t>(position - begin());
    if (start_ == 0 && index <= size() / 2 && size() >= kMinimumRoom) makeFrontRoom();
    if (start_ > 0 && index <= size() / 2) {
      // Room at the front: the elements before the new one move down a place.
      --start_;
      std::move(items_.begin() + static_cast<std::ptrdiff_t>(start_ + 1),
                items_.begin() + static_cast<std::ptrdiff_t>(start_ + 1 + index),
                items_.begin() + static_cast<std::ptrdiff_t>(start_));
      items_[start_ + index] = value;
      return begin() + index;
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(start_ + index), value);
    return begin() + index;
  }
  iterator erase(const_iterator position) {
    const std::size_t index = static_cast<std::size_t>(position - begin());
    if (index < size() / 2) {
      // Nearer the front: the elements before it move up a place.
      const auto first = items_.begin() + static_cast<std::ptrdiff_t>(start_);
      std::move_backward(first, first + static_cast<std::ptrdiff_t>(index), first + static_cast<std::ptrdiff_t>(index + 1));
      items_[start_] = T();
      ++start_;
      if (start_ == items_.size()) clear();
      return begin() + index;
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(start_ + index));
    return begin() + index;
  }
  iterator erase(const_iterator first, const_iterator last) {
    const std::size_t from = static_cast<std::size_t>(first - begin());
    const std::size_t to = static_cast<std::size_t>(last - begin());
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(start_ + from),
                 items_.begin() + static_cast<std::ptrdiff_t>(start_ + to));
    return begin() + from;
  }
  template <typename Predicate>
  void eraseIf(Predicate predicate) {
    erase(std::remove_if(begin(), end(), predicate), end());
  }

 private:
  static constexpr std::size_t kMinimumRoom = 16;

  // Gives back the front room once it is well over the elements' count
  // (amortised constant per element).
  void compact() {
    if (start_ < kMinimumRoom || start_ <= 2 * size()) return;
    items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  // Room for as many elements again before the first: inserting at the front
  // stays amortised constant too.
  void makeFrontRoom() {
    std::vector<T> grown(2 * items_.size());
    std::move(items_.begin(), items_.end(), grown.begin() + static_cast<std::ptrdiff_t>(items_.size()));
    start_ = items_.size();
    items_.swap(grown);
  }

  std::vector<T> items_;
  std::size_t start_ = 0;
};

}  // namespace win
