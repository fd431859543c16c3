#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/win/kernel/HandleSlots.h"

using win::HandleSlots;

TEST(HandleSlots, ManyLiveObjectsKeepTheirOwnHandles) {
  HandleSlots<int> table;
  std::vector<std::uint32_t> handles;
  for (int i = 0; i < 100; ++i) handles.push_back(table.add(std::make_unique<int>(i)));
  EXPECT_EQ(std::set<std::uint32_t>(handles.begin(), handles.end()).size(), handles.size());
  for (int i = 0; i < 100; ++i) {
    ASSERT_NE(table.get(handles[i]), nullptr) << i;
    EXPECT_EQ(*table.get(handles[i]), i);
  }
  // A freed slot is reused under a new handle; the old one stays refused.
  ASSERT_NE(table.remove(handles[10]), nullptr);
  const std::uint32_t reused = table.add(std::make_unique<int>(-1));
  EXPECT_NE(reused, handles[10]);
  EXPECT_EQ(table.get(handles[10]), nullptr);
  EXPECT_EQ(*table.get(reused), -1);
  EXPECT_EQ(table.get(0), nullptr);
}
