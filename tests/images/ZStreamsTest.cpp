#include "images/ZStreams.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace images {
namespace {

// Half noise, half runs: compresses, but not to nothing.
std::string sampleData(std::size_t size) {
  std::mt19937 random(7);
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; ++i) data[i] = (i / 1024) % 2 ? static_cast<char>(random()) : char(i / 300);
  return data;
}

std::string compressed(const std::string& data, TZCompressionLevel level = zcDefault) {
  gui::TMemoryStream out;
  {
    TZCompressionStream z(out, level);
    z.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    z.Finish();
  }
  return std::string(reinterpret_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
}

void fill(gui::TMemoryStream& stream, const std::string& bytes) {
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
}

std::string inflateAll(gui::TStream& z, std::size_t readSize) {
  std::string out;
  std::vector<char> buffer(readSize);
  for (;;) {
    const std::int64_t got = z.Read(buffer.data(), static_cast<std::int64_t>(readSize));
    if (got <= 0) break;
    out.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return out;
}

std::string zlibUncompress(const std::string& data, std::size_t expected) {
  std::string out(expected + 1, '\0');
  uLongf size = out.size();
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                       data.size()),
            Z_OK);
  out.resize(size);
  return out;
}

// A destination that refuses every write.
class FullStream : public gui::TStream {
 public:
  std::int64_t Read(void*, std::int64_t) override { return 0; }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t, int) override { return 0; }
};

TEST(ZCompressionStream, EveryLevelRoundTripsThroughZlibAndTheDecompressionStream) {
  const std::string data = sampleData(300000);  // several 64 KiB buffers each way
  for (TZCompressionLevel level : {zcNone, zcFastest, zcDefault, zcMax}) {
    const std::string packed = compressed(data, level);
    EXPECT_EQ(zlibUncompress(packed, data.size()), data) << level;
    gui::TMemoryStream source;
    fill(source, packed);
    TZDecompressionStream z(source);
    EXPECT_EQ(inflateAll(z, 777), data) << level;
  }
  EXPECT_LT(compressed(data, zcMax).size(), compressed(data, zcNone).size());
}

TEST(ZCompressionStream, DestructorAloneWritesACompleteEmptyStream) {
  gui::TMemoryStream out;
  { TZCompressionStream z(out); }
  ASSERT_GT(out.Size(), 0);
  const std::string bytes(reinterpret_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
  EXPECT_EQ(zlibUncompress(bytes, 0), "");
}

TEST(ZCompressionStream, FinishReportsAFailedDestinationAndTheDestructorStaysQuiet) {
  FullStream full;
  auto z = std::make_unique<TZCompressionStream>(full);
  z->WriteBuffer("abc", 3);
  EXPECT_THROW(z->Finish(), gui::EWriteError);
  EXPECT_NO_THROW(z.reset());

  FullStream alsoFull;
  auto unfinished = std::make_unique<TZCompressionStream>(alsoFull);
  unfinished->WriteBuffer("abc", 3);
  EXPECT_NO_THROW(unfinished.reset());
}

TEST(ZCompressionStream, RefusesReadsSeeksAndWritesAfterFinish) {
  gui::TMemoryStream out;
  TZCompressionStream z(out);
  z.WriteBuffer("hello", 5);
  EXPECT_EQ(z.Position(), 5);
  char byte;
  try {
    z.Read(&byte, 1);
    FAIL() << "read on a compression stream";
  } catch (const EZCompressionError& e) {
    EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
  }
  EXPECT_THROW(z.Seek(1, gui::soFromCurrent), EZCompressionError);
  EXPECT_THROW(z.Seek(0, gui::soFromBeginning), EZCompressionError);
  z.Finish();
  EXPECT_THROW(z.Write("x", 1), EZCompressionError);
}

TEST(ZCompressionStream, ContinuesWhereItLeftTheDestinationAndReportsFullBuffers) {
  const std::string data = sampleData(400000);
  gui::TMemoryStream out;
  out.WriteBuffer("HEAD", 4);
  int progress = 0;
  {
    TZCompressionStream z(out, zcNone);
    z.OnProgress = [&](gui::TObject* sender) {
      EXPECT_EQ(sender, &z);
      ++progress;
    };
    z.WriteBuffer(data.data(), 200000);
    out.SetPosition(0);  // someone else moves the destination meanwhile
    z.WriteBuffer(data.data() + 200000, 200000);
    z.Finish();
  }
  EXPECT_GE(progress, 6);  // 400000 stored bytes fill six 64 KiB buffers
  const std::string all(reinterpret_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
  ASSERT_EQ(all.substr(0, 4), "HEAD");
  EXPECT_EQ(zlibUncompress(all.substr(4), data.size()), data);
}

TEST(ZDecompressionStream, EmptySourceAndReadsPastTheEndGiveWhatThereIs) {
  gui::TMemoryStream empty;
  TZDecompressionStream none(empty);
  char buffer[64];
  EXPECT_EQ(none.Read(buffer, sizeof buffer), 0);

  gui::TMemoryStream source;
  fill(source, compressed("twelve bytes") + "trailing garbage after the end");
  TZDecompressionStream z(source);
  EXPECT_EQ(z.Read(buffer, sizeof buffer), 12);
  EXPECT_EQ(std::string(buffer, 12), "twelve bytes");
  EXPECT_EQ(z.Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(z.Read(buffer, sizeof buffer), 0);
}

TEST(ZDecompressionStream, TruncatedDataEndsShortWithoutError) {
  const std::string data = sampleData(100000);
  const std::string packed = compressed(data);
  gui::TMemoryStream source;
  fill(source, packed.substr(0, packed.size() / 2));
  TZDecompressionStream z(source);
  const std::string got = inflateAll(z, 4096);
  EXPECT_GT(got.size(), 0u);
  EXPECT_LT(got.size(), data.size());
  EXPECT_EQ(got, data.substr(0, got.size()));
}

TEST(ZDecompressionStream, PositionCountsOutputAndSeeksOnlyForwardOrToTheStart) {
  const std::string data = sampleData(50000);
  gui::TMemoryStream source;
  source.WriteBuffer("xx", 2);  // the data begins where the stream was made
  const std::string packed = compressed(data);
  source.WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
  source.SetPosition(2);
  TZDecompressionStream z(source);
  char buffer[100];
  z.ReadBuffer(buffer, 100);
  EXPECT_EQ(z.Position(), 100);
  EXPECT_EQ(z.Seek(10000, gui::soFromCurrent), 10100);
  z.SetPosition(20000);
  EXPECT_EQ(z.Position(), 20000);
  z.SetPosition(20000);  // staying put is allowed
  z.ReadBuffer(buffer, 10);
  EXPECT_EQ(std::string(buffer, 10), data.substr(20000, 10));

  try {
    z.SetPosition(5);
    FAIL() << "backward seek";
  } catch (const EZDecompressionError& e) {
    EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
  }
  EXPECT_THROW(z.Seek(-1, gui::soFromCurrent), EZDecompressionError);
  EXPECT_THROW(z.Seek(0, gui::soFromEnd), EZDecompressionError);
  EXPECT_THROW(z.Write("x", 1), EZDecompressionError);

  z.SetPosition(0);
  EXPECT_EQ(z.Position(), 0);
  EXPECT_EQ(inflateAll(z, 999), data);
  EXPECT_EQ(z.Seek(10, gui::soFromCurrent), static_cast<std::int64_t>(data.size()));  // nothing left to skip
}

TEST(ZDecompressionStream, RewindingAfterTheEndInflatesTheSameBytesAgain) {
  const std::string data = sampleData(70000);
  gui::TMemoryStream source;
  fill(source, compressed(data) + "trailing bytes after the stream");
  source.SetPosition(0);
  TZDecompressionStream z(source);
  EXPECT_EQ(inflateAll(z, 4096), data);
  char byte = 0;
  EXPECT_EQ(z.Read(&byte, 1), 0);  // at the end
  for (int again = 0; again < 2; ++again) {
    z.SetPosition(0);
    EXPECT_EQ(z.Position(), 0);
    EXPECT_EQ(inflateAll(z, 777), data) << again;
    EXPECT_EQ(z.Position(), static_cast<std::int64_t>(data.size()));
  }
}

TEST(ZDecompressionStream, CorruptDataRaisesWithZlibsMessage) {
  std::string packed = compressed(sampleData(20000));
  packed[packed.size() - 1] ^= 0x55;  // the Adler-32 check
  gui::TMemoryStream source;
  fill(source, packed);
  TZDecompressionStream z(source);
  try {
    inflateAll(z, 4096);
    FAIL() << "bad checksum";
  } catch (const EZDecompressionError& e) {
    EXPECT_STREQ(e.what(), zError(Z_DATA_ERROR));
  }

  gui::TMemoryStream garbage;
  fill(garbage, "\x12\x34not zlib at all");
  TZDecompressionStream bad(garbage);
  char buffer[16];
  EXPECT_THROW(bad.Read(buffer, sizeof buffer), EZDecompressionError);
}

TEST(ZDecompressionStream, PresetDictionaryHeaderIsRefusedRatherThanLoopingForever) {
  // CMF 0x78, FLG 0xBB (FDICT set, header check ok), then a dictionary id.
  gui::TMemoryStream source;
  fill(source, std::string("\x78\xBB\x00\x00\x00\x01\x4B\x04\x00", 9));
  TZDecompressionStream z(source);
  char buffer[16];
  EXPECT_THROW(z.Read(buffer, sizeof buffer), EZDecompressionError);
}

}  // namespace
}  // namespace images
