// File checks of the class library, and loading shared libraries by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gui/FileFunctions.h"
#include "platform/win/kernel/Libraries.h"

namespace gui {
namespace {

namespace fs = std::filesystem;

TEST(GuiFileFunctions, FoldersAreNeitherFilesNorDeleted) {
  const fs::path folder = fs::temp_directory_path() / "pagewell-file-functions";
  fs::remove_all(folder);
  fs::create_directories(folder / "sub");
  const fs::path file = folder / "a.png";
  std::ofstream(file) << "x";
  EXPECT_TRUE(FileExists(file.string()));
  EXPECT_FALSE(FileExists((folder / "sub").string()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(DeleteFile((folder / "sub").string()));
  EXPECT_TRUE(fs::exists(folder / "sub"));
  EXPECT_TRUE(DeleteFile(file.string()));
  EXPECT_FALSE(FileExists(file.string()));
  EXPECT_FALSE(DeleteFile(file.string()));  // already gone
  fs::remove_all(folder);
}

TEST(GuiFileFunctions, LibrariesLoadByNameAndGiveTheirSymbols) {
  const win::HMODULE zlib = win::LoadLibraryA("libz.so.1");
  ASSERT_NE(zlib, 0u);
  EXPECT_NE(win::GetProcAddress(zlib, "zlibVersion"), nullptr);
  EXPECT_EQ(win::GetProcAddress(zlib, "noSuchFunction"), nullptr);
  EXPECT_TRUE(win::FreeLibrary(zlib));
  EXPECT_FALSE(win::FreeLibrary(zlib));
  EXPECT_EQ(win::GetProcAddress(zlib, "zlibVersion"), nullptr);
  EXPECT_EQ(win::LoadLibraryA("libno-such-library.so"), 0u);
  EXPECT_EQ(win::LoadLibraryA(nullptr), 0u);
}

}  // namespace
}  // namespace gui
