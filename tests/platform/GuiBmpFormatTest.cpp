#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gui/BmpFormat.h"

namespace gui {
namespace {

const std::string kSuite = std::string(PAGEWELL_TEST_DATA_DIR) + "/suites/bmp/";

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

BmpStatus decodeFile(const std::string& name, DibImage& image) {
  const std::vector<std::uint8_t> bytes = readFile(kSuite + name);
  return decodeBmp(bytes.data(), bytes.size(), image);
}

// The picture as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> toRgb(const DibImage& image) {
  std::vector<std::uint32_t> pixels;
  const std::int64_t rowBytes = image.rowBytes();
  for (int y = image.height - 1; y >= 0; --y) {
    const std::uint8_t* row = image.bits.data() + y * rowBytes;
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t rgb = 0;
      if (image.bitCount <= 8) {
        const int bit = x * image.bitCount;
        rgb = image.palette.at((row[bit / 8] >> (8 - image.bitCount - bit % 8)) & ((1 << image.bitCount) - 1));
      } else if (image.bitCount == 16) {
        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        const unsigned r = image.rgb565 ? (v >> 11) : (v >> 10) & 31, g = image.rgb565 ? (v >> 5) & 63 : (v >> 5) & 31;
        const unsigned b = v & 31, gMax = image.rgb565 ? 63 : 31;
        rgb = ((r * 255 + 15) / 31 << 16) | ((g * 255 + gMax / 2) / gMax << 8) | ((b * 255 + 15) / 31);
      } else {
        const std::uint8_t* p = row + x * (image.bitCount / 8);
        rgb = (p[2] << 16) | (p[1] << 8) | p[0];
      }
      pixels.push_back(rgb);
    }
  }
  return pixels;
}

TEST(GuiBmpFormat, EveryGoodSuiteFileDecodes) {
  for (const auto& entry : std::filesystem::directory_iterator(kSuite + "g")) {
    DibImage image;
    EXPECT_EQ(decodeFile("g/" + entry.path().filename().string(), image), BmpStatus::Ok) << entry.path();
    EXPECT_GT(image.width, 0);
  }
}

TEST(GuiBmpFormat, EveryBadSuiteFileIsRefused) {
  for (const auto& entry : std::filesystem::directory_iterator(kSuite + "b")) {
    DibImage image;
    EXPECT_NE(decodeFile("b/" + entry.path().filename().string(), image), BmpStatus::Ok) << entry.path();
    EXPECT_TRUE(image.bits.empty());
  }
}

TEST(GuiBmpFormat, QuestionableFilesNeverCrash) {
  for (const char* folder : {"q", "x"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kSuite + folder)) {
      DibImage image;
      if (decodeFile(std::string(folder) + "/" + entry.path().filename().string(), image) == BmpStatus::Ok) {
        EXPECT_EQ(static_cast<std::int64_t>(image.bits.size()), image.rowBytes() * image.height);
      }
    }
  }
}

// Files that the suite renders alike must decode to the same pixels.
TEST(GuiBmpFormat, VariantsOfOnePictureDecodeAlike) {
  const std::vector<std::vector<std::string>> groups = {
      {"g/pal8.bmp", "g/pal8-0.bmp", "g/pal8rle.bmp", "g/pal8topdown.bmp", "g/pal8os2.bmp", "g/pal8v4.bmp",
       "g/pal8v5.bmp", "q/pal8os2sp.bmp", "q/pal8oversizepal.bmp", "q/pal8offs.bmp"},
      {"g/pal4.bmp", "g/pal4rle.bmp"},
      {"g/rgb24.bmp", "g/rgb24pal.bmp", "g/rgb32.bmp", "g/rgb32bf.bmp", "g/rgb32bfdef.bmp", "q/rgb32h52.bmp",
       "q/rgb32-xbgr.bmp"},
      {"g/rgb16.bmp", "g/rgb16bfdef.bmp"},
      {"g/rgb16-565.bmp", "g/rgb16-565pal.bmp"},
      {"g/pal1.bmp", "g/pal1wb.bmp"},
  };
  for (const auto& group : groups) {
    DibImage first;
    ASSERT_EQ(decodeFile(group[0], first), BmpStatus::Ok) << group[0];
    const std::vector<std::uint32_t> expected = toRgb(first);
    for (std::size_t i = 1; i < group.size(); ++i) {
      DibImage other;
      ASSERT_EQ(decodeFile(group[i], other), BmpStatus::Ok) << group[i];
      EXPECT_EQ(toRgb(other), expected) << group[i];
    }
  }
}

TEST(GuiBmpFormat, FormatsAreKeptAsTheFileHasThem) {
  DibImage image;
  ASSERT_EQ(decodeFile("g/pal4rle.bmp", image), BmpStatus::Ok);
  EXPECT_EQ(image.bitCount, 4);
  EXPECT_EQ(image.palette.size(), 12u);
  ASSERT_EQ(decodeFile("g/rgb16-565.bmp", image), BmpStatus::Ok);
  EXPECT_EQ(image.bitCount, 16);
  EXPECT_TRUE(image.rgb565);
  ASSERT_EQ(decodeFile("q/rgb16-231.bmp", image), BmpStatus::Ok);
  EXPECT_EQ(image.bitCount, 24);  // an unusual bit-field layout is widened
}

TEST(GuiBmpFormat, EveryDepthRoundTrips) {
  for (const char* name : {"g/pal1.bmp", "g/pal4.bmp", "g/pal8.bmp", "g/rgb16.bmp", "g/rgb16-565.bmp", "g/rgb24.bmp",
                           "g/rgb32.bmp", "g/pal8os2.bmp", "g/pal8rle.bmp"}) {
    DibImage image;
    ASSERT_EQ(decodeFile(name, image), BmpStatus::Ok) << name;
    const std::vector<std::uint8_t> file = encodeBmp(image);
    DibImage back;
    ASSERT_EQ(decodeBmp(file.data(), file.size(), back), BmpStatus::Ok) << name;
    EXPECT_EQ(back.bitCount, image.bitCount) << name;
    EXPECT_EQ(back.rgb565, image.rgb565) << name;
    EXPECT_EQ(back.palette, image.palette) << name;
    EXPECT_EQ(back.bits, image.bits) << name;
  }
}

TEST(GuiBmpFormat, EveryTruncationOfAFileIsRefusedOrDecodesWhatIsThere) {
  const std::vector<std::uint8_t> bytes = readFile(kSuite + "g/pal8rle.bmp");
  for (std::size_t size = 0; size < bytes.size(); size += 7) {
    DibImage image;
    const BmpStatus status = decodeBmp(bytes.data(), size, image);
    if (size < 1062) {
      EXPECT_NE(status, BmpStatus::Ok) << size;  // header, palette or declared size missing
    }
  }
  DibImage image;
  EXPECT_EQ(decodeBmp(nullptr, 100, image), BmpStatus::Truncated);
}

TEST(GuiBmpFormat, BitFieldsMasksCutOffAfterTheHeaderAreTruncation) {
  // A 1x1 16-bit BI_BITFIELDS image with a 40-byte header: the three masks
  // should follow at 54, but the file ends after two of them.
  const std::vector<std::uint8_t> file = {
      'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0,  // file header, bits at 66
      40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,             // header size, width 1, height 1
      1, 0, 16, 0, 3, 0, 0, 0,                         // planes 1, 16 bits, BI_BITFIELDS
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,              // image size, densities
      0, 0, 0, 0, 0, 0, 0, 0,                          // colours used, important
      0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0};                // red and green masks; blue is missing
  ASSERT_EQ(file.size(), 62u);
  DibImage image;
  EXPECT_EQ(decodeBmp(file.data(), file.size(), image), BmpStatus::Truncated);
  // With the blue mask and the pixel the same file decodes.
  std::vector<std::uint8_t> whole = file;
  whole.insert(whole.end(), {0x1F, 0, 0, 0, 0xFF, 0xFF, 0, 0});
  whole[2] = static_cast<std::uint8_t>(whole.size());
  ASSERT_EQ(decodeBmp(whole.data(), whole.size(), image), BmpStatus::Ok);
  EXPECT_EQ(toRgb(image), (std::vector<std::uint32_t>{0xFFFFFF}));
}

TEST(GuiBmpFormat, RleRunPastTheRowIsRefused) {
  // A 2x1 RLE8 image whose only run paints three pixels.
  std::vector<std::uint8_t> file = {
      'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  // file header, bits at 62
      40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0,            // header size, width 2, height 1
      1, 0, 8, 0, 1, 0, 0, 0,                         // planes 1, 8 bits, RLE8
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,             // image size, densities
      2, 0, 0, 0, 0, 0, 0, 0,                         // two colours
      0, 0, 0, 0, 255, 255, 255, 0,                   // black, white
      3, 1, 0, 1};                                    // run of 3 (too long), end of bitmap
  DibImage image;
  EXPECT_EQ(decodeBmp(file.data(), file.size(), image), BmpStatus::Corrupt);
  file[62] = 2;  // a run that fits
  ASSERT_EQ(decodeBmp(file.data(), file.size(), image), BmpStatus::Ok);
  EXPECT_EQ(toRgb(image), (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF}));
}

}  // namespace
}  // namespace gui
