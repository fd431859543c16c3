// OffsetVector against a plain vector: the same random inserts and erases at
// both ends and in the middle give the same elements in the same order.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/win/kernel/OffsetVector.h"

namespace {

TEST(OffsetVector, BehavesAsAVectorUnderRandomEdits) {
  for (unsigned run = 1; run <= 20; ++run) {
    std::mt19937 random(run);
    win::OffsetVector<int> list;
    std::vector<int> model;
    for (int step = 0; step < 3000; ++step) {
      const unsigned action = random() % 6;
      const std::size_t size = model.size();
      const std::size_t at = size == 0 ? 0 : random() % (size + 1);
      if (action == 0) {
        list.push_back(step);
        model.push_back(step);
      } else if (action <= 2) {
        // Mostly at the front, where the offset matters.
        const std::size_t place = action == 1 ? 0 : at;
        list.insert(list.begin() + place, step);
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(place), step);
      } else if (size > 0) {
        const std::size_t place = action == 3 ? 0 : (action == 4 ? size - 1 : at % size);
        list.erase(list.begin() + place);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(place));
      }
      ASSERT_EQ(std::vector<int>(list), model) << "run " << run << " step " << step;
    }
    list.eraseIf([](int value) { return value % 2 == 0; });
    std::erase_if(model, [](int value) { return value % 2 == 0; });
    ASSERT_EQ(std::vector<int>(list), model) << "run " << run;
  }
}

}  // namespace
