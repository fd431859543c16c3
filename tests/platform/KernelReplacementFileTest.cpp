// Whole-file writes and the targets they refuse: a folder, FIFO or socket in
// the target's place stays as it is; a symbolic link is replaced, and what it
// points to is never written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TStringList.h"
#include "platform/win/kernel/ReplacementFile.h"
#include "tests/platform/SpecialFiles.h"

namespace win {
namespace {

class ReplacementTargets : public testing::Test {
 protected:
  void SetUp() override {
    // Worktrees share the temporary folder: the process id keeps runs apart.
    folder_ = testing::TempDir() + "/replace_" + std::to_string(::getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string path(const std::string& name) const { return folder_ + "/" + name; }

  int entries() const {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) ++count;
    return count;
  }

  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string folder_;
};

TEST_F(ReplacementTargets, AFifoASocketOrAFolderIsRefusedAndLeftAsItWas) {
  ASSERT_TRUE(testfiles::MakeFifo(path("fifo")));
  ASSERT_TRUE(testfiles::MakeSocket(path("socket")));
  std::filesystem::create_directory(path("folder"));

  EXPECT_FALSE(replaceableTarget(path("fifo")));
  EXPECT_FALSE(writeFileWhole(path("fifo"), "x", 1));
  EXPECT_TRUE(testfiles::IsFifo(path("fifo")));
  EXPECT_FALSE(writeFileWhole(path("socket"), "x", 1));
  EXPECT_TRUE(testfiles::IsSocket(path("socket")));
  EXPECT_FALSE(writeFileWhole(path("folder"), "x", 1));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_TRUE(std::filesystem::is_directory(path("folder")));
  EXPECT_EQ(entries(), 3);  // no temporary file left behind

  // The class library's savers raise their error instead.
  gui::TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  EXPECT_THROW(stream.SaveToFile(path("fifo")), gui::EFCreateError);
  gui::TStringList lines;
  lines.Add("line");
  EXPECT_THROW(lines.SaveToFile(path("socket")), gui::EFCreateError);
  EXPECT_TRUE(testfiles::IsFifo(path("fifo")));
  EXPECT_TRUE(testfiles::IsSocket(path("socket")));
  EXPECT_EQ(entries(), 3);
}

TEST_F(ReplacementTargets, ARegularFileOrANewNameIsWrittenWhole) {
  EXPECT_TRUE(replaceableTarget(path("new")));
  ASSERT_TRUE(writeFileWhole(path("new"), "first", 5));
  ASSERT_TRUE(writeFileWhole(path("new"), "second", 6));
  EXPECT_EQ(contents(path("new")), "second");
  EXPECT_EQ(entries(), 1);
}

TEST_F(ReplacementTargets, ASymbolicLinkIsReplacedAndItsTargetNeverWritten) {
  ASSERT_TRUE(writeFileWhole(path("kept"), "kept", 4));
  std::filesystem::create_symlink(path("kept"), path("link"));
  ASSERT_TRUE(testfiles::MakeFifo(path("fifo")));
  std::filesystem::create_symlink(path("fifo"), path("fifo-link"));

  ASSERT_TRUE(writeFileWhole(path("link"), "new", 3));
  EXPECT_FALSE(std::filesystem::is_symlink(path("link")));
  EXPECT_EQ(contents(path("link")), "new");
  EXPECT_EQ(contents(path("kept")), "kept");
  // A link to a FIFO is a link too: it goes, the FIFO stays.
  ASSERT_TRUE(writeFileWhole(path("fifo-link"), "new", 3));
  EXPECT_TRUE(testfiles::IsFifo(path("fifo")));
}

}  // namespace
}  // namespace win
