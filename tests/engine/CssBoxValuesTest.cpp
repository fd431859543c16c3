#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssValues.h"
#include "engine/css/TSharedMarginArray.h"
#include "engine/css/TProperties.h"

namespace engine {
namespace {

TBoxResult Box(const TProperties& p, int width = 400, int height = 200) {
  TVMarginArray margins;
  GetMarginArray(p, margins);
  return ComputeBoxValues(margins, width, height, 16, 8);
}

int At(const TBoxResult& box, Prop p) { return box.Values[BoxIndex(p)]; }

TEST(BoxValues, UnsetBoxes) {
  TProperties p;
  TBoxResult box = Box(p);
  EXPECT_EQ(At(box, Prop::MarginTop), 0);
  EXPECT_EQ(At(box, Prop::MarginLeft), 0);
  EXPECT_EQ(At(box, Prop::PaddingLeft), 0);
  EXPECT_EQ(At(box, Prop::BorderTopWidth), 0);  // no border style
  EXPECT_EQ(At(box, Prop::Width), kAutoValue);
  EXPECT_EQ(At(box, Prop::Left), kAutoValue);
  EXPECT_EQ(static_cast<TColor>(At(box, Prop::BackgroundColor)), kNoColor);
  EXPECT_EQ(box.AutoCount, 1);
  EXPECT_FALSE(box.CollapseMargin);
}

TEST(BoxValues, LengthsAutoAndParagraphSpace) {
  TProperties p;
  p.Value(Prop::MarginTop) = kParagraphSpace;
  p.SetPropertyByName("margin-bottom", "2em");
  p.SetPropertyByName("margin-left", "auto");
  p.SetPropertyByName("margin-right", "10%");
  p.SetPropertyByName("padding-top", "3px");
  p.SetPropertyByName("width", "50%");
  p.SetPropertyByName("top", "25%");
  p.SetPropertyByName("left", "1in");
  TBoxResult box = Box(p);
  EXPECT_EQ(At(box, Prop::MarginTop), kParagraphSpacePixels);
  EXPECT_TRUE(box.CollapseMargin);
  EXPECT_EQ(At(box, Prop::MarginBottom), 32);
  EXPECT_EQ(At(box, Prop::MarginLeft), kAutoValue);
  EXPECT_EQ(At(box, Prop::MarginRight), 40);
  EXPECT_EQ(At(box, Prop::PaddingTop), 3);
  EXPECT_EQ(At(box, Prop::Width), 200);
  EXPECT_EQ(At(box, Prop::Top), 50);
  EXPECT_EQ(At(box, Prop::Left), 96);
  EXPECT_EQ(box.AutoCount, 1);
}

TEST(BoxValues, BorderWidthsNeedAStyle) {
  TProperties p;
  p.SetPropertyByName("border-top-style", "solid");
  p.SetPropertyByName("border-bottom-style", "dotted");
  p.SetPropertyByName("border-left-style", "none");
  p.SetPropertyByName("border-top-width", "thick");
  p.SetPropertyByName("border-left-width", "9px");
  TBoxResult box = Box(p);
  EXPECT_EQ(At(box, Prop::BorderTopWidth), 6);
  EXPECT_EQ(At(box, Prop::BorderBottomWidth), 4);  // unset width of a styled side
  EXPECT_EQ(At(box, Prop::BorderLeftWidth), 0);
  EXPECT_EQ(At(box, Prop::BorderTopStyle), 1);
  EXPECT_EQ(At(box, Prop::BorderBottomStyle), 7);
}

TEST(BoxValues, PercentageHeightLeavesRoomForPaddingAndBorders) {
  TProperties p;
  p.SetPropertyByName("height", "50%");
  p.SetPropertyByName("padding-top", "5px");
  p.SetPropertyByName("padding-bottom", "5px");
  p.SetPropertyByName("border-style", "solid");
  p.SetPropertyByName("border-top-width", "2px");
  p.SetPropertyByName("border-bottom-width", "2px");
  EXPECT_EQ(At(Box(p, 400, 200), Prop::Height), 100 - 14);
  p.SetPropertyByName("height", "30px");
  EXPECT_EQ(At(Box(p), Prop::Height), 30);
}

TEST(BoxValues, NarrowerForms) {
  TProperties p;
  p.SetPropertyByName("padding-left", "50%");
  p.SetPropertyByName("padding-top", "4px");
  TVMarginArray margins;
  GetMarginArray(p, margins);
  TBoxValues paddings = ComputePaddings(margins, 16, 8);
  EXPECT_EQ(paddings[BoxIndex(Prop::PaddingLeft)], -50);
  EXPECT_EQ(paddings[BoxIndex(Prop::PaddingTop)], 4);
  EXPECT_EQ(paddings[BoxIndex(Prop::PaddingRight)], -1);
  p.SetPropertyByName("width", "auto");
  TBoxResult sizes = ComputeMarginsAndSizes(margins, 400, 200, 16, 8);
  EXPECT_EQ(sizes.AutoCount, 1);
}

TEST(BoxValues, BackgroundPosition) {
  TProperties p;
  TBackgroundPosition position = GetBackgroundPos(p, 16, 8);
  EXPECT_EQ(position.X.PosType, 6);
  EXPECT_EQ(position.Y.PosType, 6);
  EXPECT_EQ(position.X.Value, 0);
  EXPECT_TRUE(position.X.RepeatD);

  auto with = [&p](const char* text) {
    p.SetPropertyByName("background-position", text);
    return GetBackgroundPos(p, 16, 8);
  };
  position = with("30% 10px");
  EXPECT_EQ(position.X.PosType, 5);
  EXPECT_EQ(position.X.Value, 30);
  EXPECT_EQ(position.Y.PosType, 6);
  EXPECT_EQ(position.Y.Value, 10);
  position = with("top left");
  EXPECT_EQ(position.X.PosType, 3);
  EXPECT_EQ(position.Y.PosType, 0);
  position = with("20% right");
  EXPECT_EQ(position.X.PosType, 4);
  EXPECT_EQ(position.Y.PosType, 5);
  EXPECT_EQ(position.Y.Value, 20);
  position = with("bottom");
  EXPECT_EQ(position.Y.PosType, 2);
  EXPECT_EQ(position.X.PosType, 1);
  position = with("center");
  EXPECT_EQ(position.X.PosType, 1);
  EXPECT_EQ(position.Y.PosType, 1);

  p.SetPropertyByName("background-repeat", "repeat-x");
  p.SetPropertyByName("background-attachment", "fixed");
  position = GetBackgroundPos(p, 16, 8);
  EXPECT_TRUE(position.X.RepeatD);
  EXPECT_FALSE(position.Y.RepeatD);
  EXPECT_TRUE(position.X.Fixed && position.Y.Fixed);
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST(SharedMarginArray, EqualBoxesAreHeldOnceAndAChangeTouchesOnlyItsOwner) {
  TProperties p;
  p.SetPropertyByName("margin-left", "2em");
  p.SetPropertyByName("border-top-style", "solid");
  TSharedMarginArray first, second, other;
  first.Load(p);
  second.Load(p);
  EXPECT_TRUE(first.SharesWith(second));
  EXPECT_EQ(std::get<int>(first[BoxIndex(Prop::BorderTopStyle)]), std::get<int>(second[BoxIndex(Prop::BorderTopStyle)]));

  second.Set(BoxIndex(Prop::MarginLeft), 16);
  EXPECT_FALSE(first.SharesWith(second));
  EXPECT_EQ(std::get<TPropText>(first[BoxIndex(Prop::MarginLeft)]).Text(), "2em");
  EXPECT_EQ(std::get<int>(second[BoxIndex(Prop::MarginLeft)]), 16);
  // The box values computed from each stay each block's own.
  EXPECT_EQ(ComputeBoxValues(first, 400, 200, 16, 8).Values[BoxIndex(Prop::MarginLeft)], 32);
  EXPECT_EQ(ComputeBoxValues(second, 400, 200, 16, 8).Values[BoxIndex(Prop::MarginLeft)], 16);

  // Setting a value back makes it equal again, and equal arrays are found again.
  second.Set(BoxIndex(Prop::MarginLeft), std::string("2em"));
  EXPECT_TRUE(first.SharesWith(second));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(other[BoxIndex(Prop::MarginLeft)]));
}

TEST(SharedMarginArray, BoxesAlikeOnceTheirSideStylesAreNumberedShareOneArray) {
  TProperties none, unknown, dashed;
  none.SetPropertyByName("border-left-style", "none");
  unknown.SetPropertyByName("border-left-style", "wavy");
  dashed.SetPropertyByName("border-left-style", "dashed");
  TSharedMarginArray first, second, third;
  first.Load(none);
  second.Load(unknown);
  third.Load(dashed);
  EXPECT_TRUE(first.SharesWith(second));
  EXPECT_EQ(std::get<int>(second[BoxIndex(Prop::BorderLeftStyle)]), 0);
  EXPECT_FALSE(first.SharesWith(third));
  EXPECT_EQ(std::get<int>(third[BoxIndex(Prop::BorderLeftStyle)]), 6);
  // An array changed by Set is found only by equal values.
  third.Set(BoxIndex(Prop::MarginTop), std::string("1px"));
  TSharedMarginArray fourth;
  fourth.Load(dashed);
  EXPECT_FALSE(fourth.SharesWith(third));
  EXPECT_TRUE(std::holds_alternative<int>(fourth[BoxIndex(Prop::MarginTop)]));
}

TEST(SharedMarginArray, ManyDifferentBoxesStayCorrectPastTheRememberedFew) {
  std::vector<TSharedMarginArray> boxes(200);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    TProperties p;
    p.SetPropertyByName("padding-top", std::to_string(i) + "px");
    boxes[i].Load(p);
  }
  for (std::size_t i = 0; i < boxes.size(); ++i)
    EXPECT_EQ(ComputePaddings(boxes[i], 16, 8)[BoxIndex(Prop::PaddingTop)], static_cast<int>(i));
}

// Blocks of one tag and class mostly carry the same values, but not always: each takes
// the values it has, and blocks alike in values share one array whatever their kind.
TEST(SharedMarginArray, BlocksOfOneKindTakeTheirOwnValues) {
  const char* const tags[] = {"p", "div", "li"};
  const char* const classes[] = {"", "note", "api"};
  const char* const margins[] = {"1px", "2em", "1px", "auto"};
  std::vector<std::string> loaded;
  std::vector<TSharedMarginArray> boxes;
  for (int round = 0; round < 36; ++round) {
    TProperties p;
    p.PropTag = tags[round % 3];
    p.PropClass = classes[round / 3 % 3];
    const std::string margin = margins[round * 7 % 4];
    p.SetPropertyByName("margin-left", margin);
    boxes.emplace_back().Load(p);
    loaded.push_back(margin);
    const TPropText* text = std::get_if<TPropText>(&boxes.back()[BoxIndex(Prop::MarginLeft)]);
    ASSERT_TRUE(text) << "round " << round;
    EXPECT_EQ(text->Text(), margin) << "round " << round;
  }
  for (std::size_t a = 0; a < boxes.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      if (loaded[a] == loaded[b]) EXPECT_TRUE(boxes[a].SharesWith(boxes[b])) << a << " and " << b;
    }
  }
}

}  // namespace
}  // namespace engine
