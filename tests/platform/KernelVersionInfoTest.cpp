#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win/kernel/Files.h"
#include "platform/win/kernel/VersionInfo.h"

using namespace win;

namespace {

std::vector<BYTE> ReadBlock(const std::string& name) {
  DWORD handle = 7;
  const DWORD size = GetFileVersionInfoSizeA(name.c_str(), &handle);
  EXPECT_EQ(handle, 0u);
  std::vector<BYTE> block(size);
  if (size) {
    EXPECT_TRUE(GetFileVersionInfoA(name.c_str(), handle, size, block.data()));
  }
  return block;
}

std::string Query(const std::vector<BYTE>& block, const char* path) {
  void* found = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path, &found, &length)) return "(absent)";
  return std::string(static_cast<const char*>(found), length - 1);
}

}  // namespace

TEST(VersionInfo, RegisteredBlocksAnswerTheirStringsAndTranslations) {
  VersionStringTable english;
  english.values = {{"FileVersion", "1.2.3.4"}, {"ProductName", "Test"}};
  VersionStringTable german;
  german.language = 0x0407;
  german.values = {{"FileVersion", "9.9"}};
  registerVersionBlock("/opt/x/libtest.so", buildVersionBlock({english, german}));
  const std::vector<BYTE> block = ReadBlock("/opt/x/libtest.so");
  ASSERT_FALSE(block.empty());

  void* found = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &found, &length));
  ASSERT_EQ(length, 8u);
  DWORD first = 0;
  std::memcpy(&first, found, 4);
  EXPECT_EQ(first, 0x04E40409u);  // language in the low word, code page in the high

  EXPECT_EQ(Query(block, "\\StringFileInfo\\040904e4\\FileVersion"), "1.2.3.4");
  EXPECT_EQ(Query(block, "\\StringFileInfo\\040904E4\\fileversion"), "1.2.3.4");  // names without case
  EXPECT_EQ(Query(block, "\\StringFileInfo\\040704e4\\FileVersion"), "9.9");
  EXPECT_EQ(Query(block, "\\StringFileInfo\\040904e4\\NoSuchKey"), "(absent)");
  const std::string longKey = "\\StringFileInfo\\040904e4\\" + std::string(5000, 'k');
  EXPECT_EQ(Query(block, longKey.c_str()), "(absent)");
  EXPECT_EQ(Query(block, "\\Elsewhere"), "(absent)");

  // A buffer too small is refused; an unknown file has no block.
  std::vector<BYTE> small(block.size() - 1);
  EXPECT_FALSE(GetFileVersionInfoA("/opt/x/libtest.so", 0, static_cast<DWORD>(small.size()), small.data()));
  EXPECT_EQ(GetFileVersionInfoSizeA("/opt/x/other.so", nullptr), 0u);
  EXPECT_EQ(GetFileVersionInfoSizeA(nullptr, nullptr), 0u);
  forgetVersionBlocks();
  EXPECT_EQ(GetFileVersionInfoSizeA("/opt/x/libtest.so", nullptr), 0u);
}

TEST(VersionInfo, DamagedBlocksAnswerNothing) {
  std::vector<BYTE> block = buildVersionBlock({VersionStringTable{0x0409, 0x04E4, {{"FileVersion", "1"}}}});
  EXPECT_EQ(Query(block, "\\StringFileInfo\\040904e4\\FileVersion"), "1");
  // Cut short: the stated size shrinks so no read passes the end.
  std::vector<BYTE> cut = block;
  const DWORD shorter = static_cast<DWORD>(cut.size() - 3);
  std::memcpy(cut.data(), &shorter, 4);
  EXPECT_EQ(Query(cut, "\\StringFileInfo\\040904e4\\FileVersion"), "(absent)");
  std::vector<BYTE> garbage(16, 0xFF);
  EXPECT_EQ(Query(garbage, "\\VarFileInfo\\Translation"), "(absent)");
  EXPECT_EQ(Query(garbage, "\\StringFileInfo\\040904e4\\FileVersion"), "(absent)");
}

TEST(Files, TheCurrentFolderCanBeSetAtAnyLength) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::path deep = std::filesystem::path(testing::TempDir()) / "kernel_deep";
  for (int level = 0; level < 10; ++level) deep /= std::string(50, 'd');
  std::filesystem::create_directories(deep);
  ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
  char small[MAX_PATH];
  const DWORD needed = GetCurrentDirectoryA(MAX_PATH, small);
  EXPECT_GT(needed, MAX_PATH);
  std::string buffer(needed, '\0');
  EXPECT_EQ(GetCurrentDirectoryA(needed, buffer.data()), needed - 1);
  EXPECT_EQ(buffer.c_str(), deep.string());
  EXPECT_FALSE(SetCurrentDirectoryA("/no/such/folder"));
  EXPECT_FALSE(SetCurrentDirectoryA(nullptr));
  EXPECT_EQ(std::filesystem::current_path(), deep);
  std::filesystem::current_path(before);
  std::filesystem::remove_all(std::filesystem::path(testing::TempDir()) / "kernel_deep");
}
