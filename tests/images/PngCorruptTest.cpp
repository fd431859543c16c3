// Damaged and hostile files: each is refused with its message, nothing crashes
// and nothing the file merely claims gets allocated.
#include <gtest/gtest.h>

#include "PngTestSupport.h"
#include "images/EPNGImageException.h"
#include "images/ZStreams.h"

namespace images {
namespace {

using namespace images::testing;

// A valid 2x2 RGB image: rows of filter byte 0 and six samples.
const std::string kRows = std::string("\0\1\2\3\4\5\6\0\7\10\11\12\13\14", 14);
const std::string kSmallRgb = kSignature + Ihdr(2, 2, 8, 2) + Idat(kRows) + kIend;

std::string loadError(const std::string& bytes) {
  TPNGImage image;
  try {
    LoadPng(image, bytes);
  } catch (const gui::Exception& e) {
    return e.Message();
  }
  return "(loaded)";
}

void expectRefusedWith(const std::string& bytes, const char* text) {
  EXPECT_EQ(loadError(bytes), PngErrorMessage(text));
}

TEST(PngCorrupt, MessagesCarryTheHandlerPrefix) {
  EXPECT_EQ(PngErrorMessage("x"), "Portable Network Graphics format handler error\r\n\r\nx");
  EXPECT_EQ(loadError(kSmallRgb), "(loaded)");
}

TEST(PngCorrupt, BadSignatureMissingHeaderOrDataAreRefused) {
  std::string bad = kSmallRgb;
  bad[1] = 'Q';
  expectRefusedWith(bad, EPngInvalidFileHeader);
  expectRefusedWith("\x89PNG", EPngInvalidFileHeader);
  expectRefusedWith(kSignature, EPngNoIhdrFirst);
  expectRefusedWith(kSignature + Chunk("tEXt", "a\0b") + Ihdr(2, 2, 8, 2) + Idat(kRows) + kIend, EPngNoIhdrFirst);
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + kIend, EPngNoImageData);
}

TEST(PngCorrupt, WrongCrcInAnyChunkIsCorruptedData) {
  for (std::size_t crcEnd : {std::size_t{8 + 25}, kSmallRgb.size() - 12}) {  // IHDR's CRC, IDAT's CRC
    std::string bad = kSmallRgb;
    bad[crcEnd - 1] ^= 1;
    expectRefusedWith(bad, EPngCorruptedData);
  }
  std::string ancillary = Chunk("tIME", std::string(7, '\1'));
  ancillary.back() ^= 1;
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + ancillary + Idat(kRows) + kIend, EPngCorruptedData);
}

TEST(PngCorrupt, UnknownCriticalChunksAreRefusedAndAncillaryOnesKept) {
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + Chunk("ABCD", "x") + Idat(kRows) + kIend,
                    EPngUnknownCriticalChunk);
  TPNGImage image;
  LoadPng(image, kSignature + Ihdr(2, 2, 8, 2) + Chunk("zzZz", "keep") + Idat(kRows) + kIend);
  ASSERT_EQ(image.Chunks().Count(), 4);
  EXPECT_EQ(image.Chunks().Item(1).ChunkType(), "zzZz");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.Chunks().Item(1).DataBytes()), 4), "keep");
}

TEST(PngCorrupt, ChunkLengthsBeyondTheFileAreRefusedBeforeAllocating) {
  // A 1 GiB tEXt claim in a 60-byte file, and lengths past 2^31 - 1.
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + BigEndian32(0x3FFFFFFF) + "tEXt" + "abcd", EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + BigEndian32(0xFFFFFFF0) + "IDAT", EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + std::string("\0\0", 2), EPngCorruptedData);
}

// Each cut of a small file is refused with the message its cut point calls
// for, or, where only whole chunks remain and the image data is among them,
// decodes to the full picture.
TEST(PngCorrupt, EveryTruncationIsRefusedOrLoadsWithoutHarm) {
  const std::size_t headerEnd = kSignature.size() + Ihdr(2, 2, 8, 2).size();
  const std::size_t dataEnd = headerEnd + Idat(kRows).size();
  TPNGImage whole;
  LoadPng(whole, kSmallRgb);
  const std::vector<std::uint8_t> picture = BitmapRgb(whole);
  ASSERT_EQ(picture.size(), 12u);
  for (std::size_t size = 0; size < kSmallRgb.size(); ++size) {
    SCOPED_TRACE(size);
    const std::string cut = kSmallRgb.substr(0, size);
    if (size < kSignature.size()) {
      expectRefusedWith(cut, EPngInvalidFileHeader);
    } else if (size == kSignature.size()) {
      expectRefusedWith(cut, EPngNoIhdrFirst);
    } else if (size == headerEnd) {
      expectRefusedWith(cut, EPngNoImageData);
    } else if (size == dataEnd) {
      TPNGImage image;
      LoadPng(image, cut);  // without IEND: every row is there
      EXPECT_EQ(BitmapRgb(image), picture);
    } else {
      expectRefusedWith(cut, EPngCorruptedData);  // a chunk cut short
    }
  }
}

TEST(PngCorrupt, ImageDataEndingEarlyLeavesTheRestBlack) {
  const std::string rows = std::string("\0\x10\x20\x30", 4) + std::string("\0\x40\x50\x60", 4);
  const std::string packed = Zlib(rows);
  TPNGImage image;
  LoadPng(image, kSignature + Ihdr(1, 4, 8, 2) + Chunk("IDAT", packed.substr(0, packed.size() - 4)) + kIend);
  const std::vector<std::uint8_t> rgb = BitmapRgb(image);
  EXPECT_EQ(rgb, (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0, 0, 0, 0, 0}));
}

TEST(PngCorrupt, HeadersOutsideTheFormatAreCorruptedData) {
  expectRefusedWith(kSignature + Chunk("IHDR", std::string(12, '\1')) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Chunk("IHDR", std::string(14, '\1')) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(0, 2, 8, 2) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(0x80000000u, 1, 8, 2) + Idat(kRows) + kIend, EPngCorruptedData);
  // Row sizes that overflow 32 bits, and far more pixels than any page shows.
  expectRefusedWith(kSignature + Ihdr(0x7FFFFFFF, 1, 16, 6) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(100000, 100000, 8, 2) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(2, 2, 3, 2) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(2, 2, 16, 3) + Idat(kRows) + kIend, EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 1) + Idat(kRows) + kIend, EPngInvalidColorType);
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2, 2) + Idat(kRows) + kIend, EPngUnknownInterlace);
}

TEST(PngCorrupt, GammaOfZeroOrOfTheWrongSizeIsCorruptedData) {
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + Chunk("gAMA", BigEndian32(0)) + Idat(kRows) + kIend,
                    EPngCorruptedData);
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + Chunk("gAMA", "\1\2") + Idat(kRows) + kIend, EPngCorruptedData);
}

TEST(PngCorrupt, PaletteImagesNeedAWholePalette) {
  const std::string rows("\0\0\0", 3);
  expectRefusedWith(kSignature + Ihdr(2, 1, 8, 3) + Idat(rows) + kIend, EPngNoPalette);
  expectRefusedWith(kSignature + Ihdr(2, 1, 8, 3) + Chunk("PLTE", std::string(7, '\1')) + Idat(rows) + kIend,
                    EPngInvalidPalette);
  expectRefusedWith(kSignature + Ihdr(2, 1, 8, 3) + Chunk("PLTE", std::string(3 * 257, '\1')) + Idat(rows) + kIend,
                    EPngInvalidPalette);
}

TEST(PngCorrupt, UnknownFilterBytesAndBrokenZlibDataAreRefused) {
  std::string rows = kRows;
  rows[7] = 5;
  expectRefusedWith(kSignature + Ihdr(2, 2, 8, 2) + Idat(rows) + kIend, EPngInvalidFilter);
  TPNGImage image;
  EXPECT_THROW(LoadPng(image, kSignature + Ihdr(2, 2, 8, 2) + Chunk("IDAT", "\x78\x9Cgarbage!") + kIend),
               EZDecompressionError);
}

}  // namespace
}  // namespace images
