#pragma once
// An event whose setter does more than store the handler: assigning one (or
// nullptr) stores it and then runs the owner's hook, which hands it on, to a
// document root or to every frame's viewer. Reading it is like reading the
// handler itself.
#include <functional>
#include <utility>

namespace viewer {

template <typename Handler>
class TForwardedEvent {
 public:
  using Hook = std::function<void(const Handler&)>;
  explicit TForwardedEvent(Hook Changed) : changed_(std::move(Changed)) {}
  TForwardedEvent(const TForwardedEvent&) = delete;
  TForwardedEvent& operator=(const TForwardedEvent&) = delete;

  TForwardedEvent& operator=(Handler Value) {
    handler_ = std::move(Value);
    if (changed_) changed_(handler_);
    return *this;
  }
  explicit operator bool() const { return static_cast<bool>(handler_); }
  const Handler& Get() const { return handler_; }
  template <typename... Args>
  decltype(auto) operator()(Args&&... Arguments) const {
    return handler_(std::forward<Args>(Arguments)...);
  }

 private:
  Handler handler_;
  Hook changed_;
};

// The handler type of an event field, forwarded or plain.
template <typename Event>
struct THandlerOf {
  using type = Event;
};
template <typename Handler>
struct THandlerOf<TForwardedEvent<Handler>> {
  using type = Handler;
};
template <typename Event>
using HandlerOf = typename THandlerOf<Event>::type;

}  // namespace viewer
