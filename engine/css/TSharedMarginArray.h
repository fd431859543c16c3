#pragma once
// A block's 28 box properties as they came from the cascade. Blocks of one kind
// nearly always carry identical values, so equal arrays are held once: a block
// then costs a pointer instead of about a kilobyte. Changes copy first.
#include <cstddef>
#include <memory>
#include <utility>

#include "engine/css/CssBoxValues.h"

namespace engine {

class TSharedMarginArray {
 public:
  TSharedMarginArray();  // every value unset
  // The properties' box values, as Load takes them (without first holding the unset array).
  explicit TSharedMarginArray(const TProperties& properties) { Load(properties); }

  // Takes the properties' box values (GetMarginArray).
  void Load(const TProperties& properties);
  // Replaces one value, or all; other blocks holding the same array keep theirs.
  void Set(std::size_t index, TPropValue value);
  void Replace(TVMarginArray values) { Adopt(std::move(values)); }

  const TPropValue& operator[](std::size_t index) const { return (*values_)[index]; }
  const TVMarginArray& Values() const { return *values_; }
  operator const TVMarginArray&() const { return *values_; }  // NOLINT: read wherever an array is read
  bool SharesWith(const TSharedMarginArray& other) const { return values_ == other.values_; }
  // The held array itself, for memos of what is computed from it (it never changes).
  const std::shared_ptr<const TVMarginArray>& Shared() const { return values_; }
  // Lets go of the arrays this thread remembers for blocks to come (blocks holding one keep it).
  static void ForgetRecentArrays();

 private:
  void Adopt(TVMarginArray&& values);
  std::shared_ptr<const TVMarginArray> values_;
};

}  // namespace engine
