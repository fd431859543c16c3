#pragma once
// An allocator whose containers leave the elements they grow by unset, for
// buffers that are filled right after they grow: resizing such a vector of
// integers costs no zeroing pass.
#include <memory>
#include <new>
#include <utility>

namespace engine {

template <class T>
class TDefaultInitAllocator : public std::allocator<T> {
 public:
  template <class U>
  struct rebind {
    using other = TDefaultInitAllocator<U>;
  };

  TDefaultInitAllocator() = default;
  template <class U>
  TDefaultInitAllocator(const TDefaultInitAllocator<U>&) noexcept {}

  // Default-initialises: a trivial type is left as the memory holds it.
  template <class U>
  void construct(U* place) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(place)) U;
  }
  template <class U, class... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

}  // namespace engine
