// Table, cell and block backgrounds whose pictures cannot be had for lack of
// memory show as missing: the paint goes on and no error box appears.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "ViewerTestSupport.h"
#include "platform/win/user/MessageBoxes.h"

namespace viewer {
namespace {

using BackgroundMemory = viewertest::ViewerTest;

TEST_F(BackgroundMemory, AnAllocationFailureLeavesTheBackgroundOut) {
  int asked = 0;
  view().OnBitmapRequest = [&](gui::TObject*, const std::string&, std::unique_ptr<gui::TBitmap>&, gui::TColor&) {
    ++asked;
    throw std::bad_alloc();
  };
  win::clearMessageBoxRecords();
  load("<table background=t.png bgcolor=#00ff00 width=200><tr><td background=c.png>cell</td></tr></table>"
       "<div style=\"background-image: url(d.png); height: 20px\">block</div>");
  view().Repaint();
  pump();
  const int first = asked;
  EXPECT_GE(first, 1);
  EXPECT_TRUE(win::messageBoxRecords().empty());
  EXPECT_EQ(pixel(20, 12) & 0xFFFFFF, 0x00FF00u);  // the table keeps its colour
  view().Repaint();
  pump();
  EXPECT_EQ(asked, first);  // not asked again at every paint
}

}  // namespace
}  // namespace viewer
