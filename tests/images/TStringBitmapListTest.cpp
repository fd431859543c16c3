// The image cache: usage and access counts, ageing, limits, key matching and
// duplicate keys.
#include <gtest/gtest.h>

#include "images/TStringBitmapList.h"

namespace images {
namespace {

// An image that records its own destruction.
class TrackedImage : public gui::TObject {
 public:
  explicit TrackedImage(bool& freed) : freed_(freed) { freed_ = false; }
  ~TrackedImage() override { freed_ = true; }

 private:
  bool& freed_;
};

TBitmapItem* NewItem(bool& freed) {
  return new TBitmapItem(std::make_unique<TrackedImage>(freed), nullptr, mkNone);
}

class TStringBitmapListTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { cache.SetSorted(GetParam()); }
  // Declared before the cache, which may free images as the test ends.
  bool freed = false, first = false, second = false, aged = false, fresh = false, again = false;
  TStringBitmapList cache;
};

TEST_P(TStringBitmapListTest, UnusedEntriesLiveForTheLimitInDocuments) {
  const int index = cache.AddObject("a.gif", NewItem(freed));
  EXPECT_EQ(cache.Item(index)->UsageCount, 1);
  EXPECT_EQ(cache.Item(index)->AccessCount, 0);
  EXPECT_EQ(cache.CacheLimit(), 4);
  cache.ReleaseImage("a.gif");
  for (int i = 0; i < 4; ++i) cache.AgeAndPurge();
  EXPECT_FALSE(freed);
  EXPECT_EQ(cache.Count(), 1);
  cache.AgeAndPurge();
  EXPECT_TRUE(freed);
  EXPECT_EQ(cache.Count(), 0);
}

TEST_P(TStringBitmapListTest, EntriesInUseAreNeverFreed) {
  cache.AddObject("A.GIF", NewItem(freed));
  for (int i = 0; i < 20; ++i) cache.AgeAndPurge();
  cache.SetCacheLimit(0);
  EXPECT_FALSE(freed);
  // Using it again makes it young.
  cache.ReleaseImage("a.gif");
  const int index = cache.IndexOf("a.gif");
  ASSERT_GE(index, 0);
  EXPECT_NE(cache.UseImage(index), nullptr);
  EXPECT_EQ(cache.Item(index)->AccessCount, 0);
  EXPECT_EQ(cache.Item(index)->UsageCount, 1);
}

TEST_P(TStringBitmapListTest, SetCacheLimitFreesWhatWasAgedOnce) {
  cache.AddObject("old.png", NewItem(aged));
  cache.ReleaseImage("old.png");
  cache.AgeAndPurge();
  cache.AddObject("new.png", NewItem(fresh));
  cache.ReleaseImage("new.png");
  cache.SetCacheLimit(0);
  EXPECT_TRUE(aged);
  EXPECT_FALSE(fresh);
  EXPECT_EQ(cache.CacheLimit(), 0);
  cache.AgeAndPurge();
  EXPECT_TRUE(fresh);
}

TEST_P(TStringBitmapListTest, KeysAreTrimmedAndUpperCasedOnEveryPath) {
  cache.AddObject("  Pics/Logo.GIF ", NewItem(freed));
  EXPECT_EQ(cache.Strings(0), "PICS/LOGO.GIF");
  EXPECT_EQ(cache.IndexOf("pics/logo.gif"), 0);
  cache.ReleaseImage("nope");
  EXPECT_EQ(cache.Item(0)->UsageCount, 1);
  cache.ReleaseImage(" pics/logo.gif\t");
  EXPECT_EQ(cache.Item(0)->UsageCount, 0);
}

// A second entry for a key already present keeps both images alive; the
// entry counts both users and goes only when both are released.
TEST_P(TStringBitmapListTest, DuplicateKeysNeverFreeALiveImage) {
  cache.AddObject("a.gif", NewItem(first));
  cache.AddObject("A.GIF", NewItem(second));
  EXPECT_EQ(cache.Count(), 1);
  EXPECT_FALSE(second);
  cache.ReleaseImage("a.gif");
  cache.SetCacheLimit(0);
  for (int i = 0; i < 10; ++i) cache.AgeAndPurge();
  EXPECT_FALSE(first);
  EXPECT_FALSE(second);
  cache.ReleaseImage("a.gif");
  cache.AgeAndPurge();
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  cache.Clear();
  EXPECT_TRUE(second);
}

TEST_P(TStringBitmapListTest, ClearKeepsTheLimit) {
  cache.SetCacheLimit(7);
  cache.AddObject("a", NewItem(freed));
  cache.Clear();
  EXPECT_TRUE(freed);
  EXPECT_EQ(cache.CacheLimit(), 7);
  EXPECT_EQ(cache.AddObject("a", NewItem(again)), 0);
  EXPECT_EQ(cache.Item(0)->UsageCount, 1);
}

INSTANTIATE_TEST_SUITE_P(SortedAndUnsorted, TStringBitmapListTest, ::testing::Bool());

}  // namespace
}  // namespace images
