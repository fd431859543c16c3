#include "engine/css/TSharedMarginArray.h"

#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "engine/css/CssValues.h"

namespace engine {
namespace {

constexpr std::size_t kFirstSideStyle = BoxIndex(Prop::BorderTopStyle);

std::size_t NumberPart(int number) { return std::size_t{2} ^ (std::hash<int>{}(number) << 2); }

// Only to pass over most arrays without comparing them: a text counts by its length and its
// ends, which tell a block's few texts ("2em", "auto", "1px") apart well enough.
[[gnu::always_inline]] inline std::size_t HashPart(const TPropValue& value) {
  std::size_t part = value.index();
  if (const int* number = std::get_if<int>(&value)) {
    part = NumberPart(*number);
  } else if (const double* real = std::get_if<double>(&value)) {
    // Zeros of either sign are equal values: they must hash alike.
    part ^= (*real == 0 ? 0 : std::bit_cast<std::uint64_t>(*real)) << 2;
  } else if (const std::string* text = TextOf(value); text && !text->empty()) {
    const auto first = static_cast<unsigned char>(text->front());
    const auto last = static_cast<unsigned char>(text->back());
    part ^= (text->size() * 131 + first * 7 + last) << 2;
  }
  return part;
}

std::size_t HashOf(const TVMarginArray& values) {
  std::size_t hash = 0;
  for (const TPropValue& value : values) hash = hash * 1000003u ^ HashPart(value);
  return hash;
}

// The box values of a TProperties as GetMarginArray would copy them, read in place: a
// block whose values an earlier block holds already then copies nothing.
class BoxValuesOf {
 public:
  explicit BoxValuesOf(const TProperties& properties) : properties_(properties) {
    for (std::size_t side = 0; side < 4; ++side) sideStyles_[side] = BorderSideStyle(Raw(kFirstSideStyle + side));
  }
  std::size_t Hash() const {
    std::size_t hash = 0;
    for (std::size_t index = 0; index < kMarginArraySize; ++index)
      hash = hash * 1000003u ^ (IsSideStyle(index) ? NumberPart(SideStyle(index)) : HashPart(Raw(index)));
    return hash;
  }
  bool SameAs(const TVMarginArray& values) const {
    for (std::size_t index = 0; index < kMarginArraySize; ++index) {
      if (IsSideStyle(index)) {
        const int* number = std::get_if<int>(&values[index]);
        if (!number || *number != SideStyle(index)) return false;
      } else if (!SameValue(values[index], Raw(index))) {
        return false;
      }
    }
    return true;
  }

 private:
  static bool IsSideStyle(std::size_t index) { return index - kFirstSideStyle < 4; }
  int SideStyle(std::size_t index) const { return sideStyles_[index - kFirstSideStyle]; }
  const TPropValue& Raw(std::size_t index) const {
    return properties_.Props[static_cast<std::size_t>(kFirstMarginProp) + index];
  }
  const TProperties& properties_;
  std::array<int, 4> sideStyles_{};
};

// The arrays made last. A document's blocks repeat a handful of kinds (paragraph,
// heading, list item...), so a short list finds nearly every repeat; what it misses
// only costs its own copy. The list holds a few arrays at most, whatever the input.
class RecentArrays {
 public:
  // values is a TVMarginArray or a BoxValuesOf.
  template <class Values>
  std::shared_ptr<const TVMarginArray> Find(const Values& values, std::size_t hash) const {
    for (const Entry& entry : entries_)
      if (entry.values && entry.hash == hash && Same(values, *entry.values)) return entry.values;
    return nullptr;
  }
  void Remember(std::shared_ptr<const TVMarginArray> values, std::size_t hash) {
    entries_[next_] = Entry{std::move(values), hash};
    next_ = (next_ + 1) % entries_.size();
  }

  // The array the last block of a kind (its tag and classes) took, when the values are
  // those again: blocks of a kind mostly are alike, and comparing costs less than hashing.
  std::shared_ptr<const TVMarginArray> FindOfKind(const BoxValuesOf& values, std::size_t kind) const {
    const KindEntry& entry = kinds_[kind % kinds_.size()];
    if (entry.values && entry.kind == kind && values.SameAs(*entry.values)) return entry.values;
    return nullptr;
  }
  void RememberKind(std::size_t kind, const std::shared_ptr<const TVMarginArray>& values) {
    kinds_[kind % kinds_.size()] = KindEntry{values, kind};
  }

 private:
  static bool Same(const TVMarginArray& values, const TVMarginArray& held) {
    for (std::size_t index = 0; index < kMarginArraySize; ++index)
      if (!SameValue(values[index], held[index])) return false;
    return true;
  }
  static bool Same(const BoxValuesOf& values, const TVMarginArray& held) { return values.SameAs(held); }
  struct Entry {
    std::shared_ptr<const TVMarginArray> values;
    std::size_t hash = 0;
  };
  std::array<Entry, 16> entries_{};
  std::size_t next_ = 0;
  struct KindEntry {
    std::shared_ptr<const TVMarginArray> values;
    std::size_t kind = 0;
  };
  std::array<KindEntry, 16> kinds_{};
};

// The tag and classes of a block, summed up by length and end letters.
std::size_t KindOf(const TProperties& properties) {
  const auto summary = [](const std::string& text) -> std::size_t {
    if (text.empty()) return 0;
    return text.size() ^ std::size_t{static_cast<unsigned char>(text.front())} << 8 ^
           std::size_t{static_cast<unsigned char>(text.back())} << 16;
  };
  const std::size_t kind = (summary(properties.PropTag) * 0x9E3779B97F4A7C15ull) ^ summary(properties.PropClass);
  return kind ^ kind >> 29;
}

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

void TSharedMarginArray::ForgetRecentArrays() { Recent() = RecentArrays{}; }

void TSharedMarginArray::Load(const TProperties& properties) {
  const BoxValuesOf boxValues(properties);
  RecentArrays& recent = Recent();
  const std::size_t kind = KindOf(properties);
  if (auto known = recent.FindOfKind(boxValues, kind)) {
    values_ = std::move(known);
    return;
  }
  if (auto known = recent.Find(boxValues, boxValues.Hash())) {
    values_ = std::move(known);
  } else {
    TVMarginArray values;
    GetMarginArray(properties, values);
    Adopt(std::move(values));
  }
  recent.RememberKind(kind, values_);
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
