// Whole-file reads of outside files: only regular files within their kind's
// size limit, and no open that waits.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TStrings.h"
#include "platform/gui/TStringList.h"
#include "platform/gui/WholeFile.h"

namespace gui {
namespace {

class GuiWholeFile : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(testing::TempDir()) / ("wholefile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  // A file of the given size that holds no data blocks.
  std::string sparse(const std::string& name, std::uint64_t size) const {
    const int fd = ::open(path(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
    return path(name);
  }
  std::filesystem::path folder_;
};

TEST_F(GuiWholeFile, ReadsRegularFilesWhole) {
  std::ofstream(path("page.htm"), std::ios::binary) << std::string("<p>a\0b", 6);
  std::vector<std::uint8_t> bytes{1, 2, 3};
  ASSERT_TRUE(ReadWholeFile(path("page.htm"), bytes, TFileKind::Page));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string("<p>a\0b", 6));
  std::ofstream(path("empty.htm")).close();
  ASSERT_TRUE(ReadWholeFile(path("empty.htm"), bytes, TFileKind::Page));
  EXPECT_TRUE(bytes.empty());
  // Into a string: the same bytes, and what the string held before goes.
  std::string text = "old";
  ASSERT_TRUE(ReadWholeFile(path("page.htm"), text, TFileKind::Page));
  EXPECT_EQ(text, std::string("<p>a\0b", 6));
  ASSERT_TRUE(ReadWholeFile(path("empty.htm"), text, TFileKind::Page));
  EXPECT_TRUE(text.empty());
}

TEST_F(GuiWholeFile, RefusesFifosSocketsFoldersAndMissingFilesWithoutWaiting) {
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketName = path("sock");
  ASSERT_LT(socketName.size(), sizeof address.sun_path);
  socketName.copy(address.sun_path, socketName.size());
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::filesystem::create_directory(path("folder"));
  std::filesystem::create_symlink(path("fifo"), path("link-to-fifo"));

  std::vector<std::uint8_t> bytes{7};
  std::string text = "kept";
  for (const char* name : {"fifo", "sock", "folder", "missing", "link-to-fifo"}) {
    for (TFileKind kind : {TFileKind::Page, TFileKind::StyleSheet, TFileKind::Image}) {
      EXPECT_FALSE(ReadWholeFile(path(name), bytes, kind)) << name;
      EXPECT_FALSE(ReadWholeFile(path(name), text, kind)) << name;
      EXPECT_FALSE(TRegularFile(path(name), kind).Valid()) << name;
    }
  }
  EXPECT_EQ(bytes, std::vector<std::uint8_t>{7});  // untouched
  EXPECT_EQ(text, "kept");
  ::close(listener);

  TMemoryStream stream;
  EXPECT_THROW(stream.LoadFromFile(path("fifo"), TFileKind::Image), EFOpenError);
  TStringList lines;
  EXPECT_THROW(lines.LoadFromFile(path("fifo"), TFileKind::StyleSheet), EFOpenError);
  EXPECT_THROW(TFileStream(path("fifo"), fmOpenRead), EFOpenError);
}

TEST_F(GuiWholeFile, EachKindHasItsSizeLimit) {
  EXPECT_EQ(FileSizeLimit(TFileKind::Page), 256u << 20);
  EXPECT_EQ(FileSizeLimit(TFileKind::StyleSheet), 32u << 20);
  EXPECT_EQ(FileSizeLimit(TFileKind::Image), 64u << 20);
  std::vector<std::uint8_t> bytes;
  for (TFileKind kind : {TFileKind::Page, TFileKind::StyleSheet, TFileKind::Image}) {
    const std::uint64_t limit = FileSizeLimit(kind);
    EXPECT_FALSE(ReadWholeFile(sparse("over", limit + 1), bytes, kind));
    EXPECT_FALSE(TRegularFile(path("over"), kind).Valid());
    const TRegularFile atLimit(sparse("at", limit), kind);
    ASSERT_TRUE(atLimit.Valid());
    EXPECT_EQ(atLimit.Size(), limit);
  }
  // A file at the image limit is read whole.
  ASSERT_TRUE(ReadWholeFile(path("at"), bytes, TFileKind::Image));
  EXPECT_EQ(bytes.size(), FileSizeLimit(TFileKind::Image));
  // Too large for an image, not for a page.
  sparse("large", (64u << 20) + 1);
  EXPECT_FALSE(TRegularFile(path("large"), TFileKind::Image).Valid());
  EXPECT_TRUE(TRegularFile(path("large"), TFileKind::Page).Valid());
}

TEST_F(GuiWholeFile, ReadAtGivesThePartThatExists) {
  std::ofstream(path("head"), std::ios::binary) << "0123456789";
  const TRegularFile file(path("head"), TFileKind::Image);
  ASSERT_TRUE(file.Valid());
  char buffer[8] = {};
  EXPECT_EQ(file.ReadAt(6, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(file.ReadAt(20, buffer, sizeof buffer), 0u);
}

}  // namespace
}  // namespace gui
