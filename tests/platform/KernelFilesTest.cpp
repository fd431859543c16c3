#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/win/kernel/Files.h"
#include "platform/win/kernel/LastError.h"

using namespace win;

TEST(Files, TempPathEndsWithSlashAndReportsTheSizeNeeded) {
  char path[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(path[length - 1], '/');
  char tiny[1];
  EXPECT_EQ(GetTempPathA(1, tiny), length + 1);
  WCHAR wide[MAX_PATH];
  EXPECT_EQ(GetTempPathW(MAX_PATH, wide), length);
}

TEST(Files, TempFileNamesAreUniqueAndCreated) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  char first[MAX_PATH];
  char second[MAX_PATH];
  const UINT a = GetTempFileNameA(folder, "pwtest", 0, first);
  const UINT b = GetTempFileNameA(folder, "pwtest", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_STRNE(first, second);
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_EQ(std::string(first).find(std::string(folder) + "pwt"), 0u);
  EXPECT_EQ(std::string(first).substr(std::string(first).size() - 4), ".TMP");
  std::filesystem::remove(first);
  std::filesystem::remove(second);

  // A given number only forms the name.
  char formed[MAX_PATH];
  EXPECT_EQ(GetTempFileNameA("/nonexistent-folder-x", "ab", 0x1F, formed), 0u);
  EXPECT_EQ(GetTempFileNameA(folder, "ab", 0x1F, formed), 0x1Fu);
  EXPECT_EQ(std::string(formed), std::string(folder) + "ab1F.TMP");
  EXPECT_FALSE(std::filesystem::exists(formed));
}

TEST(Files, ModuleFileNamesComeFromTheLoader) {
  static int marker;
  const HMODULE module = moduleHandleFor(&marker);
  ASSERT_NE(module, 0u);
  char name[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, name, MAX_PATH);
  ASSERT_GT(length, 0u);
  EXPECT_TRUE(std::filesystem::equivalent(name, "/proc/self/exe"));
  EXPECT_EQ(GetModuleFileNameA(0, name, MAX_PATH), length);
  // Cut to the buffer, zero-terminated, with the buffer size as the result.
  char shortName[4];
  EXPECT_EQ(GetModuleFileNameA(module, shortName, 4), 4u);
  EXPECT_EQ(shortName[3], 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(GetModuleFileNameA(0xDEAD, name, MAX_PATH), 0u);

  char current[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, current), 0u);
  EXPECT_TRUE(std::filesystem::equivalent(current, std::filesystem::current_path()));
}
