#include "engine/paint/TextDrawing.h"

#include <gtest/gtest.h>

#include "platform/gui/TBitmap.h"
#include "platform/win/Gdi.h"
#include "engine/common/EngineStartup.h"
#include "platform/win/text/FontObject.h"

namespace engine {
namespace {

// A memory DC with a bitmap and a 16-pixel font.
class TextDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = win::CreateCompatibleDC(0);
    bitmap_ = win::CreateCompatibleBitmap(dc_, 200, 100);
    win::SelectObject(dc_, bitmap_);
    font_ = win::CreateFontW(-16, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0,
                             reinterpret_cast<const win::WCHAR*>(u"Arial"));
    win::SelectObject(dc_, font_);
  }
  void TearDown() override {
    IsWin9x = IsWin95 = false;
    win::DeleteDC(dc_);
    win::DeleteObject(font_);
    win::DeleteObject(bitmap_);
  }
  win::HDC dc_ = 0;
  win::HBITMAP bitmap_ = 0;
  win::HFONT font_ = 0;
};

TEST_F(TextDrawingTest, FittingCharactersOnBothFamilies) {
  const char16_t* text = u"Hello wide world";
  const int count = 16;
  const int full = TextWidth(dc_, text, count);
  ASSERT_GT(full, 0);
  for (bool win9x : {false, true}) {
    SCOPED_TRACE(win9x);
    IsWin9x = win9x;
    int extent = -1;
    EXPECT_EQ(CountFittingChars(dc_, text, count, 0, extent), 0);
    EXPECT_EQ(extent, 0);
    EXPECT_EQ(CountFittingChars(dc_, text, 0, 100, extent), 0);
    EXPECT_EQ(extent, 0);
    EXPECT_EQ(CountFittingChars(dc_, text, count, full + 50, extent), count);
    EXPECT_EQ(extent, full);
    // Exactly the width of five characters: five fit, with that extent.
    const int five = TextWidth(dc_, text, 5);
    EXPECT_EQ(CountFittingChars(dc_, text, count, five, extent), 5);
    EXPECT_EQ(extent, five);
    EXPECT_EQ(CountFittingChars(dc_, text, count, five + 1, extent), 5);
    EXPECT_EQ(extent, five);
    EXPECT_EQ(TextWidth(dc_, text, count), full);
  }
}

TEST(TextDrawingCanvas, ClipRegionNarrowsAndCombines) {
  gui::TBitmap bitmap;
  bitmap.SetSize(200, 100);
  gui::TCanvas& canvas = bitmap.Canvas();
  win::HRGN oldRegion = 1;
  win::HRGN newRegion = 0;
  SetClipRegion(canvas, win::RECT{10, 10, 50, 50}, false, oldRegion, newRegion);
  EXPECT_EQ(oldRegion, 0u);
  win::RECT box;
  win::GetClipBox(canvas.Handle(), &box);
  EXPECT_EQ(box, (win::RECT{10, 10, 50, 50}));
  win::HRGN innerOld = 0;
  win::HRGN innerNew = 0;
  SetClipRegion(canvas, win::RECT{30, 0, 100, 40}, false, innerOld, innerNew);
  EXPECT_NE(innerOld, 0u);
  win::GetClipBox(canvas.Handle(), &box);
  EXPECT_EQ(box, (win::RECT{30, 10, 50, 40}));
  win::SelectClipRgn(canvas.Handle(), 0);
  for (win::HRGN region : {newRegion, innerOld, innerNew}) win::DeleteObject(region);
}

TEST(TextDrawingCanvas, FillAndWrappedTextKeepTheCanvasState) {
  gui::TBitmap bitmap;
  bitmap.SetSize(100, 60);
  gui::TCanvas& canvas = bitmap.Canvas();
  canvas.Brush().SetColor(gui::clBlack);
  canvas.Brush().SetStyle(gui::bsClear);
  FillRectWithColor(canvas, 0, 0, 10, 10, win::RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixels(5, 5), win::RGB(255, 0, 0));
  EXPECT_NE(canvas.Pixels(10, 10), win::RGB(255, 0, 0));
  EXPECT_EQ(canvas.Brush().Color(), gui::clBlack);
  EXPECT_EQ(canvas.Brush().Style(), gui::bsClear);
  win::SetTextAlign(canvas.Handle(), 8);
  DrawWrappedText(canvas, 0, 0, 60, 60, u"some words to wrap", 18);
  EXPECT_EQ(win::GetTextAlign(canvas.Handle()), 8u);
}

}  // namespace
}  // namespace engine
