// FlatSlotIndex against std::unordered_map as the model: random inserts,
// erases and moves over keys kept in a vector as its owners keep them, with
// hashes drawn from a small range so that probe chains collide and cross
// erased slots.
#include "engine/common/FlatSlotIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace engine {
namespace {

struct Keyed {
  int key;
  std::uint32_t hash;
};

int FindKey(const FlatSlotIndex& index, const std::vector<Keyed>& entries, int key, std::uint32_t hash) {
  return index.Find(hash, [&](int at) { return entries[static_cast<std::size_t>(at)].key == key; });
}

TEST(FlatSlotIndex, RandomOperationsMatchAStandardMap) {
  for (int number = 0; number < 200; ++number) {
    std::mt19937 random(static_cast<unsigned>(number));
    const std::uint32_t hashRange = 1 + random() % 64;
    const auto hashOf = [&](int key) { return static_cast<std::uint32_t>(key * 2654435761u) % hashRange; };
    FlatSlotIndex index;
    std::vector<Keyed> entries;           // the owner's vector: removal moves the last entry in
    std::unordered_map<int, int> model;   // key -> position in entries
    for (int step = 0; step < 600; ++step) {
      const int key = static_cast<int>(random() % 300);
      const auto found = model.find(key);
      if (random() % 3 != 0) {
        if (found == model.end()) {
          index.Insert(hashOf(key), static_cast<int>(entries.size()));
          model[key] = static_cast<int>(entries.size());
          entries.push_back({key, hashOf(key)});
        }
      } else if (found != model.end()) {
        const auto at = static_cast<std::size_t>(found->second);
        index.Erase(entries[at].hash, static_cast<int>(at));
        const std::size_t last = entries.size() - 1;
        if (at != last) {
          index.Move(entries[last].hash, static_cast<int>(last), static_cast<int>(at));
          entries[at] = entries[last];
          model[entries[at].key] = static_cast<int>(at);
        }
        entries.pop_back();
        model.erase(found);
      }
      if (random() % 200 == 0) {
        index.Clear();
        entries.clear();
        model.clear();
      }
      ASSERT_EQ(index.Count(), model.size()) << "case " << number << " step " << step;
    }
    for (int key = 0; key < 300; ++key) {
      const auto found = model.find(key);
      EXPECT_EQ(FindKey(index, entries, key, hashOf(key)), found == model.end() ? -1 : found->second)
          << "case " << number << " key " << key;
    }
  }
}

TEST(FlatSlotIndex, EmptyIndexFindsNothing) {
  FlatSlotIndex index;
  EXPECT_EQ(index.Find(7, [](int) { return true; }), -1);
  index.Erase(7, 0);
  index.Move(7, 0, 1);
  EXPECT_EQ(index.Count(), 0u);
}

}  // namespace
}  // namespace engine
