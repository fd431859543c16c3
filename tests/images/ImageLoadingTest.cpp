// Image kinds and loading: signatures, the PNG key-colour walk on hostile
// chunks, key-colour and corner masks, BMP suite files with their masks,
// JPEG, screen adaptation and the GDI+ path's temporary files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "GifTestSupport.h"
#include "images/DisplayPalette.h"
#include "images/GdiPlusLibrary.h"
#include "images/ImageLoading.h"
#include "images/TGpImage.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/user/Painting.h"

#if PAGEWELL_HAVE_LIBPNG
#include "LibPngReference.h"
#endif

namespace images::testing {
namespace {

namespace fs = std::filesystem;

std::string DataDir() { return std::string(PAGEWELL_TEST_DATA_DIR) + "/suites/"; }

TImageKind KindOf(const std::string& bytes) {
  return DetectImageKind(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(ImageKinds, SignaturesAndShortData) {
  EXPECT_EQ(KindOf("GIF89a"), ikGif89a);
  EXPECT_EQ(KindOf("GIF87a"), ikGif87a);
  EXPECT_EQ(KindOf("GIF8x"), ikGif87a);
  EXPECT_EQ(KindOf("BMxxxx"), ikBmp);
  EXPECT_EQ(KindOf("\x89PNG\r\n"), ikPng);
  EXPECT_EQ(KindOf("\xFF\xD8\xFF"), ikJpeg);
  EXPECT_EQ(KindOf("hello"), ikUnknown);
  // One byte is read as one byte, never five.
  EXPECT_EQ(KindOf("G"), ikUnknown);
  EXPECT_EQ(KindOf("\xFF"), ikUnknown);
  EXPECT_EQ(KindOf("GIF8"), ikGif87a);
  EXPECT_EQ(DetectImageKind(nullptr, 10), ikUnknown);
}

class TempFolder {
 public:
  TempFolder() : path_(fs::temp_directory_path() / ("pagewell-images-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
    return (path_ / name).string();
  }
  const fs::path& Path() const { return path_; }
  // Regular files whose names start with "png" and end with ".TMP".
  int TemporaryPngs() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(path_)) {
      const std::string name = entry.path().filename().string();
      count += name.rfind("png", 0) == 0 && name.size() > 7 && name.substr(name.size() - 4) == ".TMP";
    }
    return count;
  }

 private:
  fs::path path_;
};

TEST(ImageKinds, FilesAreClassifiedFromTenBytesOn) {
  TempFolder folder;
  EXPECT_EQ(DetectImageFileKind(folder.Write("nine.gif", "GIF89aXYZ")), ikUnknown);
  EXPECT_EQ(DetectImageFileKind(folder.Write("ten.gif", "GIF89aXYZW")), ikGif89a);
  EXPECT_EQ(DetectImageFileKind(folder.Path().string()), ikUnknown);
  EXPECT_EQ(DetectImageFileKind((folder.Path() / "missing.gif").string()), ikUnknown);
}

std::string BigEndian(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
// A chunk with a dummy CRC: the walk does not check CRCs.
std::string RawChunk(const std::string& type, const std::string& data, std::optional<std::uint32_t> length = {}) {
  return BigEndian(length ? *length : static_cast<std::uint32_t>(data.size())) + type + data + "CRC!";
}
const std::string kPngSignature("\x89PNG\r\n\x1A\n", 8);
const std::string kPaletteHeader = RawChunk("IHDR", std::string("\0\0\0\x04\0\0\0\x02\x08\x03\0\0\0", 13));

bool KeyColorOf(const std::string& bytes, gui::TColor& color) {
  gui::TMemoryStream stream;
  Fill(stream, bytes);
  stream.SetPosition(5);
  const bool found = PngTransparentColor(stream, color);
  EXPECT_EQ(stream.Position(), 5);
  return found;
}

TEST(PngTransparentColor, HostileChunksEndTheWalk) {
  gui::TColor color = 0x123456;
  const std::string palette = RawChunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60", 6));
  // A length of 0xFFFFFFF4 (-12 as a signed number) must not loop.
  EXPECT_FALSE(KeyColorOf(kPngSignature + kPaletteHeader + RawChunk("abCD", "", 0xFFFFFFF4u) + palette, color));
  // A length running past the data.
  EXPECT_FALSE(KeyColorOf(kPngSignature + kPaletteHeader + RawChunk("abCD", "xx", 4000), color));
  // tRNS before PLTE, or naming entries PLTE never filled.
  EXPECT_FALSE(KeyColorOf(kPngSignature + kPaletteHeader + RawChunk("tRNS", std::string(1, '\0')) + palette, color));
  EXPECT_FALSE(KeyColorOf(kPngSignature + kPaletteHeader + palette + RawChunk("tRNS", std::string("\xFF\xFF\0", 3)),
                          color));
  EXPECT_EQ(color, 0x123456u);
  // Entry 1 is transparent: (0x40, 0x50, 0x60) as a TColor.
  EXPECT_TRUE(KeyColorOf(kPngSignature + kPaletteHeader + palette + RawChunk("tRNS", std::string("\xFF\0", 2)), color));
  EXPECT_EQ(color, 0x605040u);
  EXPECT_FALSE(KeyColorOf("not a png at all", color));
}

std::string OnePixelGifForLoader() {
  GifImageSpec image;
  image.pixels = {1};
  return GifHeader(1, 1, {0, 0xFFFFFF}) + GifImageBlock(image) + GifImageBlock(image) + ";";
}

std::unique_ptr<gui::TBitmap> FromBytes(const std::string& bytes, TMaskKind& kind, std::unique_ptr<gui::TBitmap>& mask) {
  gui::TMemoryStream stream;
  Fill(stream, bytes);
  return BitmapFromStream(&stream, kind, mask);
}

std::uint32_t PixelOf(gui::TBitmap& bitmap, int x, int y) {
  return win::GetPixel(bitmap.Canvas().Handle(), x, y) & 0xFFFFFF;
}

TEST(BitmapFromStream, TooShortOrNotAnImage) {
  TMaskKind kind = mkNone;
  std::unique_ptr<gui::TBitmap> mask;
  const std::string bmp = ReadBytes(DataDir() + "bmp/g/rgb24.bmp");
  EXPECT_EQ(FromBytes(bmp.substr(0, 19), kind, mask), nullptr);
  EXPECT_EQ(FromBytes(OnePixelGifForLoader(), kind, mask), nullptr);
  EXPECT_EQ(BitmapFromStream(nullptr, kind, mask), nullptr);
  gui::TMemoryStream empty;
  EXPECT_EQ(ImageFromStream(&empty, kind, mask), nullptr);
}

#if PAGEWELL_HAVE_LIBPNG
// 4x2 palette pixels using entries 0-3; entry 3 has alpha 0 and entry 1 the
// same colour as entry 3.
std::string KeyedPng(std::optional<double> gamma, bool transparent = true) {
  ReferenceImage image;
  image.width = 4;
  image.height = 2;
  image.colorType = 3;
  image.bitDepth = 8;
  image.palette = {{200, 0, 0}, {10, 90, 200}, {0, 200, 0}, {10, 90, 200}};
  image.paletteAlpha = {255, 255, 255, static_cast<std::uint8_t>(transparent ? 0 : 128)};
  image.fileGamma = gamma;
  image.rows = {{0, 1, 2, 3}, {3, 3, 1, 0}};
  return WritePng(image);
}

TEST(BitmapFromStream, PaletteKeyColourMasksExactlyItsEntry) {
  for (const std::optional<double> gamma : {std::optional<double>{}, std::optional<double>{1.0}}) {
    SCOPED_TRACE(gamma ? "gAMA 1.0" : "no gAMA");
    TMaskKind kind = mkNone;
    std::unique_ptr<gui::TBitmap> mask;
    auto bitmap = FromBytes(KeyedPng(gamma), kind, mask);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(kind, mkKeyColor);
    ASSERT_TRUE(mask);
    EXPECT_TRUE(mask->Monochrome());
    const int expected[2][4] = {{0, 0, 0, 1}, {1, 1, 0, 0}};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(PixelOf(*mask, x, y) != 0, expected[y][x] == 1) << x << "," << y;
        if (expected[y][x]) {
          EXPECT_EQ(PixelOf(*bitmap, x, y), 0u) << x << "," << y;
        } else {
          EXPECT_NE(PixelOf(*bitmap, x, y), 0u) << x << "," << y;
        }
      }
  }
}

TEST(BitmapFromStream, NoZeroAlphaMeansNoKey) {
  TMaskKind kind = mkNone;
  std::unique_ptr<gui::TBitmap> mask;
  EXPECT_TRUE(FromBytes(KeyedPng({}, false), kind, mask));
  EXPECT_EQ(kind, mkNone);
  EXPECT_EQ(mask, nullptr);
  // A corner mask is still made when asked for.
  kind = mkCornerColor;
  EXPECT_TRUE(FromBytes(KeyedPng({}, false), kind, mask));
  EXPECT_EQ(kind, mkCornerColor);
  EXPECT_TRUE(mask);
}
#endif

// Every good file of the BMP suite loads with a corner mask white at the
// lower-left pixel; questionable and bad files never crash.
TEST(BitmapFromStream, BmpSuiteFilesWithTheirMasks) {
  int loaded = 0;
  for (const auto& entry : fs::directory_iterator(DataDir() + "bmp/g")) {
    SCOPED_TRACE(entry.path().filename().string());
    TMaskKind kind = mkCornerColor;
    std::unique_ptr<gui::TBitmap> mask;
    auto bitmap = FromBytes(ReadBytes(entry.path().string()), kind, mask);
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(mask);
    EXPECT_EQ(kind, mkCornerColor);
    EXPECT_EQ(mask->Width(), bitmap->Width());
    EXPECT_EQ(mask->Height(), bitmap->Height());
    EXPECT_EQ(PixelOf(*mask, 0, mask->Height() - 1), 0xFFFFFFu);
    const std::uint32_t corner = PixelOf(*bitmap, 0, bitmap->Height() - 1);
    for (int x = 0; x < bitmap->Width(); x += 7)
      EXPECT_EQ(PixelOf(*mask, x, 0) != 0, PixelOf(*bitmap, x, 0) == corner) << x;
    ++loaded;
  }
  EXPECT_GE(loaded, 20);
  for (const char* folder : {"bmp/q", "bmp/b"})
    for (const auto& entry : fs::directory_iterator(DataDir() + folder)) {
      TMaskKind kind = mkCornerColor;
      std::unique_ptr<gui::TBitmap> mask;
      auto bitmap = FromBytes(ReadBytes(entry.path().string()), kind, mask);
      if (bitmap) {
        EXPECT_FALSE(bitmap->Empty()) << entry.path();
      }
    }
}

TEST(BitmapFromStream, JpegTakesNoCornerMask) {
  const fs::path dir = DataDir() + "jpeg/jpeg-decoder/reftest";
  std::string file;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".jpg" && file.empty()) file = entry.path().string();
  ASSERT_FALSE(file.empty());
  TMaskKind kind = mkCornerColor;
  std::unique_ptr<gui::TBitmap> mask;
  auto bitmap = FromBytes(ReadBytes(file), kind, mask);
  ASSERT_TRUE(bitmap) << file;
  EXPECT_EQ(kind, mkNone);
  EXPECT_EQ(mask, nullptr);
}

// The display depth as a test setting, put back afterwards.
class ScreenDepth {
 public:
  explicit ScreenDepth(std::uint8_t depth) {
    ScreenColorDepth = depth;
    if (depth == 8) {
      const win::HDC screen = win::GetDC(0);
      DisplayPalette = BuildDefaultPalette8(screen);
      win::ReleaseDC(0, screen);
    }
  }
  ~ScreenDepth() {
    if (DisplayPalette) win::DeleteObject(DisplayPalette);
    DisplayPalette = 0;
    ScreenColorDepth = 24;
  }
};

TEST(BitmapFromStream, BitmapsAreAdaptedToTheScreen) {
  TMaskKind kind = mkNone;
  std::unique_ptr<gui::TBitmap> mask;
  {
    ScreenDepth deep(24);
    EXPECT_EQ(FromBytes(ReadBytes(DataDir() + "bmp/g/rgb24.bmp"), kind, mask)->PixelFormat(), gui::pf24bit);
    EXPECT_EQ(FromBytes(ReadBytes(DataDir() + "bmp/g/pal8.bmp"), kind, mask)->PixelFormat(), gui::pfDevice);
  }
  {
    ScreenDepth palette(8);
    auto reduced = FromBytes(ReadBytes(DataDir() + "bmp/g/rgb24.bmp"), kind, mask);
    ASSERT_TRUE(reduced);
    EXPECT_EQ(reduced->PixelFormat(), gui::pf8bit);
    auto photo = FromBytes(ReadBytes(DataDir() + "jpeg/jpeg-decoder/reftest/rgb.jpg"), kind, mask);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->PixelFormat(), gui::pf8bit);
  }
}

// The GDI+ path: the test runner disables GDI+, so this lets it start.
class GdiPlusLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = std::getenv("PAGEWELL_NO_GDIPLUS")) saved_ = value;
    if (const char* value = std::getenv("TMPDIR")) savedTemp_ = value;
    ::setenv("TMPDIR", folder_.Path().c_str(), 1);
    ::unsetenv("PAGEWELL_NO_GDIPLUS");
    ResetGDIPlusForTests();
    InitGDIPlus();
    if (!GdiPlusAvailable) GTEST_SKIP() << "the GDI+ library is not installed";
  }
  void TearDown() override {
    ResetGDIPlusForTests();
    if (saved_) ::setenv("PAGEWELL_NO_GDIPLUS", saved_->c_str(), 1);
    if (savedTemp_) ::setenv("TMPDIR", savedTemp_->c_str(), 1);
    else ::unsetenv("TMPDIR");
  }
  TempFolder folder_;
  std::optional<std::string> saved_, savedTemp_;
};

TEST_F(GdiPlusLoading, StreamsGoThroughAnExclusiveTemporaryFile) {
  const std::string png = ReadBytes(DataDir() + "png/pngsuite/png/basn2c08.png");
  // A file of the old fixed name, and a link planted in the same folder, stay as they are.
  const std::string planted = folder_.Write("pngCE5E.TMP", "someone else's");
  gui::TMemoryStream stream;
  Fill(stream, png);
  TMaskKind kind = mkCornerColor;
  std::unique_ptr<gui::TBitmap> mask;
  auto image = ImageFromStream(&stream, kind, mask);
  ASSERT_TRUE(image);
  EXPECT_TRUE(dynamic_cast<TGpImage*>(image.get()));
  EXPECT_EQ(kind, mkNone);
  EXPECT_EQ(folder_.TemporaryPngs(), 2);
  image.reset();
  EXPECT_EQ(folder_.TemporaryPngs(), 1);
  EXPECT_EQ(ReadBytes(planted), "someone else's");
  // A file loads directly and stays.
  const std::string file = folder_.Write("direct.png", png);
  auto direct = ImageFromFile(file, kind, mask);
  EXPECT_TRUE(dynamic_cast<TGpBitmap*>(direct.get()));
  direct.reset();
  EXPECT_TRUE(fs::exists(file));
  // Broken data gives nothing and leaves no file behind.
  Fill(stream, png.substr(0, 40));
  EXPECT_EQ(ImageFromStream(&stream, kind, mask), nullptr);
  EXPECT_EQ(folder_.TemporaryPngs(), 1);
}

// GDI+ runs while any cache lives, and starts again with a new one.
TEST_F(GdiPlusLoading, CachesKeepGdiPlusRunning) {
  ResetGDIPlusForTests();
  auto first = std::make_unique<TStringBitmapList>();
  EXPECT_TRUE(GdiPlusAvailable);
  { TStringBitmapList second; }
  EXPECT_TRUE(GdiPlusAvailable);
  first.reset();
  EXPECT_FALSE(GdiPlusAvailable);
  TStringBitmapList third;
  EXPECT_TRUE(GdiPlusAvailable);
}

TEST(ImageFromFile, MissingFilesAndPlainBitmaps) {
  TMaskKind kind = mkNone;
  std::unique_ptr<gui::TBitmap> mask;
  EXPECT_EQ(ImageFromFile("/nonexistent/picture.png", kind, mask), nullptr);
  auto image = ImageFromFile(DataDir() + "bmp/g/rgb24.bmp", kind, mask);
  EXPECT_TRUE(dynamic_cast<gui::TBitmap*>(image.get()));
}

}  // namespace
}  // namespace images::testing
