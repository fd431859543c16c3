#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"

namespace gui {
namespace {

TEST(GuiMemoryStream, PositionSizeAndSeeks) {
  TMemoryStream stream;
  stream.WriteBuffer("hello", 5);
  EXPECT_EQ(stream.Position(), 5);
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_EQ(stream.Seek(-2, soFromEnd), 3);
  EXPECT_EQ(stream.Seek(1, soFromCurrent), 4);
  char c = 0;
  EXPECT_EQ(stream.Read(&c, 1), 1);
  EXPECT_EQ(c, 'o');
  EXPECT_EQ(std::memcmp(stream.Memory(), "hello", 5), 0);
}

TEST(GuiMemoryStream, ReadsPastTheEndAreShortAndReadBufferRaises) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetPosition(1);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 2);
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  stream.SetPosition(100);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
  stream.SetPosition(-5);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
  stream.SetPosition(2);
  EXPECT_THROW(stream.ReadBuffer(buffer, 2), EReadError);
}

TEST(GuiMemoryStream, WritingPastTheEndZeroFillsTheGap) {
  TMemoryStream stream;
  stream.SetPosition(3);
  stream.WriteBuffer("x", 1);
  ASSERT_EQ(stream.Size(), 4);
  EXPECT_EQ(std::memcmp(stream.Memory(), "\0\0\0x", 4), 0);
  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2);
  stream.Clear();
  EXPECT_EQ(stream.Memory(), nullptr);
  EXPECT_EQ(stream.Size(), 0);
}

TEST(GuiMemoryStream, ImpossibleSizeRaisesInsteadOfCrashing) {
  TMemoryStream stream;
  EXPECT_THROW(stream.SetSize(std::int64_t{1} << 62), EStreamError);
  EXPECT_THROW(stream.SetSize(kMaxMemoryStreamBytes + 1), EStreamError);
  stream.SetPosition(kMaxMemoryStreamBytes);
  EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
}

TEST(GuiMemoryStream, CopyFromWholeOrPart) {
  TMemoryStream source;
  source.WriteBuffer("0123456789", 10);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 10);
  source.SetPosition(4);
  EXPECT_EQ(target.CopyFrom(source, 3), 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(target.Memory()), 13), "0123456789456");
  source.SetPosition(8);
  EXPECT_THROW(target.CopyFrom(source, 5), EReadError);
}

TEST(GuiMemoryStream, FilesLoadAndSaveWhole) {
  const std::string path = testing::TempDir() + "/gui_memory.bin";
  TMemoryStream stream;
  stream.WriteBuffer("data", 4);
  stream.SaveToFile(path);
  TMemoryStream back;
  back.LoadFromFile(path, TFileKind::Page);
  EXPECT_EQ(back.Size(), 4);
  EXPECT_EQ(back.Position(), 0);
  EXPECT_THROW(back.LoadFromFile(path + ".missing", TFileKind::Page), EFOpenError);
  EXPECT_EQ(back.Size(), 4);  // unchanged by the failed load
  EXPECT_THROW(stream.SaveToFile("/nonexistent-folder/x.bin"), EFCreateError);
}

TEST(GuiFileStream, CreatesWritesAndReadsBack) {
  const std::string path = testing::TempDir() + "/gui_file.bin";
  {
    TFileStream out(path, fmCreate);
    out.WriteBuffer("abcdef", 6);
  }
  TFileStream in(path, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(in.Size(), 6);
  in.Seek(2, soFromBeginning);
  char buffer[4] = {};
  in.ReadBuffer(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "cdef");
  EXPECT_THROW(in.ReadBuffer(buffer, 1), EReadError);
  EXPECT_THROW(in.WriteBuffer("x", 1), EWriteError);  // opened for reading
}

TEST(GuiFileStream, OpenAndCreateFailuresNameTheFile) {
  try {
    TFileStream stream("/nonexistent-folder/missing.txt", fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"/nonexistent-folder/missing.txt\"");
  }
  EXPECT_THROW(TFileStream("/nonexistent-folder/new.txt", fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(testing::TempDir(), fmOpenRead), EFOpenError);  // a folder
}

}  // namespace
}  // namespace gui
