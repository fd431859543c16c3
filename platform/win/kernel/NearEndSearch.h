#pragma once
// Finding an element of a long list that is most likely near one of its ends:
// lists of children and owned components lose their members mostly in the
// order they came or the reverse, so looking from both ends at once finds
// them in a few steps where a search from one end would walk the whole list.
#include <cstddef>
#include <vector>

namespace win {

// The position of the first match found looking inwards from both ends;
// list.end() when there is none.
template <typename T>
typename std::vector<T>::iterator findFromEnds(std::vector<T>& list, const T& value) {
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
template <typename T>
bool eraseFromEnds(std::vector<T>& list, const T& value) {
  const auto found = findFromEnds(list, value);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

}  // namespace win
