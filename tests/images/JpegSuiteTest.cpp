// JPEG pictures through TJPEGImage: the reference suite decodes within 3 per
// channel of its reference pictures, damaged and hostile files are refused or
// decoded without harm, and the 8-bit, size and truncation rules hold.
#include <gtest/gtest.h>

#include "platform/win/gdi/PaletteObject.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "LibPngReference.h"
#include "PngTestSupport.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TJPEGImage.h"

namespace images {
namespace {

namespace fs = std::filesystem;
const fs::path kJpeg = fs::path(PAGEWELL_TEST_DATA_DIR) / "suites" / "jpeg";
const fs::path kRefTest = kJpeg / "jpeg-decoder" / "reftest";

void loadJpeg(gui::TJPEGImage& image, const std::string& bytes) {
  gui::TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  image.LoadFromStream(stream);
}

// Largest difference of any channel; -1 when the sizes differ.
int maxDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return -1;
  int worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(int{a[i]} - int{b[i]}));
  return worst;
}

std::vector<fs::path> jpegFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.path().extension() == ".jpg") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(JpegSuite, ReferenceFilesDecodeWithinThreeOfTheirPictures) {
  int compared = 0;
  for (const fs::path& file : jpegFiles(kRefTest)) {
    SCOPED_TRACE(file.filename().string());
    gui::TJPEGImage image;
    if (file.filename() == "jpg-size-6x6.jpg") {  // a PNG file under a JPEG name
      EXPECT_THROW(loadJpeg(image, testing::ReadFileBytes(file.string())), gui::EInvalidGraphic);
      continue;
    }
    ASSERT_NO_THROW(loadJpeg(image, testing::ReadFileBytes(file.string())));
    fs::path png = file;
    png.replace_extension(".png");
    const testing::Rgb8Image reference = testing::ReadPngRgb8(testing::ReadFileBytes(png.string()));
    ASSERT_TRUE(reference.ok);
    gui::TBitmap& bitmap = image.Bitmap();
    ASSERT_EQ(bitmap.Width(), static_cast<int>(reference.width));
    ASSERT_EQ(bitmap.Height(), static_cast<int>(reference.height));
    const int difference = maxDifference(testing::BitmapRgb(bitmap), reference.rgb);
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 3);
    ++compared;
  }
  EXPECT_EQ(compared, 35);  // every file but the PNG in disguise
}

TEST(JpegSuite, ColourSpacesGiveTheirOutputFormats) {
  struct Case {
    const char* file;
    bool grey;
    gui::TPixelFormat format;
  };
  for (const Case& c : {Case{"mozilla/jpg-gray.jpg", true, gui::pf8bit},
                        Case{"mozilla/jpg-cmyk-1.jpg", false, gui::pf24bit}, Case{"ycck.jpg", false, gui::pf24bit},
                        Case{"rgb.jpg", false, gui::pf24bit}, Case{"progressive3.jpg", false, gui::pf24bit}}) {
    SCOPED_TRACE(c.file);
    gui::TJPEGImage image;
    loadJpeg(image, testing::ReadFileBytes((kRefTest / c.file).string()));
    EXPECT_EQ(image.Grayscale(), c.grey);
    EXPECT_EQ(image.Bitmap().PixelFormat(), c.format);
    gui::TBitmap copy;
    copy.Assign(&image);  // through AssignTo
    EXPECT_EQ(copy.Width(), image.Width());
    EXPECT_EQ(copy.PixelFormat(), c.format);
  }
}

TEST(JpegSuite, TestOriginalMatchesItsSourcePicture) {
  gui::TJPEGImage image;
  loadJpeg(image, testing::ReadFileBytes((kJpeg / "testimages" / "testorig.jpg").string()));
  const std::string ppm = testing::ReadFileBytes((kJpeg / "testimages" / "testorig.ppm").string());
  // P6 header: "P6\n227 149\n255\n" then RGB triples.
  const std::size_t pixelsAt = ppm.find("255\n") + 4;
  const std::vector<std::uint8_t> expected(ppm.begin() + static_cast<std::ptrdiff_t>(pixelsAt), ppm.end());
  const int difference = maxDifference(testing::BitmapRgb(image.Bitmap()), expected);
  EXPECT_GE(difference, 0);
  EXPECT_LE(difference, 3);
  for (const char* variant : {"testimgint.jpg", "testimgari.jpg"}) {
    gui::TJPEGImage other;
    ASSERT_NO_THROW(loadJpeg(other, testing::ReadFileBytes((kJpeg / "testimages" / variant).string()))) << variant;
    EXPECT_EQ(other.Bitmap().Width(), 227) << variant;
  }
}

// Every file of the crash suite is refused with our exception or decoded;
// the ones libjpeg cannot read at all must be refused.
TEST(JpegSuite, CrashFilesAreRefusedOrDecodedWithoutHarm) {
  const std::set<std::string> mustRefuse = {"empty.jpg",          "missing-frame-image-1410.jpg",
                                            "missing-sof.jpg",    "missing-sos.jpg",
                                            "null_height.jpg",    "invalid-dimensions.jpg",
                                            "max_size.jpg",       "derive-huffman-codes-overflow.jpg",
                                            "invalid-prediction-shift.jpg"};
  int refused = 0;
  for (const fs::path& file : jpegFiles(kJpeg / "jpeg-decoder" / "crashtest")) {
    SCOPED_TRACE(file.filename().string());
    gui::TJPEGImage image;
    bool decoded = false;
    try {
      loadJpeg(image, testing::ReadFileBytes(file.string()));
      decoded = image.Bitmap().Width() > 0;
    } catch (const gui::EInvalidGraphic& error) {
      EXPECT_FALSE(error.Message().empty());
      ++refused;
    }
    if (mustRefuse.count(file.filename().string())) {
      EXPECT_FALSE(decoded);
    }
  }
  EXPECT_GE(refused, static_cast<int>(mustRefuse.size()));
  gui::TJPEGImage twelveBit;
  EXPECT_THROW(loadJpeg(twelveBit, testing::ReadFileBytes((kJpeg / "testimages" / "monkey12.jpg").string())),
               gui::EInvalidGraphic);
}

TEST(JpegSuite, TruncatedFileKeepsWhatDecodedAndEmptyDataIsRefused) {
  const std::string whole = testing::ReadFileBytes((kJpeg / "testimages" / "testorig.jpg").string());
  gui::TJPEGImage full, half;
  loadJpeg(full, whole);
  loadJpeg(half, whole.substr(0, whole.size() / 2));
  const std::vector<std::uint8_t> fullRgb = testing::BitmapRgb(full.Bitmap());
  const std::vector<std::uint8_t> halfRgb = testing::BitmapRgb(half.Bitmap());
  ASSERT_EQ(fullRgb.size(), halfRgb.size());
  // The top rows came through; the rest is libjpeg's grey padding.
  const std::size_t topRows = 20 * 227 * 3;
  EXPECT_TRUE(std::equal(fullRgb.begin(), fullRgb.begin() + topRows, halfRgb.begin()));
  gui::TJPEGImage empty;
  EXPECT_THROW(loadJpeg(empty, ""), gui::EInvalidGraphic);
  EXPECT_TRUE(empty.Empty());
  EXPECT_THROW(empty.Bitmap(), gui::EInvalidGraphic);
}

TEST(JpegSuite, PicturesAboveThePixelLimitAreRefusedBeforeDecoding) {
  const std::string bytes = testing::ReadFileBytes((kJpeg / "testimages" / "testorig.jpg").string());
  const std::int64_t saved = gui::TJPEGImage::MaxPixels();
  gui::TJPEGImage::SetMaxPixels(227 * 149 - 1);
  gui::TJPEGImage image;
  EXPECT_THROW(loadJpeg(image, bytes), gui::EInvalidGraphic);
  gui::TJPEGImage::SetMaxPixels(227 * 149);
  EXPECT_NO_THROW(loadJpeg(image, bytes));
  gui::TJPEGImage::SetMaxPixels(saved);
}

// A progressive file whose last scan is repeated: libjpeg only warns about
// the odd progression, so a few thousand scans would keep it busy for ever.
TEST(JpegSuite, EndlessScanSequencesAreCutShort) {
  const std::string original = testing::ReadFileBytes((kRefTest / "mozilla" / "jpg-progressive.jpg").string());
  const std::size_t lastScan = original.rfind("\xFF\xDA");
  const std::size_t end = original.rfind("\xFF\xD9");
  ASSERT_NE(lastScan, std::string::npos);
  ASSERT_LT(lastScan, end);
  const std::string scan = original.substr(lastScan, end - lastScan);
  auto repeated = [&](int times) {
    std::string bytes = original.substr(0, end);
    for (int i = 0; i < times; ++i) bytes += scan;
    return bytes + original.substr(end);
  };
  gui::TJPEGImage some, endless;
  loadJpeg(some, repeated(20));
  EXPECT_EQ(some.Bitmap().Width(), some.Width());
  loadJpeg(endless, repeated(1500));
  try {
    endless.Bitmap();
    FAIL();
  } catch (const gui::EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "JPEG image has too many scans");
  }
}

// A palette of 0x00RRGGBB colours.
win::HPALETTE makePalette(const std::vector<std::uint32_t>& colours) {
  std::vector<win::PALETTEENTRY> entries;
  for (std::uint32_t colour : colours)
    entries.push_back(win::PALETTEENTRY{static_cast<win::BYTE>(colour >> 16), static_cast<win::BYTE>(colour >> 8),
                                        static_cast<win::BYTE>(colour), 0});
  return win::createPaletteFromEntries(entries);
}

TEST(JpegSuite, EightBitOutputUsesOnlyTheGivenPalette) {
  const std::string bytes = testing::ReadFileBytes((kJpeg / "testimages" / "testorig.jpg").string());
  std::vector<std::uint32_t> colours;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) colours.push_back((r * 51u << 16) | (g * 51u << 8) | (b * 51u));
  gui::TJPEGImage image;
  loadJpeg(image, bytes);
  image.SetPixelFormat(gui::jf8Bit);
  image.SetPalette(makePalette(colours));
  gui::TBitmap& bitmap = image.Bitmap();
  EXPECT_EQ(bitmap.PixelFormat(), gui::pf8bit);
  const std::set<std::uint32_t> allowed(colours.begin(), colours.end());
  const std::vector<std::uint8_t> rgb = testing::BitmapRgb(bitmap);
  std::set<std::uint32_t> used;
  for (std::size_t i = 0; i < rgb.size(); i += 3) used.insert((rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]);
  for (std::uint32_t colour : used) EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
  EXPECT_GT(used.size(), 10u);  // dithered, not flattened

  gui::TJPEGImage chosen;  // no palette: libjpeg picks at most 256 colours
  loadJpeg(chosen, bytes);
  chosen.SetPixelFormat(gui::jf8Bit);
  EXPECT_EQ(chosen.Bitmap().PixelFormat(), gui::pf8bit);
  const int difference = maxDifference(testing::BitmapRgb(chosen.Bitmap()), testing::BitmapRgb(image.Bitmap()));
  EXPECT_GT(difference, 0);
}

}  // namespace
}  // namespace images
