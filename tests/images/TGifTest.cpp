// TGif on hand-built files: header and block errors, the looping extension,
// per-image values, composing, disposal, clipping and the hostile-size guards.
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "platform/gui/Exception.h"

namespace images::testing {
namespace {

const std::vector<std::uint32_t> kFourColors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

std::string OnePixelGif(const std::string& before = "", const std::string& signature = "GIF89a") {
  GifImageSpec image;
  image.pixels = {1};
  return GifHeader(1, 1, kFourColors, signature) + before + GifImageBlock(image) + ";";
}

std::string LoadError(const std::string& bytes) {
  LoadedGif loaded;
  try {
    LoadGif(loaded, bytes);
  } catch (const gui::EInvalidGraphicOperation& e) {
    return e.Message();
  }
  return "";
}

TEST(TGif, SignatureIsCheckedWithoutCase) {
  EXPECT_EQ(LoadError(OnePixelGif("", "gif89a")), "");
  EXPECT_EQ(LoadError(OnePixelGif("", "GIF87a")), "");
  EXPECT_EQ(LoadError(OnePixelGif("", "GIF90a")), "TGif: Invalid GIF Signature Code");
  EXPECT_EQ(GifLastErrorCode, geInvalidSignature);
  EXPECT_EQ(LoadError("GIF"), "TGif: Invalid GIF Signature Code");
}

TEST(TGif, HeaderAndBlockErrors) {
  const std::string header = GifHeader(1, 1, kFourColors);
  EXPECT_EQ(LoadError(header + std::string(1, '\0')), "TGif: No Image Description");
  EXPECT_EQ(LoadError(header + ";"), "TGif: No Image Description");
  EXPECT_EQ(LoadError(header), "TGif: No Image Description");
  EXPECT_EQ(LoadError(OnePixelGif("\x21\x33")), "TGif: unknown extension: 0033");
  EXPECT_EQ(GifLastErrorCode, geSpecialMessage);
  EXPECT_EQ(LoadError(header + "x"), "TGif: Unknown Graphics Operation Code");
  EXPECT_EQ(LoadError(OnePixelGif(std::string("\x21\xF9\x05\0\0\0\0\0\0", 9))), "TGif: Invalid Extension Block Size");
  EXPECT_EQ(LoadError(OnePixelGif(std::string("\x21\xF9\x04\0\0\0\0\x07", 8))),
            "TGif: Invalid Extension Block Terminator");
  EXPECT_EQ(LoadError(OnePixelGif(std::string("\x21\x01\x0B", 3))), "TGif: Invalid Extension Block Size");
  EXPECT_EQ(LoadError(header + "\x21\xFE\x09short"), "TGif: Unexpected end of file");
  GifImageSpec image;
  image.pixels = {1};
  EXPECT_EQ(LoadError(GifHeader(1, 1, {}) + GifImageBlock(image)), "TGif: No Local or Global Color Table for Image");
  image.width = 0;
  image.pixels.clear();
  EXPECT_EQ(LoadError(GifHeader(1, 1, kFourColors) + GifImageBlock(image)), "TGif: Zero width or height");
  // An empty screen would make an empty strip.
  EXPECT_EQ(LoadError(GifHeader(0, 5, kFourColors) + ";"), "TGif: Zero width or height");
}

TEST(TGif, LzwDataErrors) {
  const std::string header = GifHeader(2, 1, kFourColors);
  // Minimum code size 12 gives 13-bit codes.
  GifImageSpec image = ImageSpec(0, 0, 2, 1, {1, 2});
  image.minCodeSize = 12;
  EXPECT_EQ(LoadError(header + GifImageBlock(image)), "TGif: Invalid LZW Code Size");
  // Codes of 3 bits: clear 4, end 5. A first code past the literals, an end
  // right after a clear, and a code beyond the next free one are invalid.
  const auto block = [](std::uint8_t data) {
    return std::string(",\0\0\0\0\x02\0\x01\0\0\x02\x01", 12) + static_cast<char>(data) + std::string(1, '\0');
  };
  EXPECT_EQ(LoadError(header + block(0x07)), "TGif: Invalid LZW Data Format");         // 7
  EXPECT_EQ(LoadError(header + block(0x2C)), "TGif: Invalid LZW Data Format");         // 4, 5
  EXPECT_EQ(LoadError(header + block(0x39 | 0x00)), "TGif: Invalid LZW Data Format");  // 1, 7
  // Codes 4, 1, 6 (= the next free: 1 1): fine.
  LoadedGif loaded;
  ASSERT_NO_THROW(LoadGif(loaded, header + std::string(",\0\0\0\0\x02\0\x01\0\0\x02\x02\x8C\x01\0;", 16)));
  EXPECT_EQ(StripPixel(*loaded.strip, 0, 0), 0xFF0000u);
  EXPECT_EQ(StripPixel(*loaded.strip, 1, 0), 0xFF0000u);
}

TEST(TGif, ErrorsAfterTheFirstImageKeepTheImagesSoFar) {
  GifImageSpec image;
  image.pixels = {2};
  const std::string good = GifHeader(1, 1, kFourColors) + GifImageBlock(image);
  LoadedGif loaded;
  ASSERT_NO_THROW(LoadGif(loaded, good + std::string(",\0\0\0\0\x01\0\x01\0\0\x02\x01\x07", 13) + "\0;"));
  EXPECT_EQ(loaded.gif.ImageCount(), 1);
  LoadedGif truncated;
  ASSERT_NO_THROW(LoadGif(truncated, good + "\x21\x33"));
  EXPECT_EQ(truncated.gif.ImageCount(), 1);
}

TEST(TGif, LoopCountComesFromTheNetscapeExtension) {
  LoadedGif forever, five, none;
  LoadGif(forever, OnePixelGif(LoopExtension(0)));
  LoadGif(five, OnePixelGif(LoopExtension(5)));
  LoadGif(none, OnePixelGif(std::string("\x21\xFF\x0BOTHERAPP2.0\x03\x01\x05\0\0", 19)));
  EXPECT_EQ(forever.gif.LoopCount(), 0);
  EXPECT_EQ(five.gif.LoopCount(), 5);
  EXPECT_EQ(none.gif.LoopCount(), -1);
}

TEST(TGif, GraphicControlValues) {
  LoadedGif plain, controlled;
  LoadGif(plain, OnePixelGif());
  // Disposal 7 reads as 3; delay 0 reads as 1.
  LoadGif(controlled, OnePixelGif(GraphicControl(7, 0, 2) + GraphicControl(1, 50, -1)));
  EXPECT_EQ(plain.gif.ImageDisposal(0), 0);
  EXPECT_EQ(plain.gif.ImageDelay(0), 1);
  EXPECT_EQ(plain.gif.ImageTransparentIndex(0), -1);
  EXPECT_FALSE(plain.gif.AnyTransparent());
  EXPECT_EQ(controlled.gif.ImageDisposal(0), 3);
  EXPECT_EQ(controlled.gif.ImageDelay(0), 1);
  EXPECT_EQ(controlled.gif.ImageTransparentIndex(0), 2);
  EXPECT_TRUE(controlled.gif.AnyTransparent());
  EXPECT_THROW(plain.gif.ImageLeft(1), gui::EInvalidGraphicOperation);
  EXPECT_EQ(GifLastErrorText, "Value Out Of Range");
}

TEST(TGif, ImagesAreClippedToTheScreen) {
  // Screen 3x2; an image 5 wide and 4 tall at (1, 0): columns past 3 and
  // rows past 2 are dropped.
  GifImageSpec image = ImageSpec(1, 0, 5, 4, {});
  for (int i = 0; i < 20; ++i) image.pixels.push_back(static_cast<std::uint8_t>(1 + i % 3));
  LoadedGif loaded;
  LoadGif(loaded, GifHeader(3, 2, kFourColors) + GifImageBlock(image) + ";");
  EXPECT_EQ(loaded.gif.ImageHeight(0), 2);
  EXPECT_EQ(loaded.strip->Width(), 3);
  EXPECT_EQ(loaded.strip->Height(), 2);
  EXPECT_EQ(StripPixel(*loaded.strip, 0, 0), 0u);  // not covered: black
  EXPECT_EQ(StripPixel(*loaded.strip, 1, 0), 0xFF0000u);
  EXPECT_EQ(StripPixel(*loaded.strip, 2, 0), 0x00FF00u);
  EXPECT_EQ(StripPixel(*loaded.strip, 1, 1), 0x0000FFu);  // row 1 starts at pixel 5: index 5 % 3 + 1
  EXPECT_EQ(StripPixel(*loaded.strip, 2, 1), 0xFF0000u);
}

// An interlaced image taller than the screen still follows its own pass
// schedule: its top rows come out in the right order.
TEST(TGif, TallInterlacedImagesKeepTheirRowOrder) {
  GifImageSpec image = ImageSpec(0, 0, 1, 16, {});
  image.interlaced = true;
  for (int y = 0; y < 16; ++y) image.pixels.push_back(static_cast<std::uint8_t>(y % 4));
  LoadedGif loaded;
  LoadGif(loaded, GifHeader(1, 6, kFourColors) + GifImageBlock(image) + ";");
  for (int y = 0; y < 6; ++y) EXPECT_EQ(StripPixel(*loaded.strip, 0, y), kFourColors[y % 4]) << y;
}

TEST(TGif, ColoursPastTheTableAreBlack) {
  GifImageSpec image = ImageSpec(0, 0, 2, 1, {1, 7});
  image.minCodeSize = 3;
  LoadedGif loaded;
  LoadGif(loaded, GifHeader(2, 1, {0x000000, 0xFFFFFF}) + GifImageBlock(image) + ";");
  EXPECT_EQ(StripPixel(*loaded.strip, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(StripPixel(*loaded.strip, 1, 0), 0u);
}

// Frame 1 (2x1, red/green) with disposal 2, then frame 2 leaving its left
// pixel transparent: the strip shows frame 1 under frame 2 where nothing is
// disposed, the background (mask) where frame 1 was disposed.
TEST(TGif, FramesComposeWithDisposalThroughTheMask) {
  const std::string header = GifHeader(3, 1, kFourColors);
  const auto twoFrames = [&](int disposal) {
    GifImageSpec first = ImageSpec(0, 0, 2, 1, {1, 2});
    GifImageSpec second = ImageSpec(0, 0, 3, 1, {0, 3, 0});
    return header + GraphicControl(disposal, 10, -1) + GifImageBlock(first) + GraphicControl(0, 10, 0) +
           GifImageBlock(second) + ";";
  };
  LoadedGif kept, disposed;
  LoadGif(kept, twoFrames(1));
  LoadGif(disposed, twoFrames(2));
  ASSERT_TRUE(kept.mask && disposed.mask);
  ASSERT_EQ(kept.strip->Width(), 6);
  // Frame 1: red, green, and an uncovered transparent pixel.
  EXPECT_EQ(StripPixel(*kept.strip, 0, 0), 0xFF0000u);
  EXPECT_EQ(MaskPixel(*kept.mask, 0, 0), 0);
  EXPECT_EQ(MaskPixel(*kept.mask, 2, 0), 1);
  // Frame 2 keeps frame 1's red under its transparent pixel.
  EXPECT_EQ(StripPixel(*kept.strip, 3, 0), 0xFF0000u);
  EXPECT_EQ(MaskPixel(*kept.mask, 3, 0), 0);
  EXPECT_EQ(StripPixel(*kept.strip, 4, 0), 0x0000FFu);
  EXPECT_EQ(MaskPixel(*kept.mask, 5, 0), 1);
  EXPECT_EQ(MaskPixel(*disposed.mask, 3, 0), 1);
  EXPECT_EQ(MaskPixel(*disposed.mask, 4, 0), 0);
}

TEST(TGif, StripBudgetIsCheckedBeforeAllocating) {
  // 50,000 x 300 with 4 frames: 180,000,054 bytes, over the limit only when transparent.
  EXPECT_EQ(TGif::StripBytes(50000, 300, 4), 180000054);
  GifImageSpec image;
  image.pixels = {1};
  std::string frames;
  for (int i = 0; i < 4; ++i) frames += GraphicControl(0, 10, i == 3 ? 0 : -1) + GifImageBlock(image);
  EXPECT_EQ(LoadError(GifHeader(50000, 300, kFourColors) + frames + ";"), "TGif: Animated GIF too large");
  // 60,000 x 300: the fourth frame passes 200,000,000 bytes; nothing is kept.
  frames.clear();
  for (int i = 0; i < 4; ++i) frames += GifImageBlock(image);
  EXPECT_EQ(LoadError(GifHeader(60000, 300, kFourColors) + frames + ";"), "TGif: Animated GIF too large");
  EXPECT_EQ(LoadError(GifHeader(65535, 65535, kFourColors) + frames + ";"), "TGif: Animated GIF too large");
}

// A 30-byte image declaring 65535 x 65535 pixels on a 1x1 screen stores one
// pixel, and the decoder stops once the declared image is full.
TEST(TGif, HugeDeclaredImagesCostOnlyTheirVisiblePart) {
  GifImageSpec image = ImageSpec(0, 0, 65535, 65535, {2, 1, 1});
  LoadedGif loaded;
  ASSERT_NO_THROW(LoadGif(loaded, GifHeader(1, 1, kFourColors) + GifImageBlock(image) + ";"));
  EXPECT_EQ(loaded.gif.Image(0).Pixels.Pixels.size(), 1u);
  EXPECT_EQ(StripPixel(*loaded.strip, 0, 0), 0x00FF00u);
  // More data than pixels: the surplus is ignored.
  GifImageSpec small = ImageSpec(0, 0, 2, 1, {1, 2, 3, 3, 3, 3});
  LoadedGif surplus;
  ASSERT_NO_THROW(LoadGif(surplus, GifHeader(2, 1, kFourColors) + GifImageBlock(small) + ";"));
  EXPECT_EQ(StripPixel(*surplus.strip, 1, 0), 0x00FF00u);
}

}  // namespace
}  // namespace images::testing
