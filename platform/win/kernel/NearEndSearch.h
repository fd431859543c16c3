#pragma once
// Finding an element of a long list that is most likely near one of its ends:
// lists of children and owned components lose their members mostly in the
// order they came or the reverse, so looking from both ends at once finds
// them in a few steps where a search from one end would walk the whole list.
// With an OffsetVector the erase is as cheap as the search.
#include <cstddef>
#include <vector>

namespace win {

// The position of the first match found looking inwards from both ends;
// list.end() when there is none. List: std::vector or OffsetVector.
template <typename List, typename T>
auto findFromEnds(List& list, const T& value) -> decltype(list.begin()) {
  std::size_t low = 0;
  std::size_t high = list.size();
  while (low < high) {
    if (list[low] == value) return list.begin() + static_cast<std::ptrdiff_t>(low);
    --high;
    if (list[high] == value) return list.begin() + static_cast<std::ptrdiff_t>(high);
    ++low;
  }
  return list.end();
}

// Erases one occurrence; false when there was none.
template <typename List, typename T>
bool eraseFromEnds(List& list, const T& value) {
  const auto found = findFromEnds(list, value);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

}  // namespace win
