#pragma once
// SmallVector: a vector that keeps its first element inside itself and moves
// to the heap from the second on. Most text sections have one line, one font
// run and one source index entry, and most cells one section: holding that one
// in place saves an allocation, and the allocator's overhead, for each. The
// elements stay contiguous, so iterators are plain pointers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace engine {

template <class T>
class SmallVector {
  static_assert(std::is_nothrow_move_constructible_v<T>, "elements move when the storage grows");

 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = const T*;

  SmallVector() noexcept {}
  ~SmallVector() { Release(); }

  SmallVector(SmallVector&& other) noexcept { TakeFrom(other); }
  SmallVector& operator=(SmallVector&& other) noexcept {
    if (this != &other) {
      Release();
      TakeFrom(other);
    }
    return *this;
  }
  SmallVector(const SmallVector& other) requires std::is_copy_constructible_v<T> { Append(other.begin(), other.end()); }
  SmallVector& operator=(const SmallVector& other) requires std::is_copy_constructible_v<T> {
    if (this != &other) {
      clear();
      Append(other.begin(), other.end());
    }
    return *this;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }

  T* data() { return OnHeap() ? storage_.heap : Inline(); }
  const T* data() const { return OnHeap() ? storage_.heap : Inline(); }
  iterator begin() { return data(); }
  iterator end() { return data() + size_; }
  const_iterator begin() const { return data(); }
  const_iterator end() const { return data() + size_; }

  T& operator[](std::size_t index) { return data()[index]; }
  const T& operator[](std::size_t index) const { return data()[index]; }
  T& front() { return data()[0]; }
  const T& front() const { return data()[0]; }
  T& back() { return data()[size_ - 1]; }
  const T& back() const { return data()[size_ - 1]; }

  template <class... Args>
  T& emplace_back(Args&&... args) {
    if (size_ == capacity_) Grow(NextCapacity(std::size_t{size_} + 1));
    T* slot = std::construct_at(data() + size_, std::forward<Args>(args)...);
    ++size_;
    return *slot;
  }
  void push_back(T&& value) { emplace_back(std::move(value)); }
  void push_back(const T& value) { emplace_back(value); }

  // Appends copies of [first, last) with at most one allocation.
  void Append(const T* first, const T* last) {
    const auto count = static_cast<std::size_t>(last - first);
    if (std::size_t{size_} + count > capacity_) Grow(NextCapacity(std::size_t{size_} + count));
    for (; first != last; ++first) std::construct_at(data() + size_++, *first);
  }

  void reserve(std::size_t count) {
    if (count > capacity_) Grow(count);
  }
  // Shrinking destroys the elements past count; growing adds default values.
  void resize(std::size_t count) {
    ShrinkTo(count);
    if (count > capacity_) Grow(NextCapacity(count));
    while (size_ < count) std::construct_at(data() + size_++);
  }
  void clear() { ShrinkTo(0); }
  // Removes the element at position, keeping the order of the others.
  iterator erase(const_iterator position) {
    T* at = data() + (position - data());
    std::move(at + 1, end(), at);
    std::destroy_at(data() + --size_);
    return at;
  }
  // Takes block, room for count elements from std::allocator<T> (count > 1,
  // at least size()), as its storage from now on, moving the elements there.
  void AdoptBlock(T* block, std::size_t count) noexcept { MoveTo(block, count); }
  // Moves the elements into room of exactly their number (the inline slot for
  // one or none) and hands back the heap block they were in, with its room in
  // count; nullptr when the elements were not on the heap.
  T* GiveUpBlock(std::size_t& count) {
    count = 0;
    if (!OnHeap()) return nullptr;
    T* const block = storage_.heap;
    const std::uint32_t size = size_;
    T* const exact = size > 1 ? std::allocator<T>().allocate(size) : nullptr;
    count = capacity_;
    if (exact) {
      std::uninitialized_move(block, block + size, exact);
      storage_.heap = exact;
      capacity_ = size;
    } else {
      capacity_ = 1;
      if (size == 1) std::construct_at(Inline(), std::move(block[0]));
    }
    std::destroy(block, block + size);
    return block;
  }
  void swap(SmallVector& other) noexcept {
    SmallVector held(std::move(other));
    other = std::move(*this);
    *this = std::move(held);
  }

 private:
  static constexpr std::size_t kMaxCount =
      std::min<std::size_t>(std::numeric_limits<std::uint32_t>::max(), std::numeric_limits<std::size_t>::max() / sizeof(T));

  bool OnHeap() const { return capacity_ > 1; }
  void ShrinkTo(std::size_t count) {
    while (size_ > count) std::destroy_at(data() + --size_);
  }
  T* Inline() { return std::launder(reinterpret_cast<T*>(storage_.one)); }
  const T* Inline() const { return std::launder(reinterpret_cast<const T*>(storage_.one)); }

  // Doubles, so that appending one at a time stays linear.
  std::size_t NextCapacity(std::size_t needed) const {
    if (needed > kMaxCount) throw std::length_error("SmallVector too long");
    return std::max(needed, std::min<std::size_t>(std::size_t{capacity_} * 2, kMaxCount));
  }

  void Grow(std::size_t count) {
    if (count > kMaxCount) throw std::length_error("SmallVector too long");
    MoveTo(std::allocator<T>().allocate(count), count);
  }

  // Moves the elements into block, room for count (> 1) elements, which is
  // the storage from now on.
  void MoveTo(T* block, std::size_t count) {
    std::uninitialized_move(begin(), end(), block);
    const std::uint32_t size = size_;
    Release();
    storage_.heap = block;
    size_ = size;
    capacity_ = static_cast<std::uint32_t>(count);
  }

  // Destroys the elements and frees the heap storage: back to empty, inline.
  void Release() noexcept {
    std::destroy(begin(), end());
    if (OnHeap()) std::allocator<T>().deallocate(storage_.heap, capacity_);
    size_ = 0;
    capacity_ = 1;
  }

  // Takes other's elements (its heap block, or its one inline element); other is left empty.
  void TakeFrom(SmallVector& other) noexcept {
    if (other.OnHeap()) {
      storage_.heap = other.storage_.heap;
      capacity_ = other.capacity_;
      size_ = other.size_;
      other.capacity_ = 1;
      other.size_ = 0;
      return;
    }
    if (other.size_ == 1) {
      std::construct_at(Inline(), std::move(*other.Inline()));
      std::destroy_at(other.Inline());
      size_ = 1;
      other.size_ = 0;
    }
  }

  union Storage {
    alignas(T) unsigned char one[sizeof(T)];
    T* heap;
  } storage_;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 1;  // 1: the inline slot; more: a heap block of that many
};

}  // namespace engine
