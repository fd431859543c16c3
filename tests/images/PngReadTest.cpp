// Decoding checked against the system PNG library on images it writes.
#include <gtest/gtest.h>

#include <algorithm>

#include "LibPngReference.h"
#include "PngTestSupport.h"
#include "images/EPNGImageException.h"

namespace images {
namespace {

using testing::BitmapRgb;
using testing::LoadPng;
using testing::ReferenceImage;

struct Kind {
  int colorType;
  int bitDepth;
};

const Kind kEveryKind[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

// Decodes `png` with TPNGImage and compares its colours with the reference's.
void expectSameAsReference(const std::string& png, const std::string& what,
                           const std::vector<std::uint8_t>* gamma = nullptr) {
  TPNGImage image;
  ASSERT_NO_THROW(LoadPng(image, png)) << what;
  const testing::Rgb8Image reference = testing::ReadPngRgb8(png);
  ASSERT_TRUE(reference.ok) << what;
  ASSERT_EQ(image.Width(), static_cast<int>(reference.width)) << what;
  ASSERT_EQ(image.Height(), static_cast<int>(reference.height)) << what;
  std::vector<std::uint8_t> expected = reference.rgb;
  if (gamma)
    for (auto& sample : expected) sample = (*gamma)[sample];
  const std::vector<std::uint8_t> actual = BitmapRgb(image);
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t i = 0; i < actual.size(); ++i)
    ASSERT_EQ(actual[i], expected[i]) << what << ": sample " << i << " (pixel " << i / 3 << ")";
}

TEST(PngRead, EveryColourTypeDepthFilterAndInterlaceMatchesTheReference) {
  for (const Kind kind : kEveryKind) {
    for (bool interlaced : {false, true}) {
      for (int filter = 0; filter <= 4; ++filter) {
        ReferenceImage ref;
        ref.width = 37;
        ref.height = 19;
        ref.colorType = kind.colorType;
        ref.bitDepth = kind.bitDepth;
        ref.interlaced = interlaced;
        ref.filter = filter;
        testing::FillPattern(ref, static_cast<unsigned>(kind.colorType * 100 + kind.bitDepth + filter));
        const std::string what = "type " + std::to_string(kind.colorType) + " depth " +
                                 std::to_string(kind.bitDepth) + (interlaced ? " interlaced" : "") + " filter " +
                                 std::to_string(filter);
        expectSameAsReference(testing::WritePng(ref), what);
      }
    }
  }
}

TEST(PngRead, TinyInterlacedImagesSkipTheEmptyPasses) {
  for (std::uint32_t width = 1; width <= 9; ++width) {
    for (std::uint32_t height = 1; height <= 9; height += 4) {
      for (const Kind kind : {Kind{2, 8}, Kind{0, 1}, Kind{3, 4}}) {
        ReferenceImage ref;
        ref.width = width;
        ref.height = height;
        ref.colorType = kind.colorType;
        ref.bitDepth = kind.bitDepth;
        ref.interlaced = true;
        testing::FillPattern(ref, width * 10 + height);
        expectSameAsReference(testing::WritePng(ref), std::to_string(width) + "x" + std::to_string(height));
      }
    }
  }
}

TEST(PngRead, ImageDataSplitOverManyIdatChunksDecodesLikeOne) {
  ReferenceImage ref;
  ref.width = 64;
  ref.height = 40;
  ref.idatSize = 7;  // an IDAT chunk every 7 bytes of compressed data
  testing::FillPattern(ref, 3);
  const std::string split = testing::WritePng(ref);
  const std::vector<std::string> types = testing::ChunkTypesOf(split);
  ASSERT_GT(std::count(types.begin(), types.end(), "IDAT"), 10);
  ref.idatSize = 0;
  TPNGImage one, many;
  LoadPng(one, testing::WritePng(ref));
  LoadPng(many, split);
  EXPECT_EQ(BitmapRgb(one), BitmapRgb(many));
  EXPECT_EQ(many.Chunks().IndexOfClass<TChunkIDAT>(), many.Chunks().Count() - 2);  // one IDAT kept, before IEND
}

TEST(PngRead, PixelFormatsAndStoredValuesFollowTheBitDepth) {
  struct Expectation {
    Kind kind;
    gui::TPixelFormat format;
    std::size_t paletteSize;
  };
  for (const Expectation e : {Expectation{{0, 1}, gui::pf1bit, 2}, Expectation{{0, 2}, gui::pf4bit, 16},
                              Expectation{{0, 4}, gui::pf4bit, 16}, Expectation{{0, 16}, gui::pf8bit, 256},
                              Expectation{{3, 2}, gui::pf4bit, 16}, Expectation{{3, 8}, gui::pf8bit, 256},
                              Expectation{{6, 16}, gui::pf24bit, 0}}) {
    ReferenceImage ref;
    ref.width = 8;
    ref.colorType = e.kind.colorType;
    ref.bitDepth = e.kind.bitDepth;
    testing::FillPattern(ref, 1);
    TPNGImage image;
    LoadPng(image, testing::WritePng(ref));
    EXPECT_EQ(image.PixelFormat(), e.format) << e.kind.colorType << "/" << e.kind.bitDepth;
    EXPECT_EQ(PaletteColorsOf(image).size(), e.paletteSize) << e.kind.colorType << "/" << e.kind.bitDepth;
  }

  // 2-bit samples 0-3 are stored as 0, 5, 10, 15 over a palette whose entries repeat every four.
  ReferenceImage ref;
  ref.width = 4;
  ref.colorType = 3;
  ref.bitDepth = 2;
  ref.palette = {{10, 0, 0}, {0, 20, 0}, {0, 0, 30}, {40, 40, 40}};
  ref.rows = {{0x1B}};  // 00 01 10 11
  TPNGImage image;
  LoadPng(image, testing::WritePng(ref));
  EXPECT_EQ(testing::Row(image, 0)[0], 0x05);
  EXPECT_EQ(testing::Row(image, 0)[1], 0xAF);
  EXPECT_EQ(PaletteColorsOf(image)[5], (TPngColor{0, 20, 0}));
  EXPECT_EQ(PaletteColorsOf(image)[15], (TPngColor{40, 40, 40}));
}

TEST(PngRead, GammaAppliesToRgbSamplesAndBothKindsOfPalette) {
  for (const Kind kind : {Kind{2, 8}, Kind{6, 16}, Kind{3, 8}, Kind{0, 4}, Kind{4, 8}}) {
    for (double fileGamma : {1.0 / 1.8, 1.0, 0.45455}) {
      ReferenceImage ref;
      ref.width = 20;
      ref.height = 6;
      ref.colorType = kind.colorType;
      ref.bitDepth = kind.bitDepth;
      ref.fileGamma = fileGamma;
      testing::FillPattern(ref, 9);
      const auto table = testing::GammaTableFor(static_cast<std::uint32_t>(std::lround(fileGamma * 100000)));
      expectSameAsReference(testing::WritePng(ref), "gamma " + std::to_string(fileGamma), &table);
    }
  }
}

TEST(PngRead, TruecolourTransparencySetsTheTransparentColourAndPaletteTransparencyDoesNot) {
  ReferenceImage rgb;
  rgb.width = 3;
  rgb.transparentRgb = std::array<std::uint16_t, 3>{0x12, 0x34, 0x56};
  testing::FillPattern(rgb, 1);
  TPNGImage image;
  LoadPng(image, testing::WritePng(rgb));
  EXPECT_TRUE(image.Transparent());
  EXPECT_EQ(image.TransparentColor(), 0x563412u);

  rgb.bitDepth = 16;
  rgb.transparentRgb = std::array<std::uint16_t, 3>{0x1234, 0x5678, 0x9ABC};
  testing::FillPattern(rgb, 1);
  TPNGImage deep;
  LoadPng(deep, testing::WritePng(rgb));
  EXPECT_TRUE(deep.Transparent());
  EXPECT_EQ(deep.TransparentColor(), 0x9A5612u);  // high bytes, as the pixels keep them

  ReferenceImage palette;
  palette.width = 3;
  palette.colorType = 3;
  testing::FillPattern(palette, 1);
  palette.paletteAlpha = {255, 0};
  TPNGImage paletted;
  LoadPng(paletted, testing::WritePng(palette));
  EXPECT_FALSE(paletted.Transparent());
  EXPECT_NE(paletted.Chunks().IndexOfClass<TChunkTRNS>(), -1);
}

TEST(PngRead, ProgressReportsRowsOfPlainImagesAndPassesOfInterlacedOnes) {
  ReferenceImage ref;
  ref.width = 5;
  ref.height = 4;
  testing::FillPattern(ref, 2);
  std::vector<int> percents;
  std::vector<win::RECT> rects;
  TPNGImage image;
  image.OnProgress = [&](gui::TObject* sender, TProgressStage stage, std::uint8_t percent, bool redraw,
                         const win::RECT& r, const std::string& msg) {
    EXPECT_EQ(sender, &image);
    EXPECT_EQ(stage, psRunning);
    EXPECT_TRUE(redraw);
    EXPECT_EQ(msg, "Drawing...");
    percents.push_back(percent);
    rects.push_back(r);
  };
  LoadPng(image, testing::WritePng(ref));
  EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75}));
  EXPECT_EQ(rects[1], (win::RECT{0, 0, 5, 1}));

  percents.clear();
  ref.interlaced = true;
  LoadPng(image, testing::WritePng(ref));
  EXPECT_EQ(percents, (std::vector<int>{0, 17, 33, 50, 67, 83, 100}));
}

}  // namespace
}  // namespace images
