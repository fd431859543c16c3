// SmallVector against std::vector as the model: random sequences of the
// operations the engine uses, with a move-only element that counts its live
// copies, so that a lost, doubled or leaked element shows.
#include "engine/common/SmallVector.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace engine {
namespace {

int liveElements = 0;

// Move-only, like the engine's lines and runs; a moved-from element holds -1.
struct Counted {
  explicit Counted(int v = 0) : value(std::make_unique<int>(v)) { ++liveElements; }
  Counted(Counted&& other) noexcept : value(std::move(other.value)) { ++liveElements; }
  Counted& operator=(Counted&& other) noexcept {
    value = std::move(other.value);
    return *this;
  }
  ~Counted() { --liveElements; }
  int Value() const { return value ? *value : -1; }
  std::unique_ptr<int> value;
};

std::vector<int> Values(const SmallVector<Counted>& list) {
  std::vector<int> values;
  for (const Counted& element : list) values.push_back(element.Value());
  return values;
}

TEST(SmallVector, RandomOperationsMatchAStandardVector) {
  for (int number = 0; number < 300; ++number) {
    std::mt19937 random(static_cast<unsigned>(number));
    {
      SmallVector<Counted> list;
      std::vector<int> model;
      for (int step = 0; step < 40; ++step) {
        const int value = static_cast<int>(random() % 1000);
        switch (random() % 8) {
          case 0:
          case 1:
          case 2: list.emplace_back(value); model.push_back(value); break;
          case 3:
            if (!model.empty()) {
              const std::size_t at = random() % model.size();
              list.erase(list.begin() + at);
              model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
            }
            break;
          case 4: {
            const std::size_t count = random() % (model.size() + 1);
            list.resize(count);
            model.resize(count);
            break;
          }
          case 5: {  // moved whole: a heap block is taken over, an inline element moved
            SmallVector<Counted> moved(std::move(list));
            ASSERT_TRUE(list.empty()) << "case " << number;
            list = std::move(moved);
            break;
          }
          case 6: {
            SmallVector<Counted> other;
            other.emplace_back(value);
            list.swap(other);
            other.swap(list);
            break;
          }
          case 7:
            if (random() % 4 == 0) {
              list.clear();
              model.clear();
            }
            break;
        }
        ASSERT_EQ(Values(list), model) << "case " << number << " step " << step;
        ASSERT_GE(list.capacity(), list.size());
      }
    }
    ASSERT_EQ(liveElements, 0) << "case " << number;
  }
}

TEST(SmallVector, OneElementStaysInPlaceAndTheSecondMovesAllToTheHeap) {
  SmallVector<Counted> list;
  const Counted& first = list.emplace_back(7);
  EXPECT_EQ(static_cast<const void*>(&first), static_cast<const void*>(&list));
  EXPECT_EQ(list.capacity(), 1u);
  list.emplace_back(8);
  EXPECT_GT(list.capacity(), 1u);
  EXPECT_EQ(Values(list), (std::vector<int>{7, 8}));
  // Appending one at a time doubles the room: few moves for many elements.
  std::size_t growths = 0;
  std::size_t capacity = list.capacity();
  for (int i = 0; i < 1000; ++i) {
    list.emplace_back(i);
    if (list.capacity() != capacity) ++growths;
    capacity = list.capacity();
  }
  EXPECT_LE(growths, 10u);
}

TEST(SmallVector, AppendCopiesARangeAndCopiesAreDeep) {
  const int entries[] = {1, 2, 3, 4, 5};
  SmallVector<int> list;
  list.Append(entries, entries + 1);
  list.Append(entries + 1, entries + 5);
  EXPECT_EQ(std::vector<int>(list.begin(), list.end()), (std::vector<int>{1, 2, 3, 4, 5}));
  SmallVector<int> copy(list);
  copy[0] = 9;
  EXPECT_EQ(list[0], 1);
  SmallVector<int> single;
  single.push_back(3);
  copy = single;
  EXPECT_EQ(std::vector<int>(copy.begin(), copy.end()), (std::vector<int>{3}));
}

TEST(SmallVector, AHeapBlockIsAdoptedAndHandedBackWithTheElementsInExactRoom) {
  for (int count = 0; count < 4; ++count) {
    {
      SmallVector<Counted> list;
      for (int i = 0; i < count; ++i) list.emplace_back(i);
      Counted* block = std::allocator<Counted>().allocate(16);
      list.AdoptBlock(block, 16);
      EXPECT_EQ(list.capacity(), 16u);
      EXPECT_EQ(static_cast<const void*>(list.data()), static_cast<const void*>(block));
      std::vector<int> model;
      for (int i = 0; i < count; ++i) model.push_back(i);
      EXPECT_EQ(Values(list), model);
      std::size_t room = 0;
      Counted* given = list.GiveUpBlock(room);
      EXPECT_EQ(given, block);
      EXPECT_EQ(room, 16u);
      EXPECT_EQ(list.capacity(), count > 1 ? static_cast<std::size_t>(count) : 1u);
      EXPECT_EQ(Values(list), model);
      EXPECT_EQ(liveElements, count) << "the block holds no element any more";
      std::allocator<Counted>().deallocate(given, room);
      // Not on the heap: nothing to hand back.
      SmallVector<Counted> one;
      one.emplace_back(5);
      EXPECT_EQ(one.GiveUpBlock(room), nullptr);
      EXPECT_EQ(room, 0u);
      EXPECT_EQ(Values(one), (std::vector<int>{5}));
    }
    ASSERT_EQ(liveElements, 0) << "count " << count;
  }
}

}  // namespace
}  // namespace engine
