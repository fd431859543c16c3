// Files that fuzzing of the PNG loader turned up, kept in tests/data/regress/png
// with the result each must give. What each did when it was found was not
// recorded; the comments say what the file holds.
#include <gtest/gtest.h>

#include "PngTestSupport.h"
#include "images/EPNGImageException.h"

namespace images {
namespace {

using namespace images::testing;

const std::string kRegress = std::string(PAGEWELL_TEST_DATA_DIR) + "/regress/png/";

std::string loadError(const std::string& name) {
  TPNGImage image;
  try {
    LoadPng(image, ReadFileBytes(kRegress + name));
  } catch (const gui::Exception& e) {
    return e.Message();
  }
  return "(loaded)";
}

// Loads the file, then saves it and loads the copy, as the fuzz target does.
// (Pixels may differ: a kept gAMA chunk applies again to the saved pixels.)
void expectLoadsAndRoundTrips(const std::string& name, int width, int height) {
  TPNGImage image;
  LoadPng(image, ReadFileBytes(kRegress + name));
  EXPECT_EQ(image.Width(), width);
  EXPECT_EQ(image.Height(), height);
  TPNGImage again;
  LoadPng(again, SavePng(image));
  EXPECT_EQ(again.Width(), width);
  EXPECT_EQ(again.Height(), height);
}

// A 32x32 16-bit RGB image whose data comes in about 150 IDAT chunks of one
// byte each: the chunks join into one stream and the whole picture decodes.
TEST(PngRegress, ImageDataInOneByteChunks) { expectLoadsAndRoundTrips("image-data-in-one-byte-chunks.png", 32, 32); }

// A 1x1 interlaced 1-bit palette image: six of the seven passes are empty.
TEST(PngRegress, Interlaced1x1Palette) { expectLoadsAndRoundTrips("interlaced-1x1-palette.png", 1, 1); }

// One-byte IDAT chunks, then a chunk whose CRC does not match.
TEST(PngRegress, OneByteIdatsThenBadCrc) {
  EXPECT_EQ(loadError("one-byte-idats-then-bad-crc.png"), PngErrorMessage(EPngCorruptedData));
}

// One-byte IDAT chunks, then a chunk whose type and CRC are damaged.
TEST(PngRegress, OneByteIdatsThenDamagedChunk) {
  EXPECT_EQ(loadError("one-byte-idats-then-damaged-chunk.png"), PngErrorMessage(EPngCorruptedData));
}

// One-byte IDAT chunks, then a chunk that claims 35,769 bytes the file does
// not have: refused before anything is allocated for it.
TEST(PngRegress, OneByteIdatsThenLengthPastTheEnd) {
  EXPECT_EQ(loadError("one-byte-idats-then-length-past-the-end.png"), PngErrorMessage(EPngCorruptedData));
}

}  // namespace
}  // namespace images
