// The public PNG suites: every valid file decodes like the reference library
// decodes it, every corrupted one is refused with an exception.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "LibPngReference.h"
#include "PngTestSupport.h"
#include "platform/gui/Exception.h"

namespace images {
namespace {

namespace fs = std::filesystem;
const fs::path kSuites = fs::path(PAGEWELL_TEST_DATA_DIR) / "suites" / "png";

std::vector<fs::path> pngFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".png") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// The gamma table the image decoded with, when its gAMA came before the data.
const std::uint8_t* gammaUsed(const TPNGImage& image) {
  const TChunkGAMA* gamma = image.Chunks().FirstOfClass<TChunkGAMA>();
  return gamma && gamma->HasTables() && image.Chunks().IndexOf(gamma) < image.Chunks().IndexOfClass<TChunkIDAT>()
             ? gamma->GammaTable()
             : nullptr;
}

void expectDecodesLikeTheReference(const fs::path& file) {
  const std::string bytes = testing::ReadFileBytes(file.string());
  TPNGImage image;
  try {
    testing::LoadPng(image, bytes);
  } catch (const gui::Exception& e) {
    ADD_FAILURE() << file.filename() << " refused: " << e.Message();
    return;
  }
  const testing::Rgb8Image reference = testing::ReadPngRgb8(bytes);
  ASSERT_TRUE(reference.ok) << file.filename();
  std::vector<std::uint8_t> expected = reference.rgb;
  if (const std::uint8_t* gamma = gammaUsed(image))
    for (auto& sample : expected) sample = gamma[sample];
  EXPECT_EQ(testing::BitmapRgb(image), expected) << file.filename();
}

void expectRefused(const fs::path& file) {
  TPNGImage image;
  EXPECT_THROW(testing::LoadPng(image, testing::ReadFileBytes(file.string())), gui::Exception) << file.filename();
}

TEST(PngSuites, PngSuiteValidFilesDecodeAndCorruptedOnesAreRefused) {
  int valid = 0, refused = 0;
  for (const fs::path& file : pngFiles(kSuites / "pngsuite" / "png")) {
    if (file.filename().string()[0] == 'x') {
      expectRefused(file);
      ++refused;
    } else {
      expectDecodesLikeTheReference(file);
      ++valid;
    }
  }
  expectDecodesLikeTheReference(kSuites / "pngsuite" / "PngSuite.png");
  EXPECT_EQ(valid, 161);
  EXPECT_EQ(refused, 14);
}

TEST(PngSuites, GeneratedImagesOfEveryKindDecode) {
  for (const fs::path& file : pngFiles(kSuites / "testpngs")) expectDecodesLikeTheReference(file);
  expectDecodesLikeTheReference(kSuites / "testpngs" / "png-3" / "cicp-display-p3_reencoded.png");
}

TEST(PngSuites, PaletteIndicesPastThePaletteShowBlack) {
  for (const fs::path& file : pngFiles(kSuites / "testpngs" / "badpal")) expectDecodesLikeTheReference(file);
}

TEST(PngSuites, CrashersAreRefusedOrDecodedWithoutHarm) {
  for (const fs::path& file : pngFiles(kSuites / "testpngs" / "crashers")) {
    if (file.filename() == "empty_ancillary_chunks.png") {
      TPNGImage image;
      try {
        testing::LoadPng(image, testing::ReadFileBytes(file.string()));
      } catch (const gui::Exception&) {
        // Refusing the broken ancillary chunks is as good as ignoring them.
      }
      continue;
    }
    expectRefused(file);
  }
}

}  // namespace
}  // namespace images
