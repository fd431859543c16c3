// The memo of converted box values: a direct-mapped table of recent answers. An entry
// holds its array, so the array's address names it for as long as the entry lives.
#include "engine/document/BoxValuesMemo.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "engine/css/CssValues.h"

namespace engine {
namespace {

bool IsLength(std::size_t index) {
  return (index >= BoxIndex(Prop::MarginTop) && index <= BoxIndex(Prop::BorderLeftWidth)) ||
         (index >= BoxIndex(Prop::Width) && index <= BoxIndex(Prop::Left));
}

struct Entry {
  std::shared_ptr<const TVMarginArray> margins;
  int width = 0;
  int height = 0;
  int em = 0;
  int ex = 0;
  TBoxResult result;
};

// A document's blocks come in a few kinds at a few widths: a small table finds
// nearly every repeat, and a miss costs only the conversion it stands for.
constexpr std::size_t kEntries = 256;
using Memo = std::array<Entry, kEntries>;

Memo& TheMemo() {
  thread_local Memo memo;
  return memo;
}

std::size_t SlotOf(const void* margins, int width, int height, int em, int ex) {
  std::uint64_t hash = reinterpret_cast<std::uintptr_t>(margins) >> 4;
  for (int value : {width, height, em, ex}) hash = (hash ^ static_cast<std::uint32_t>(value)) * 0x9E3779B97F4A7C15u;
  return static_cast<std::size_t>(hash >> 56) % kEntries;
}

}  // namespace

const TBoxResult& ClampedBoxValues(const TSharedMarginArray& margins, int containingWidth, int containingHeight,
                                   int em, int ex) {
  const std::shared_ptr<const TVMarginArray>& shared = margins.Shared();
  Entry& entry = TheMemo()[SlotOf(shared.get(), containingWidth, containingHeight, em, ex)];
  if (entry.margins == shared && entry.width == containingWidth && entry.height == containingHeight &&
      entry.em == em && entry.ex == ex)
    return entry.result;
  entry.result = ComputeBoxValues(*shared, containingWidth, containingHeight, em, ex);
  for (std::size_t index = 0; index < entry.result.Values.size(); ++index) {
    int& value = entry.result.Values[index];
    if (IsLength(index) && value != kAutoValue) value = std::clamp(value, -kMaxBoxValue, kMaxBoxValue);
  }
  entry.margins = shared;
  entry.width = containingWidth;
  entry.height = containingHeight;
  entry.em = em;
  entry.ex = ex;
  return entry.result;
}

namespace {

struct PaddingEntry {
  std::shared_ptr<const TVMarginArray> margins;
  int em = 0;
  int ex = 0;
  TBoxValues result{};
};

constexpr std::size_t kPaddingEntries = 64;
using PaddingMemo = std::array<PaddingEntry, kPaddingEntries>;

PaddingMemo& ThePaddingMemo() {
  thread_local PaddingMemo memo;
  return memo;
}

}  // namespace

const TBoxValues& PaddingValues(const TSharedMarginArray& margins, int em, int ex) {
  const std::shared_ptr<const TVMarginArray>& shared = margins.Shared();
  PaddingEntry& entry = ThePaddingMemo()[SlotOf(shared.get(), 0, 0, em, ex) % kPaddingEntries];
  if (entry.margins == shared && entry.em == em && entry.ex == ex) return entry.result;
  entry.result = ComputePaddings(*shared, em, ex);
  entry.margins = shared;
  entry.em = em;
  entry.ex = ex;
  return entry.result;
}

void ForgetBoxValues() {
  TheMemo() = Memo();
  ThePaddingMemo() = PaddingMemo();
}

}  // namespace engine
