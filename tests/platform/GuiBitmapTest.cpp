#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace gui {
namespace {

const std::string kSuite = std::string(PAGEWELL_TEST_DATA_DIR) + "/suites/bmp/";

std::unique_ptr<TBitmap> bitmapOf(TPixelFormat format, int width, int height) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  return bitmap;
}

TEST(GuiBitmap, PixelFormatsAndHandleTypes) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
  bitmap.SetSize(4, 3);
  EXPECT_EQ(bitmap.HandleType(), bmDDB);
  EXPECT_NE(bitmap.Handle(), 0u);
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    bitmap.SetPixelFormat(format);
    EXPECT_EQ(bitmap.PixelFormat(), format);
    EXPECT_EQ(bitmap.HandleType(), bmDIB);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 3);
  }
  bitmap.SetPixelFormat(pf16bit);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);  // kept as 24 bits
  bitmap.SetHandleType(bmDDB);
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
}

TEST(GuiBitmap, ScanLinesRunBottomUpInMemory) {
  auto bitmap = bitmapOf(pf24bit, 5, 4);
  auto* row0 = static_cast<std::uint8_t*>(bitmap->ScanLine(0));
  auto* row1 = static_cast<std::uint8_t*>(bitmap->ScanLine(1));
  EXPECT_EQ(row0 - row1, 16);  // 5 * 3 bytes padded to 16
  EXPECT_THROW(bitmap->ScanLine(4), EInvalidGraphicOperation);
  EXPECT_THROW(bitmap->ScanLine(-1), EInvalidGraphicOperation);
  // A device bitmap becomes a DIB for its scan lines.
  TBitmap device;
  device.SetSize(2, 2);
  EXPECT_NE(device.ScanLine(1), nullptr);
  EXPECT_EQ(device.HandleType(), bmDIB);
}

TEST(GuiBitmap, NewBitmapsAreWhiteAndCanvasDrawingLandsInScanLines) {
  auto bitmap = bitmapOf(pf24bit, 6, 6);
  auto* row = static_cast<std::uint8_t*>(bitmap->ScanLine(2));
  EXPECT_EQ(row[0], 0xFF);
  bitmap->Canvas().Brush().SetColor(clRed);
  bitmap->Canvas().FillRect(win::RECT{1, 2, 3, 3});
  row = static_cast<std::uint8_t*>(bitmap->ScanLine(2));
  EXPECT_EQ(row[3 * 1 + 2], 0xFF);  // red, BGR order
  EXPECT_EQ(row[3 * 1 + 0], 0x00);
  EXPECT_EQ(row[3 * 3 + 0], 0xFF);  // right edge excluded: still white
  // Writing a scan line shows on the canvas.
  row[0] = 0x00;
  row[1] = 0x80;
  row[2] = 0x00;
  EXPECT_EQ(bitmap->Canvas().Pixels(0, 2), 0x008000u);
}

TEST(GuiBitmap, IndexedBitmapsKeepIndicesThroughResizeAndPalette) {
  auto bitmap = bitmapOf(pf8bit, 3, 2);
  static_cast<std::uint8_t*>(bitmap->ScanLine(0))[1] = 7;
  bitmap->SetSize(5, 4);
  EXPECT_EQ(static_cast<std::uint8_t*>(bitmap->ScanLine(0))[1], 7);
  // A new palette recolours the indices.
  std::vector<std::uint8_t> storage(sizeof(win::LOGPALETTE) + 8 * sizeof(win::PALETTEENTRY));
  auto* palette = reinterpret_cast<win::LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = 8;
  for (int i = 0; i < 8; ++i) palette->palPalEntry[i] = win::PALETTEENTRY{0, 0, 0, 0};
  palette->palPalEntry[7] = win::PALETTEENTRY{0x12, 0x34, 0x56, 0};
  bitmap->SetPalette(win::CreatePalette(palette));
  EXPECT_EQ(static_cast<std::uint8_t*>(bitmap->ScanLine(0))[1], 7);
  EXPECT_EQ(bitmap->Canvas().Pixels(1, 0), win::RGB(0x12, 0x34, 0x56));
}

TEST(GuiBitmap, MonochromeAndTheMask) {
  auto bitmap = bitmapOf(pf24bit, 4, 4);
  bitmap->Canvas().Brush().SetColor(clBlue);
  bitmap->Canvas().FillRect(win::RECT{0, 0, 2, 4});
  // The bottom-left pixel is blue: the automatic transparent colour.
  EXPECT_EQ(bitmap->TransparentColor(), clBlue);
  const win::HBITMAP mask = bitmap->ReleaseMaskHandle();
  TBitmap maskBitmap;
  maskBitmap.SetHandle(mask);
  EXPECT_TRUE(maskBitmap.Monochrome());
  EXPECT_EQ(maskBitmap.Canvas().Pixels(0, 0), 0xFFFFFFu);  // transparent: white
  EXPECT_EQ(maskBitmap.Canvas().Pixels(3, 0), 0x000000u);
  bitmap->SetTransparentColor(clWhite);
  EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
  bitmap->SetMonochrome(true);
  EXPECT_TRUE(bitmap->Monochrome());
  EXPECT_EQ(bitmap->Canvas().Pixels(0, 0), 0x000000u);  // not white: black
  EXPECT_EQ(bitmap->Canvas().Pixels(3, 0), 0xFFFFFFu);
}

TEST(GuiBitmap, TransparentDrawLeavesTheTransparentColourOut) {
  auto sprite = bitmapOf(pf24bit, 2, 1);
  sprite->Canvas().SetPixel(0, 0, clRed);
  sprite->Canvas().SetPixel(1, 0, clLime);
  sprite->SetTransparentColor(clLime);
  sprite->SetTransparent(true);
  auto target = bitmapOf(pf32bit, 2, 1);
  target->Canvas().Brush().SetColor(clBlue);
  target->Canvas().FillRect(win::RECT{0, 0, 2, 1});
  target->Canvas().Draw(0, 0, sprite.get());
  EXPECT_EQ(target->Canvas().Pixels(0, 0), static_cast<win::COLORREF>(clRed));
  EXPECT_EQ(target->Canvas().Pixels(1, 0), static_cast<win::COLORREF>(clBlue));
}

TEST(GuiBitmap, AssignCopiesPictureAndFormat) {
  auto source = bitmapOf(pf4bit, 3, 3);
  static_cast<std::uint8_t*>(source->ScanLine(1))[0] = 0x5A;
  TBitmap copy;
  copy.Assign(source.get());
  EXPECT_EQ(copy.PixelFormat(), pf4bit);
  EXPECT_EQ(static_cast<std::uint8_t*>(copy.ScanLine(1))[0], 0x5A);
  EXPECT_NE(copy.Handle(), source->Handle());
}

TEST(GuiBitmap, BmpRoundTripsForEveryDepth) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    auto bitmap = bitmapOf(format, 7, 3);
    auto* row = static_cast<std::uint8_t*>(bitmap->ScanLine(1));
    row[0] = 0x81;
    TMemoryStream stream;
    bitmap->SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.PixelFormat(), format) << format;
    EXPECT_EQ(back.Width(), 7);
    EXPECT_EQ(static_cast<std::uint8_t*>(back.ScanLine(1))[0], 0x81) << format;
  }
}

TEST(GuiBitmap, SuiteFilesLoadOrRaiseInvalidGraphic) {
  for (const char* folder : {"g", "b"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kSuite + folder)) {
      TBitmap bitmap;
      if (std::string(folder) == "g") {
        EXPECT_NO_THROW(bitmap.LoadFromFile(entry.path().string())) << entry.path();
        EXPECT_FALSE(bitmap.Empty());
      } else {
        EXPECT_THROW(bitmap.LoadFromFile(entry.path().string()), EInvalidGraphic) << entry.path();
      }
    }
  }
  TBitmap bitmap;
  bitmap.LoadFromFile(kSuite + "g/rgb16-565.bmp");
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  bitmap.LoadFromFile(kSuite + "g/pal8.bmp");
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_NE(bitmap.Palette(), 0u);
}

}  // namespace
}  // namespace gui

namespace gui {
namespace {

TEST(GuiBitmap, AdoptsAndReleasesHandles) {
  TBitmap source;
  source.SetPixelFormat(pf8bit);
  source.SetSize(9, 5);
  const win::HBITMAP handle = source.ReleaseHandle();
  EXPECT_TRUE(source.Empty());
  EXPECT_EQ(source.Handle(), 0u);
  TBitmap adopter;
  adopter.SetHandle(handle);
  EXPECT_EQ(adopter.Width(), 9);
  EXPECT_EQ(adopter.Height(), 5);
  EXPECT_EQ(adopter.PixelFormat(), pf8bit);
  const win::HBITMAP device = win::CreateBitmap(3, 4, 1, 32, nullptr);
  adopter.SetHandle(device);
  EXPECT_EQ(win::GetObjectType(handle), 0u);  // the old one was freed
  EXPECT_EQ(adopter.PixelFormat(), pfDevice);
  EXPECT_EQ(adopter.Height(), 4);
}

TEST(GuiBitmap, ChangesAreReportedThroughOnChange) {
  TBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&](TObject*) { ++changes; };
  bitmap.SetSize(4, 4);
  EXPECT_EQ(changes, 1);
  bitmap.Canvas().FillRect(win::RECT{0, 0, 2, 2});
  EXPECT_EQ(changes, 2);
  bitmap.SetSize(4, 4);  // no change, no report
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(bitmap.Modified());
}

TEST(GuiBitmap, StretchDrawScalesIntoTheRectangle) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(2, 1);
  source.Canvas().SetPixel(1, 0, clNavy);
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(8, 4);
  target.Canvas().StretchDraw(win::RECT{0, 0, 8, 4}, &source);
  EXPECT_EQ(target.Canvas().Pixels(1, 3), static_cast<win::COLORREF>(clWhite));
  EXPECT_EQ(target.Canvas().Pixels(6, 3), static_cast<win::COLORREF>(clNavy));
}

TEST(GuiBitmap, SavingToAFileLeavesNoTemporaryBehind) {
  // Per process: test runs of other builds share the temporary folder.
  const std::string folder = testing::TempDir() + "/gui_bitmap_save" + std::to_string(::getpid());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf4bit);
  bitmap.SetSize(3, 3);
  bitmap.SaveToFile(folder + "/picture.bmp");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++files;
  EXPECT_EQ(files, 1);
  TBitmap back;
  back.LoadFromFile(folder + "/picture.bmp");
  EXPECT_EQ(back.PixelFormat(), pf4bit);
  EXPECT_THROW(back.LoadFromFile(folder + "/missing.bmp"), EFOpenError);
}

}  // namespace
}  // namespace gui
