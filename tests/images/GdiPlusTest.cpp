// The GDI+ wrapper over the platform's GDI+ library: start and stop by count,
// loading files, drawing onto our DCs (mapping, clip, no spill, no alpha
// left behind), and the same pixels as our own PNG reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "LibPngReference.h"
#include "PngTestSupport.h"
#include "images/EGDIPlus.h"
#include "images/GdiPlusLibrary.h"
#include "images/ImageDrawing.h"
#include "images/TGpGraphics.h"
#include "images/TGpImage.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCanvas.h"

namespace images {
namespace {

namespace fs = std::filesystem;

// Lets GDI+ start (the test runner disables it) and puts everything back.
class GdiPlusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = std::getenv("PAGEWELL_NO_GDIPLUS")) saved_ = value;
    ::unsetenv("PAGEWELL_NO_GDIPLUS");
    ResetGDIPlusForTests();
    InitGDIPlus();
    if (!GdiPlusAvailable) GTEST_SKIP() << "the GDI+ library is not installed";
    folder_ = fs::temp_directory_path() / ("pagewell-gdiplus-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    ResetGDIPlusForTests();
    if (saved_) ::setenv("PAGEWELL_NO_GDIPLUS", saved_->c_str(), 1);
    if (!folder_.empty()) fs::remove_all(folder_);
  }
  std::string writeFile(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  fs::path folder_;

 private:
  std::optional<std::string> saved_;
};

std::string solidRgbaPng(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  testing::ReferenceImage image;
  image.width = static_cast<std::uint32_t>(width);
  image.height = static_cast<std::uint32_t>(height);
  image.colorType = 6;
  image.rows.assign(image.height, {});
  for (auto& row : image.rows)
    for (int x = 0; x < width; ++x) row.insert(row.end(), {r, g, b, a});
  return testing::WritePng(image);
}

// A white 32-bit canvas.
struct Canvas {
  gui::TBitmap bitmap;
  explicit Canvas(int width, int height) {
    bitmap.SetSize(width, height);
    win::PatBlt(dc(), 0, 0, width, height, win::WHITENESS);
  }
  win::HDC dc() { return bitmap.Canvas().Handle(); }
  std::uint32_t raw(int x, int y) {
    return reinterpret_cast<std::uint32_t*>(bitmap.ScanLine(y))[x];  // 0xAARRGGBB as stored
  }
};

TEST_F(GdiPlusTest, StartsOnceAndStopsWithTheLastUser) {
  InitGDIPlus();  // a second cache
  ExitGDIPlus();
  EXPECT_TRUE(GdiPlusAvailable);
  ExitGDIPlus();
  EXPECT_FALSE(GdiPlusAvailable);
  ExitGDIPlus();  // one too many changes nothing
  InitGDIPlus();  // a third cache starts it again
  EXPECT_TRUE(GdiPlusAvailable);
  auto blank = TGpBitmap::CreateBlank(3, 2);
  ExitGDIPlus();  // waits for the live image
  EXPECT_TRUE(GdiPlusAvailable);
  blank->SetPixel(1, 1, 0xFF00FF00);
  EXPECT_EQ(blank->GetPixel(1, 1), 0xFF00FF00u);
  blank.reset();
  EXPECT_FALSE(GdiPlusAvailable);
}

TEST_F(GdiPlusTest, DisabledOrMissingLibraryStaysQuietlyUnavailable) {
  ResetGDIPlusForTests();
  ::setenv("PAGEWELL_NO_GDIPLUS", "1", 1);
  InitGDIPlus();
  EXPECT_FALSE(GdiPlusAvailable);
  ExitGDIPlus();
  EXPECT_FALSE(GdiPlusAvailable);
}

TEST_F(GdiPlusTest, FileErrorsAndTemporaryFiles) {
  try {
    TGpImage missing("/nope.png", false);
    FAIL();
  } catch (const EGDIPlus& e) {
    EXPECT_EQ(e.Message(), "Image file /nope.png not found.");
  }
  const std::string corrupt = writeFile("corrupt.png", "\x89PNG\r\n\x1a\n garbage");
  try {
    TGpImage bad(corrupt, false);
    FAIL();
  } catch (const EGDIPlus& e) {
    EXPECT_EQ(e.Message(), "Can't load image file " + corrupt + ".");
  }
  // A header declaring 30000 x 30000 pixels is refused before GDI+ sees it.
  std::string huge = solidRgbaPng(1, 1, 0, 0, 0, 255);
  const char size[8] = {0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30};
  huge.replace(16, 8, size, 8);
  EXPECT_THROW(TGpImage(writeFile("huge.png", huge), false), EGDIPlus);

  const std::string kept = writeFile("kept.png", solidRgbaPng(2, 3, 1, 2, 3, 255));
  const std::string temporary = writeFile("temporary.png", solidRgbaPng(2, 3, 1, 2, 3, 255));
  {
    TGpImage image(kept, false);
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.Height(), 3);
    TGpImage deleting(temporary, true);
    fs::remove(kept.substr(0, 0) + temporary);  // already gone at free time: no error
  }
  EXPECT_TRUE(fs::exists(kept));
  const std::string removed = writeFile("removed.png", solidRgbaPng(1, 1, 1, 2, 3, 255));
  { TGpBitmap bitmap(removed, true); }
  EXPECT_FALSE(fs::exists(removed));
}

TEST_F(GdiPlusTest, TinySourceFillsExactlyItsRectangleWithoutAlpha) {
  TGpImage dot(writeFile("dot.png", solidRgbaPng(1, 1, 255, 0, 0, 255)), false);
  Canvas canvas(80, 80);
  {
    TGpGraphics graphics(canvas.dc());
    graphics.DrawImageStretched(dot, 10, 10, 50, 50);
  }
  int wrong = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 80; ++x) {
      const bool inside = x >= 10 && x < 60 && y >= 10 && y < 60;
      wrong += canvas.raw(x, y) != (inside ? 0x00FF0000u : 0x00FFFFFFu);
    }
  EXPECT_EQ(wrong, 0);

  TGpImage tile(writeFile("tile.png", solidRgbaPng(12, 12, 0, 0, 255, 255)), false);
  {
    TGpGraphics graphics(canvas.dc());
    graphics.DrawImageStretched(tile, 0, 0, 50, 50);
  }
  EXPECT_EQ(canvas.raw(25, 25), 0x000000FFu);
  EXPECT_EQ(canvas.raw(55, 55) >> 24, 0u);
}

TEST_F(GdiPlusTest, DrawingFollowsTheMappingAndTheClip) {
  TGpImage green(writeFile("green.png", solidRgbaPng(16, 16, 0, 255, 0, 255)), false);
  Canvas canvas(40, 40);
  win::SetViewportOrgEx(canvas.dc(), 5, 5, nullptr);
  win::IntersectClipRect(canvas.dc(), 0, 0, 10, 30);  // logical, so (5,5)-(15,35) on the surface
  {
    TGpGraphics graphics(canvas.dc());
    graphics.DrawImageRectRect(green, 0, 0, 20, 20, 0, 0, 16, 16);
  }
  // GDI+ softens the edges of a stretched image; inside it is exact.
  EXPECT_EQ(canvas.raw(10, 12), 0x0000FF00u);
  EXPECT_EQ(canvas.raw(14, 20), 0x0000FF00u);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (x < 5 || x >= 15 || y < 5 || y >= 25) {
        EXPECT_EQ(canvas.raw(x, y), 0x00FFFFFFu) << x << "," << y;
      }
}

TEST_F(GdiPlusTest, ImagesConvertOverWhite) {
  testing::ReferenceImage image;
  image.width = 2;
  image.height = 1;
  image.colorType = 6;
  image.rows = {{10, 20, 30, 255, 200, 100, 50, 0}};  // opaque, then fully transparent
  TGpImage png(writeFile("alpha.png", testing::WritePng(image)), false);
  std::unique_ptr<gui::TBitmap> bitmap = GpImageToBitmap(png);
  ASSERT_EQ(bitmap->Width(), 2);
  bitmap->SetPixelFormat(gui::pf24bit);
  const std::vector<std::uint8_t> rgb = testing::BitmapRgb(*bitmap);
  EXPECT_EQ(rgb, (std::vector<std::uint8_t>{10, 20, 30, 255, 255, 255}));
}

TEST_F(GdiPlusTest, RenderingHelpersScaleAndComposite) {
  testing::ReferenceImage image;
  image.width = 2;
  image.height = 2;
  image.colorType = 6;
  image.rows = {{0, 0, 255, 255, 0, 0, 0, 0}, {0, 0, 255, 255, 0, 0, 255, 255}};  // one transparent pixel
  TGpImage png(writeFile("render.png", testing::WritePng(image)), false);
  Canvas canvas(40, 40);
  RenderGpImageOnBackground(canvas.bitmap.Canvas(), png, 0, 0, 20, 20, gui::TColor(0x0000FF));  // red
  EXPECT_EQ(canvas.raw(15, 2), 0x00FF0000u);  // the transparent pixel shows the background
  EXPECT_EQ(canvas.raw(2, 15), 0x000000FFu);
  EXPECT_EQ(canvas.raw(25, 25), 0x00FFFFFFu);
  Canvas printed(40, 40);
  // Enlarged from 2 x 2 to 4 x 4, then printed at twice the scale: (10,10)-(18,18).
  RenderGpImageStretchedScaled(printed.dc(), png, 5, 5, 4, 4, 2.0f, 2.0f);
  EXPECT_EQ(printed.raw(10, 10), 0x000000FFu);
  EXPECT_EQ(printed.raw(17, 17), 0x000000FFu);
  EXPECT_EQ(printed.raw(17, 10), 0x00FFFFFFu);  // transparent: the page shows
  EXPECT_EQ(printed.raw(9, 9), 0x00FFFFFFu);
  EXPECT_EQ(printed.raw(18, 17), 0x00FFFFFFu);
  RenderGpImage(printed.dc(), png, 0, 0);
  EXPECT_EQ(printed.raw(0, 0), 0x000000FFu);
}

// Opaque files through GDI+ and through our reader give the same pixels.
TEST_F(GdiPlusTest, OpaquePngsMatchOurReader) {
  struct Kind {
    int colorType, bitDepth;
    bool interlaced;
  };
  int compared = 0;
  for (const Kind& kind : {Kind{2, 8, false}, Kind{2, 16, false}, Kind{3, 8, false}, Kind{3, 4, true},
                           Kind{0, 8, false}, Kind{0, 1, false}, Kind{2, 8, true}}) {
    testing::ReferenceImage reference;
    reference.width = 37;
    reference.height = 23;
    reference.colorType = kind.colorType;
    reference.bitDepth = kind.bitDepth;
    reference.interlaced = kind.interlaced;
    testing::FillPattern(reference, static_cast<unsigned>(kind.colorType * 100 + kind.bitDepth));
    const std::string bytes = testing::WritePng(reference);
    TPNGImage ours;
    testing::LoadPng(ours, bytes);
    TGpImage theirs(writeFile("kind" + std::to_string(compared) + ".png", bytes), false);
    std::unique_ptr<gui::TBitmap> converted = GpImageToBitmap(theirs);
    converted->SetPixelFormat(gui::pf24bit);
    EXPECT_EQ(testing::BitmapRgb(*converted), testing::BitmapRgb(ours))
        << "colour type " << kind.colorType << ", depth " << kind.bitDepth;
    ++compared;
  }
  EXPECT_EQ(compared, 7);
}

}  // namespace
}  // namespace images
