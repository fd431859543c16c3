// Controls that follow their parent's colour: when they are parented, when
// the parent's colour changes (through every level that follows), and no
// longer once they are given a colour of their own.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/TCustomPanel.h"

namespace gui {
namespace {

TEST(GuiParentColor, ChildrenFollowTheirParentsColourUntilGivenTheirOwn) {
  auto outer = std::make_unique<TPanel>(nullptr);
  outer->SetColor(clRed);
  auto* middle = new TPanel(outer.get());
  middle->SetParentColor(true);
  middle->SetParent(outer.get());
  EXPECT_EQ(middle->Color(), clRed);
  auto* inner = new TPanel(outer.get());
  inner->SetParentColor(true);
  inner->SetParent(middle);
  auto* own = new TPanel(outer.get());
  own->SetColor(clBlue);
  own->SetParent(middle);

  outer->SetColor(clGreen);
  EXPECT_EQ(middle->Color(), clGreen);
  EXPECT_EQ(inner->Color(), clGreen);  // through the middle panel
  EXPECT_EQ(own->Color(), clBlue);
  EXPECT_TRUE(inner->ParentColor());

  inner->SetColor(clYellow);
  EXPECT_FALSE(inner->ParentColor());
  outer->SetColor(clWhite);
  EXPECT_EQ(middle->Color(), clWhite);
  EXPECT_EQ(inner->Color(), clYellow);
  inner->SetParentColor(true);
  EXPECT_EQ(inner->Color(), clWhite);
}

}  // namespace
}  // namespace gui
