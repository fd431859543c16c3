#include "images/PngSave.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "LibPngReference.h"
#include "PngTestSupport.h"
#include "images/EPNGImageException.h"
#include "platform/gui/TGraphic.h"

namespace images {
namespace {

std::string tempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(getpid()) + ".png")).string();
}

TEST(PngSave, SurfacePixelsReachTheFileAsTheyWereDrawn) {
  win::Surface surface;
  ASSERT_TRUE(win::allocateSurface(surface, 3, 2, 0x000000));
  surface.rowPtr(0)[0] = 0x00FF0000;  // red
  surface.rowPtr(0)[2] = 0x000000FF;  // blue
  surface.rowPtr(1)[1] = 0x0012AB34;
  const std::string path = tempPath("surface");
  SaveSurfaceAsPng(surface, path);
  const testing::Rgb8Image read = testing::ReadPngRgb8(testing::ReadFileBytes(path));
  std::filesystem::remove(path);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.rgb, (std::vector<std::uint8_t>{255, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0x12, 0xAB, 0x34, 0, 0, 0}));
}

TEST(PngSave, PaletteBitmapsKeepTheirPaletteAndEmptyOnesAreRefused) {
  gui::TBitmap bitmap;
  bitmap.SetPixelFormat(gui::pf4bit);
  bitmap.SetSize(2, 1);
  testing::Row(bitmap, 0)[0] = 0x1F;
  std::vector<TPngColor> palette(16);
  palette[1] = {1, 2, 3};
  palette[15] = {250, 251, 252};
  bitmap.SetPalette(MakePalette(palette));
  const std::string path = tempPath("bitmap");
  SaveBitmapAsPng(bitmap, path);
  TPNGImage image;
  image.LoadFromFile(path);
  std::filesystem::remove(path);
  EXPECT_EQ(image.PixelFormat(), gui::pf4bit);
  EXPECT_EQ(testing::BitmapRgb(image), (std::vector<std::uint8_t>{1, 2, 3, 250, 251, 252}));

  EXPECT_THROW(SaveBitmapAsPng(gui::TBitmap(), tempPath("empty")), EPNGImageException);
  EXPECT_THROW(SaveSurfaceAsPng(win::Surface(), tempPath("empty")), EPNGImageException);
  EXPECT_FALSE(std::filesystem::exists(tempPath("empty")));
}

}  // namespace
}  // namespace images

namespace images {
namespace {

TEST(PngPicture, PictureOpensPngFilesAsPngImagesAndBitmapsTakeTheirPixels) {
  EXPECT_EQ(gui::TPicture::FileFormatDescription("PNG"), "Portable Network Graphics");
  win::Surface surface;
  ASSERT_TRUE(win::allocateSurface(surface, 2, 2, 0x00336699));
  const std::string path = tempPath("picture");
  SaveSurfaceAsPng(surface, path);
  gui::TPicture picture;
  picture.LoadFromFile(path);
  std::filesystem::remove(path);
  auto* png = dynamic_cast<TPNGImage*>(picture.Graphic());
  ASSERT_NE(png, nullptr);

  gui::TBitmap plain;
  plain.Assign(png);
  const std::vector<std::uint8_t> expected = {0x33, 0x66, 0x99, 0x33, 0x66, 0x99, 0x33, 0x66, 0x99, 0x33, 0x66, 0x99};
  EXPECT_EQ(testing::BitmapRgb(plain), expected);
}

}  // namespace
}  // namespace images
