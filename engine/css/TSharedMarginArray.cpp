#include "engine/css/TSharedMarginArray.h"

#include <array>
#include <functional>
#include <string>
#include <utility>

namespace engine {
namespace {

std::size_t HashOf(const TVMarginArray& values) {
  std::size_t hash = 0;
  for (const TPropValue& value : values) {
    std::size_t part = value.index();
    if (const int* number = std::get_if<int>(&value)) part ^= std::hash<int>{}(*number) << 2;
    else if (const double* real = std::get_if<double>(&value)) part ^= std::hash<double>{}(*real) << 2;
    else if (const std::string* text = std::get_if<std::string>(&value)) part ^= std::hash<std::string>{}(*text) << 2;
    hash = hash * 1000003u ^ part;
  }
  return hash;
}

// The arrays made last. A document's blocks repeat a handful of kinds (paragraph,
// heading, list item...), so a short list finds nearly every repeat; what it misses
// only costs its own copy. The list holds a few arrays at most, whatever the input.
class RecentArrays {
 public:
  std::shared_ptr<const TVMarginArray> Find(const TVMarginArray& values, std::size_t hash) const {
    for (const Entry& entry : entries_)
      if (entry.values && entry.hash == hash && *entry.values == values) return entry.values;
    return nullptr;
  }
  void Remember(std::shared_ptr<const TVMarginArray> values, std::size_t hash) {
    entries_[next_] = Entry{std::move(values), hash};
    next_ = (next_ + 1) % entries_.size();
  }

 private:
  struct Entry {
    std::shared_ptr<const TVMarginArray> values;
    std::size_t hash = 0;
  };
  std::array<Entry, 16> entries_{};
  std::size_t next_ = 0;
};

RecentArrays& Recent() {
  thread_local RecentArrays recent;
  return recent;
}

const std::shared_ptr<const TVMarginArray>& Unset() {
  thread_local const std::shared_ptr<const TVMarginArray> unset = std::make_shared<const TVMarginArray>();
  return unset;
}

}  // namespace

TSharedMarginArray::TSharedMarginArray() : values_(Unset()) {}

void TSharedMarginArray::Load(const TProperties& properties) {
  TVMarginArray values;
  GetMarginArray(properties, values);
  Adopt(std::move(values));
}

void TSharedMarginArray::Set(std::size_t index, TPropValue value) {
  if ((*values_)[index] == value) return;
  TVMarginArray values = *values_;
  values[index] = std::move(value);
  Adopt(std::move(values));
}

void TSharedMarginArray::Adopt(TVMarginArray&& values) {
  const std::size_t hash = HashOf(values);
  if (auto known = Recent().Find(values, hash)) {
    values_ = std::move(known);
    return;
  }
  auto made = std::make_shared<const TVMarginArray>(std::move(values));
  Recent().Remember(made, hash);
  values_ = std::move(made);
}

}  // namespace engine
