// Named anchors and the selection sinks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/document/SelTextBuf.h"
#include "engine/document/TChPosObj.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "tests/engine/document/FakeSection.h"

namespace engine {
namespace {

TEST(SelectionSinks, CountAndBufferBothDropMarksAndBreaks) {
  const char16_t text[] = {u'A', 2, u'B', 8, u'C'};
  SelTextCount count;
  count.Append(text, 5);
  count.AppendLine(nullptr, 0);
  EXPECT_EQ(count.Finish(), 5);  // what the copy below writes
  char16_t buffer[8] = {};
  SelTextBuf copy(buffer, 8);
  copy.Append(text, 5);
  copy.AppendLine(nullptr, 0);
  EXPECT_EQ(copy.Finish(), 6);
  EXPECT_EQ(std::u16string(buffer), u"ABC\r\n");
}

TEST(SelectionSinks, BufferNeverWritesPastItsRoom) {
  char16_t one[1] = {u'x'};
  SelTextBuf tiny(one, 1);
  tiny.Append(u"abc", 3);
  EXPECT_EQ(tiny.Finish(), 1);
  EXPECT_EQ(one[0], 0);
  char16_t three[3] = {};
  SelTextBuf small(three, 3);
  small.Append(u"abcdef", 6);
  EXPECT_EQ(small.Finish(), 3);
  EXPECT_EQ(std::u16string(three), u"ab");
  // No room at all: nothing written, nothing counted.
  SelTextBuf none(nullptr, 0);
  none.Append(u"abc", 3);
  EXPECT_EQ(none.Finish(), 0);
  SelTextBuf negative(three, -4);
  negative.Append(u"abc", 3);
  EXPECT_EQ(negative.Finish(), 0);
}

TEST(Anchors, LastRegistrationOfANameWinsWhateverItsCase) {
  TSectionList root(nullptr, nullptr);
  TIDNameList& anchors = *root.IDNameList;
  anchors.AddPositionAnchor("Top", 5);
  anchors.AddPositionAnchor("TOP", 9);
  EXPECT_EQ(anchors.Count(), 1);
  auto* anchor = dynamic_cast<TChPosObj*>(anchors.Find("top"));
  ASSERT_NE(anchor, nullptr);
  EXPECT_EQ(anchor->Position, 9);
  testing::FakeSection section(&root, 10, 0);
  anchors.AddObject("top", &section);
  EXPECT_EQ(anchors.Find("Top"), &section);
}

TEST(Anchors, AnObjectFreedElsewhereLeavesTheList) {
  TSectionList root(nullptr, nullptr);
  TIDNameList& anchors = *root.IDNameList;
  auto section = std::make_unique<testing::FakeSection>(&root, 10, 0);
  anchors.AddObject("a", section.get());
  anchors.AddObject("b", section.get());
  anchors.AddPositionAnchor("c", 1);
  section.reset();
  EXPECT_EQ(anchors.Find("a"), nullptr);
  EXPECT_EQ(anchors.Find("b"), nullptr);
  EXPECT_NE(anchors.Find("c"), nullptr);
  EXPECT_EQ(anchors.Count(), 1);
}

TEST(Anchors, ManyNamesKeepTheirObjectsThroughGrowthAndRemoval) {
  TSectionList root(nullptr, nullptr);
  TIDNameList& anchors = *root.IDNameList;
  std::vector<std::unique_ptr<testing::FakeSection>> sections;
  for (int i = 0; i < 300; ++i) {
    sections.push_back(std::make_unique<testing::FakeSection>(&root, 10, 0));
    anchors.AddObject("s" + std::to_string(i), sections.back().get());
    anchors.AddPositionAnchor("p" + std::to_string(i), i);
  }
  // Every third section goes; every fifth name is taken off explicitly.
  for (int i = 0; i < 300; i += 3) sections[static_cast<std::size_t>(i)].reset();
  for (int i = 0; i < 300; i += 5) anchors.AddObject("P" + std::to_string(i), nullptr);
  int expected = 0;
  for (int i = 0; i < 300; ++i) {
    const std::string number = std::to_string(i);
    const bool freed = i % 3 == 0;
    EXPECT_EQ(anchors.Find("S" + number), freed ? nullptr : sections[static_cast<std::size_t>(i)].get()) << i;
    auto* position = dynamic_cast<TChPosObj*>(anchors.Find("p" + number));
    if (i % 5 == 0) {
      EXPECT_EQ(position, nullptr) << i;
    } else {
      ASSERT_NE(position, nullptr) << i;
      EXPECT_EQ(position->Position, i);
    }
    expected += (freed ? 0 : 1) + (i % 5 == 0 ? 0 : 1);
  }
  EXPECT_EQ(anchors.Count(), expected);
}

TEST(Anchors, PositionAnchorInAnEmptyDocumentIsAtZero) {
  TSectionList root(nullptr, nullptr);
  root.IDNameList->AddPositionAnchor("x", 100);
  EXPECT_EQ(root.IDNameList->Find("x")->GetDocumentY(), 0);
}

}  // namespace
}  // namespace engine
