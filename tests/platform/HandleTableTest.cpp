#include "platform/win/HandleTable.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

TEST(HandleTable, ManyObjectsStayReachableThroughTheirHandles) {
  win::HandleTable<int> table;
  std::vector<std::uint32_t> handles;
  for (int i = 0; i < 1000; ++i) handles.push_back(table.add(std::make_unique<int>(i)));
  for (int i = 0; i < 1000; ++i) {
    ASSERT_NE(handles[i], 0u);
    ASSERT_NE(table.get(handles[i]), nullptr);
    EXPECT_EQ(*table.get(handles[i]), i);
  }
}

TEST(HandleTable, StaleAndForeignHandlesAreRefused) {
  win::HandleTable<int> table;
  const std::uint32_t first = table.add(std::make_unique<int>(1));
  EXPECT_EQ(table.get(0), nullptr);
  EXPECT_EQ(table.get(first + 77), nullptr);
  ASSERT_NE(table.remove(first), nullptr);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(table.remove(first), nullptr);
  // The slot is reused under a new generation; the old handle stays dead.
  const std::uint32_t second = table.add(std::make_unique<int>(2));
  EXPECT_NE(second, first);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(*table.get(second), 2);
}

TEST(HandleTable, ManyLiveObjectsKeepTheirOwnHandles) {
  win::HandleTable<int> table;
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

}  // namespace
