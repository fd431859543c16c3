#include <gtest/gtest.h>

#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TGraphic.h"
#include "platform/win/text/FontObject.h"

namespace gui {
namespace {

std::unique_ptr<TBitmap> surface(int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(width, height);
  return bitmap;
}

TEST(GuiCanvas, PenAndBrushChangesAreReselected) {
  auto bitmap = surface(10, 10);
  TCanvas& canvas = bitmap->Canvas();
  canvas.Pen().SetColor(clRed);
  canvas.MoveTo(0, 1);
  canvas.LineTo(5, 1);
  const win::HPEN redPen = canvas.Pen().Handle();
  canvas.Pen().SetColor(clLime);
  // The red pen left the DC and its handle is gone.
  EXPECT_EQ(win::GetObjectType(redPen), 0u);
  canvas.MoveTo(0, 2);
  canvas.LineTo(5, 2);
  EXPECT_EQ(canvas.Pixels(2, 1), static_cast<win::COLORREF>(clRed));
  EXPECT_EQ(canvas.Pixels(2, 2), static_cast<win::COLORREF>(clLime));
  EXPECT_EQ(canvas.Pixels(5, 2), static_cast<win::COLORREF>(clWhite));  // end point left out

  canvas.Brush().SetColor(clBlue);
  canvas.Rectangle(0, 4, 4, 8);
  EXPECT_EQ(canvas.Pixels(1, 5), static_cast<win::COLORREF>(clBlue));
  EXPECT_EQ(canvas.Pixels(0, 5), static_cast<win::COLORREF>(clLime));  // the outline
  canvas.Brush().SetStyle(bsClear);
  canvas.Rectangle(5, 4, 9, 8);
  EXPECT_EQ(canvas.Pixels(6, 5), static_cast<win::COLORREF>(clWhite));
}

TEST(GuiCanvas, FontChangesReachTheDC) {
  auto bitmap = surface(200, 40);
  TCanvas& canvas = bitmap->Canvas();
  canvas.Font().SetName("Arial");
  canvas.Font().SetSize(10);
  const int small = canvas.TextWidth("Hello world");
  const win::HFONT first = canvas.Font().Handle();
  canvas.Font().SetSize(20);
  EXPECT_NE(canvas.Font().Handle(), first);
  const int large = canvas.TextWidth("Hello world");
  EXPECT_GT(large, small * 3 / 2);
  canvas.Font().SetColor(clRed);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(2, 2, "W");
  EXPECT_EQ(canvas.PenPos().x, 2 + canvas.TextWidth("W"));
  bool sawRed = false;
  for (int x = 2; x < 20; ++x)
    for (int y = 2; y < 38; ++y) sawRed |= canvas.Pixels(x, y) == static_cast<win::COLORREF>(clRed);
  EXPECT_TRUE(sawRed);
}

TEST(GuiCanvas, ClipRectFollowsTheDCsClip) {
  auto bitmap = surface(20, 10);
  TCanvas& canvas = bitmap->Canvas();
  EXPECT_EQ(canvas.ClipRect(), (win::RECT{0, 0, 20, 10}));
  win::IntersectClipRect(canvas.Handle(), 2, 3, 8, 9);
  EXPECT_EQ(canvas.ClipRect(), (win::RECT{2, 3, 8, 9}));
  canvas.Brush().SetColor(clBlack);
  canvas.FillRect(win::RECT{0, 0, 20, 10});
  EXPECT_EQ(canvas.Pixels(1, 1), 0xFFFFFFFFu);  // outside the clip: no colour
  win::SelectClipRgn(canvas.Handle(), 0);
  EXPECT_EQ(canvas.Pixels(1, 1), static_cast<win::COLORREF>(clWhite));
  EXPECT_EQ(canvas.Pixels(2, 3), static_cast<win::COLORREF>(clBlack));
}

TEST(GuiCanvas, HandlesStayWhileNothingChanges) {
  TFont font;
  const win::HFONT first = font.Handle();
  EXPECT_EQ(font.Handle(), first);
  font.SetName(font.Name());  // the same name is no change
  EXPECT_EQ(font.Handle(), first);
  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(clRed);  // a colour makes a clear brush solid
  EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(GuiCanvas, CanvasWithoutADCRefusesToDraw) {
  TCanvas canvas;
  EXPECT_THROW(canvas.FillRect(win::RECT{0, 0, 1, 1}), EInvalidOperation);
}

TEST(GuiCanvas, CopyRectStretchesWithCopyMode) {
  auto source = surface(2, 2);
  source->Canvas().SetPixel(0, 0, clRed);
  auto target = surface(4, 4);
  target->Canvas().CopyRect(win::RECT{0, 0, 4, 4}, source->Canvas(), win::RECT{0, 0, 2, 2});
  EXPECT_EQ(target->Canvas().Pixels(1, 1), static_cast<win::COLORREF>(clRed));
  EXPECT_EQ(target->Canvas().Pixels(3, 3), static_cast<win::COLORREF>(clWhite));
  target->Canvas().SetCopyMode(win::NOTSRCCOPY);
  target->Canvas().CopyRect(win::RECT{0, 0, 4, 4}, source->Canvas(), win::RECT{0, 0, 2, 2});
  EXPECT_EQ(target->Canvas().Pixels(3, 3), 0u);
}

TEST(GuiFont, SizeAndHeightDescribeOneSize) {
  TFont font;
  font.SetPixelsPerInch(96);
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -16);
  font.SetHeight(-20);
  EXPECT_EQ(font.Size(), 15);
  font.SetStyle(fsBold | fsItalic);
  win::LOGFONTW logFont{};
  ASSERT_EQ(win::GetObjectW(font.Handle(), sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
  EXPECT_EQ(logFont.lfHeight, -20);
  EXPECT_EQ(logFont.lfWeight, 700);
  EXPECT_EQ(logFont.lfItalic, 1);
  TFont copy;
  copy.Assign(&font);
  EXPECT_EQ(copy.Name(), font.Name());
  EXPECT_EQ(copy.Style(), fsBold | fsItalic);
  EXPECT_THROW(copy.Assign(nullptr), EConvertError);
}

class TTestGraphic : public TBitmap {};

TEST(GuiPicture, ExtensionsChooseTheGraphicClass) {
  TPicture::ResetFileFormats();
  EXPECT_NE(TPicture::FindFileFormat("BMP"), nullptr);
  EXPECT_EQ(TPicture::FindFileFormat("tst"), nullptr);
  TPicture::RegisterFileFormat("tst", "Test pictures", TGraphicClass::Of<TTestGraphic>());
  EXPECT_EQ(TPicture::FileFormatDescription("TST"), "Test pictures");

  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(3, 2);
  const std::string path = testing::TempDir() + "/gui_picture.tst";
  bitmap.SaveToFile(path);
  TPicture picture;
  picture.LoadFromFile(path);
  EXPECT_NE(dynamic_cast<TTestGraphic*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_THROW(picture.LoadFromFile(testing::TempDir() + "/x.unknown"), EInvalidGraphic);

  TPicture::UnregisterGraphicClass(typeid(TTestGraphic));
  EXPECT_EQ(TPicture::FindFileFormat("tst"), nullptr);
  TPicture::ResetFileFormats();
}

}  // namespace
}  // namespace gui
