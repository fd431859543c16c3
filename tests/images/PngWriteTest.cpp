// Saving: every pixel format round-trips, the reference library reads what we
// write, and the chunk list always writes a valid file.
#include <gtest/gtest.h>

#include <algorithm>

#include "LibPngReference.h"
#include "PngTestSupport.h"
#include "images/EPNGImageException.h"

namespace images {
namespace {

using namespace images::testing;

void paint(gui::TBitmap& bitmap, gui::TPixelFormat format, int width, int height) {
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(width, height);
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * BitsOf(bitmap) + 7) / 8;
  for (int y = 0; y < height; ++y)
    for (std::size_t i = 0; i < rowBytes; ++i)
      Row(bitmap, y)[i] = static_cast<std::uint8_t>((i * 13 + y * 7) % 5 == 0 ? 0x33 : i * 29 + y * 3);
  if (PaletteBitsOf(format) > 0) {
    std::vector<TPngColor> palette;
    for (int k = 0; k < (1 << PaletteBitsOf(format)); ++k)
      palette.push_back(
          {static_cast<std::uint8_t>(k * 3), static_cast<std::uint8_t>(255 - k), static_cast<std::uint8_t>(k * 7)});
    bitmap.SetPalette(MakePalette(palette));
  }
}

TEST(PngWrite, EveryPixelFormatSavesAndReloadsToTheSamePixels) {
  for (gui::TPixelFormat format : {gui::pf1bit, gui::pf4bit, gui::pf8bit, gui::pf24bit, gui::pf32bit}) {
    for (TEncodeFilterSet filters : {TEncodeFilterSet{1}, kDefaultEncodeFilters, kAllFilters}) {
      TPNGImage image;
      paint(image, format, 29, 11);
      const std::vector<std::uint8_t> before = BitmapRgb(image);
      image.SetFilters(filters);
      const std::string png = SavePng(image);

      TPNGImage reloaded;
      LoadPng(reloaded, png);
      EXPECT_EQ(BitmapRgb(reloaded), before) << format << " filters " << int(filters);
      EXPECT_EQ(reloaded.PixelFormat(), format == gui::pf32bit ? gui::pf24bit : format);
      const Rgb8Image reference = ReadPngRgb8(png);
      ASSERT_TRUE(reference.ok) << format;
      EXPECT_EQ(reference.rgb, before) << format;
    }
  }
}

TEST(PngWrite, TruecolourImageWritesHeaderDataAndEndButNoText) {
  TPNGImage loaded;
  LoadPng(loaded, kSignature + Ihdr(1, 1, 8, 2) + Chunk("tEXt", std::string("Title\0x", 7)) +
                      Idat(std::string("\0\1\2\3", 4)) + kIend);
  ASSERT_NE(loaded.Chunks().IndexOfClass<TChunkTEXT>(), -1);
  const std::string png = SavePng(loaded);
  EXPECT_EQ(ChunkTypesOf(png), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_EQ(png.substr(8 + 8 + 8, 5), std::string("\x08\x02\0\0\0", 5));  // depth, colour type, methods
}

TEST(PngWrite, UnknownChunksAreWrittenBackUnlessTheirLastLetterIsLowerCase) {
  const std::string time = Chunk("tIME", std::string("\x07\xD0\1\1\0\0\0", 7));
  TPNGImage image;
  LoadPng(image, kSignature + Ihdr(1, 1, 8, 2) + time + Chunk("zzZz", "no") + Idat(std::string("\0\1\2\3", 4)) +
                     kIend);
  const std::string png = SavePng(image);
  EXPECT_EQ(ChunkTypesOf(png), (std::vector<std::string>{"IHDR", "tIME", "IDAT", "IEND"}));
  EXPECT_NE(png.find(time), std::string::npos);
}

TEST(PngWrite, TransparentTruecolourWritesOneValidTransparencyChunk) {
  TPNGImage image;
  paint(image, gui::pf24bit, 4, 4);
  image.SetTransparent(true);
  image.SetTransparentColor(0x30201A);
  TPNGImage reloaded;
  LoadPng(reloaded, SavePng(image));
  EXPECT_TRUE(reloaded.Transparent());
  EXPECT_EQ(reloaded.TransparentColor(), 0x30201Au);

  // Saving the loaded image again keeps a single tRNS, ahead of the data.
  const std::string again = SavePng(reloaded);
  EXPECT_EQ(ChunkTypesOf(again), (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
  EXPECT_NE(again.find(Chunk("tRNS", std::string("\0\x1A\0\x20\0\x30", 6))), std::string::npos);

  reloaded.SetTransparent(false);
  EXPECT_EQ(ChunkTypesOf(SavePng(reloaded)), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngWrite, ThreeByteTransparencyOfEarlierFilesStillReads) {
  TPNGImage image;
  LoadPng(image, kSignature + Ihdr(1, 1, 8, 2) + Chunk("tRNS", "\x11\x22\x33") + Idat(std::string("\0\1\2\3", 4)) +
                     kIend);
  EXPECT_TRUE(image.Transparent());
  EXPECT_EQ(image.TransparentColor(), 0x332211u);
}

TEST(PngWrite, PaletteComesBeforeTheDataAndIsNeverEmpty) {
  TPNGImage image;
  paint(image, gui::pf8bit, 3, 3);
  image.Chunks().Remove(image.Chunks().FirstOfClass<TChunkIDAT>());
  EXPECT_EQ(ChunkTypesOf(SavePng(image)), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));

  // A truecolour image never writes an empty PLTE, even when the list has one.
  TPNGImage truecolour;
  paint(truecolour, gui::pf24bit, 3, 3);
  truecolour.Chunks().AddClass<TChunkPLTE>();
  const std::string written = SavePng(truecolour);
  EXPECT_EQ(ChunkTypesOf(written), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  EXPECT_TRUE(ReadPngRgb8(written).ok);

  // A palette bitmap with the class library's default colours saves them.
  TPNGImage bare;
  bare.SetPixelFormat(gui::pf1bit);
  bare.SetSize(8, 1);
  Row(bare, 0)[0] = 0x0F;
  const Rgb8Image reference = ReadPngRgb8(SavePng(bare));
  ASSERT_TRUE(reference.ok);
  EXPECT_EQ(reference.rgb, BitmapRgb(bare));
}

TEST(PngWrite, ChunkOrderIsRepairedBeforeWriting) {
  TPNGImage image;
  paint(image, gui::pf4bit, 5, 2);
  TChunkList& chunks = image.Chunks();
  chunks.Move(chunks.IndexOfClass<TChunkIHDR>(), 2);  // IDAT, IEND, IHDR
  chunks.AddClass<TChunkPLTE>();                      // after the data
  chunks.AddClass<TChunkIHDR>();                      // and a second header
  const std::string png = SavePng(image);
  EXPECT_EQ(ChunkTypesOf(png), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
  EXPECT_TRUE(ReadPngRgb8(png).ok);
}

TEST(PngWrite, InterlacingIsNeverWritten) {
  TPNGImage image;
  paint(image, gui::pf24bit, 9, 9);
  image.SetInterlacing(true);
  const std::vector<std::uint8_t> before = BitmapRgb(image);
  const std::string png = SavePng(image);
  EXPECT_FALSE(image.Interlacing());
  EXPECT_EQ(png[8 + 8 + 12], '\0');
  EXPECT_EQ(ReadPngRgb8(png).rgb, before);
}

TEST(PngWrite, PaletteEntriesGoThroughTheInverseGammaTable) {
  ReferenceImage ref;
  ref.width = 4;
  ref.colorType = 3;
  ref.bitDepth = 2;
  ref.fileGamma = 1.0 / 1.8;
  ref.palette = {{0, 0, 0}, {60, 120, 180}, {200, 100, 50}, {255, 255, 255}};
  ref.rows = {{0x1B}};
  TPNGImage image;
  LoadPng(image, WritePng(ref));
  const std::vector<std::uint8_t> shown = BitmapRgb(image);
  TPNGImage reloaded;
  LoadPng(reloaded, SavePng(image));
  EXPECT_EQ(BitmapRgb(reloaded), shown);
}

TEST(PngWrite, AssignCopiesChunksSettingsAndPixels) {
  TPNGImage source;
  LoadPng(source, kSignature + Ihdr(2, 1, 8, 2) + Chunk("gAMA", BigEndian32(45455)) + Chunk("tIME", "1234567") +
                      Idat(std::string("\0\1\2\3\4\5\6", 7)) + kIend);
  source.SetFilters(pftNone | (1 << pftUp));
  TPNGImage copy;
  copy.Assign(&source);
  ASSERT_EQ(copy.Chunks().Count(), source.Chunks().Count());
  for (int i = 0; i < copy.Chunks().Count(); ++i) {
    const TChunk& copied = copy.Chunks().Item(i);
    const TChunk& original = source.Chunks().Item(i);
    EXPECT_EQ(typeid(copied), typeid(original));
    EXPECT_EQ(copy.Chunks().Item(i).ChunkType(), source.Chunks().Item(i).ChunkType());
    EXPECT_EQ(copy.Chunks().Item(i).Owner(), &copy.Chunks());
  }
  EXPECT_TRUE(copy.Chunks().FirstOfClass<TChunkGAMA>()->HasTables());
  EXPECT_EQ(copy.Filters(), source.Filters());
  EXPECT_EQ(BitmapRgb(copy), BitmapRgb(source));
}

TEST(PngChunkList, RangeAndMembershipAreChecked) {
  TPNGImage image;
  TChunkList& chunks = image.Chunks();
  EXPECT_EQ(chunks.Count(), 3);  // IHDR, IDAT, IEND
  EXPECT_EQ(chunks.IndexOfClass<TChunkIEND>(), 2);
  EXPECT_EQ(chunks.IndexOfClass<TChunkPLTE>(), -1);
  try {
    chunks.Item(3);
    FAIL();
  } catch (const EPNGImageException& e) {
    EXPECT_EQ(e.Message(), PngErrorMessage(EPngIndexOutOfRange));
  }
  EXPECT_THROW(chunks.Move(0, 3), EPNGImageException);
  TPNGImage other;
  try {
    chunks.Remove(&other.Chunks().Item(0));
    FAIL();
  } catch (const EPNGImageException& e) {
    EXPECT_EQ(e.Message(), PngErrorMessage(EPngChunkNotInList));
  }
  EXPECT_THROW(ChunkClassAt(7), EPNGImageException);
  EXPECT_EQ(std::string(ChunkClassAt(2).Type.data(), 4), "gAMA");
}

TEST(PngChunkList, SettingTheHeaderSizeResizesTheImage) {
  TPNGImage image;
  TChunkIHDR& header = *image.Chunks().FirstOfClass<TChunkIHDR>();
  EXPECT_EQ(header.Header().BitDepth, 2);
  EXPECT_EQ(header.Header().ColorType, 3);
  header.SetWidth(12);
  header.SetHeight(7);
  EXPECT_EQ(image.Width(), 12);
  EXPECT_EQ(image.Height(), 7);
  EXPECT_EQ(header.Header().Width, 12u);
}

}  // namespace
}  // namespace images
