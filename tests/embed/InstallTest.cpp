// The installed tree: a C host finds the library through its CMake package
// and its pkg-config file, builds and runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "EmbedTestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int code = pclose(pipe);
  return WIFEXITED(code) ? WEXITSTATUS(code) : -1;
}

TEST(Install, ACHostBuildsAgainstTheInstalledTree) {
  const fs::path work = fs::path(embed_test::TempPath("install"));
  fs::remove_all(work);
  const fs::path prefix = work / "prefix";
  const std::string cmake = PAGEWELL_CMAKE_COMMAND;
  std::string output;
  ASSERT_EQ(RunCommand(cmake + " --install " + Quote(PAGEWELL_BUILD_DIR) + " --prefix " + Quote(prefix), output), 0)
      << output;
  EXPECT_TRUE(fs::exists(prefix / "include" / "pagewell.h"));
  EXPECT_TRUE(fs::exists(prefix / "include" / "pagewell_host.h"));
  EXPECT_TRUE(fs::is_symlink(prefix / "lib" / "libpagewell.so"));
  EXPECT_TRUE(fs::exists(prefix / "lib" / "libpagewell.so.1"));

  // pkg-config finds the installed place from the file's own location.
  const std::string pkgConfig = "PKG_CONFIG_PATH=" + Quote(prefix / "lib" / "pkgconfig") + " pkg-config";
  ASSERT_EQ(RunCommand(pkgConfig + " --cflags --libs pagewell", output), 0) << output;
  EXPECT_NE(output.find("-I" + (prefix / "lib" / "pkgconfig/../../include").string()), std::string::npos) << output;
  EXPECT_NE(output.find("-lpagewell"), std::string::npos) << output;

  const fs::path source = fs::path(PAGEWELL_TEST_DATA_DIR) / "embed" / "host";
  const fs::path build = work / "build";
  const std::string flags = PAGEWELL_HOST_C_FLAGS;
  const std::string linkFlags = PAGEWELL_HOST_LINK_FLAGS;
  ASSERT_EQ(RunCommand(cmake + " -S " + Quote(source) + " -B " + Quote(build) + " -DCMAKE_PREFIX_PATH=" +
                           Quote(prefix) + " -DCMAKE_C_COMPILER=" + Quote(PAGEWELL_C_COMPILER) +
                           " \"-DCMAKE_C_FLAGS=" + flags + "\" \"-DCMAKE_EXE_LINKER_FLAGS=" + linkFlags + "\"",
                       output),
            0)
      << output;
  ASSERT_EQ(RunCommand(cmake + " --build " + Quote(build), output), 0) << output;
  const std::string page = std::string(PAGEWELL_TEST_DATA_DIR) + "/embed/links.html";
  ASSERT_EQ(RunCommand("PAGEWELL_NO_GDIPLUS=1 " + Quote(build / "host") + " " + Quote(page), output), 0) << output;
  EXPECT_NE(output.find("Pagewell.dll Version 1.0.0.0"), std::string::npos) << output;
  EXPECT_NE(output.find("selected: x ab2cd y"), std::string::npos) << output;
  EXPECT_NE(output.find("window: 320x200"), std::string::npos) << output;
  fs::remove_all(work);
}

}  // namespace
