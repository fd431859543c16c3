// The version string's reader over a module's version block.
#include <gtest/gtest.h>

#include <string>

#include "embed/EmbedState.h"
#include "embed/LibraryVersion.h"
#include "embed/TMyRCVersion.h"
#include "platform/win/kernel/VersionInfo.h"

namespace {

TEST(Version, TheLibrarysBlockAnswersItsKeys) {
  embed::EnsureLibraryStarted();
  embed::TMyRCVersion version;
  version.SetModule(embed::LibraryModule());
  ASSERT_TRUE(version.HasBlock());
  EXPECT_EQ(version.FileVersion(), "1.0.0.0");
  EXPECT_EQ(version.GetString("ProductName"), "Pagewell");
  EXPECT_EQ(version.GetString("NoSuchKey"), "");
  EXPECT_EQ(version.GetString(std::string(10000, 'K')), "");  // a long key is neither cut nor overflows
}

TEST(Version, WithoutABlockEveryValueIsEmpty) {
  embed::TMyRCVersion version;
  EXPECT_EQ(version.FileVersion(), "");  // never loaded
  version.SetModule(0xFFFF);             // no such module
  EXPECT_FALSE(version.HasBlock());
  EXPECT_EQ(version.FileVersion(), "");

  // A block without a translation table counts as none.
  const std::string program = embed::ModuleFileName(0);
  ASSERT_FALSE(program.empty());
  win::registerVersionBlock(program, win::buildVersionBlock({}));
  version.SetModule(0);
  EXPECT_FALSE(version.HasBlock());
  EXPECT_EQ(version.GetString("FileVersion"), "");

  win::VersionStringTable table;
  table.values = {{"FileVersion", "2.5"}};
  win::registerVersionBlock(program, win::buildVersionBlock({table}));
  version.Load();
  EXPECT_EQ(version.FileVersion(), "2.5");
  // Linked into this program, the library's block is the program's: put it back.
  embed::RegisterLibraryVersion(embed::LibraryModule());
}

}  // namespace
