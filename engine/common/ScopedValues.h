#pragma once
// Scopes over a variable of the document or the parser: a counter raised for
// as long as the scope lives, and a value set for the scope and put back after,
// also when an exception leaves it.
namespace engine {

class CounterScope {
 public:
  explicit CounterScope(int& counter) : counter_(counter) { ++counter_; }
  ~CounterScope() { --counter_; }
  CounterScope(const CounterScope&) = delete;
  CounterScope& operator=(const CounterScope&) = delete;

 private:
  int& counter_;
};

template <class T>
class ValueScope {
 public:
  ValueScope(T& variable, T value) : variable_(variable), old_(variable) { variable_ = value; }
  ~ValueScope() { variable_ = old_; }
  ValueScope(const ValueScope&) = delete;
  ValueScope& operator=(const ValueScope&) = delete;

 private:
  T& variable_;
  T old_;
};

}  // namespace engine
