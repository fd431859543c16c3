// The shared library as delivered: what it exports, and the render host
// that uses nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "images/TPNGImage.h"

#include "EmbedTestSupport.h"

namespace {

const std::string kBin = PAGEWELL_BIN_DIR;

std::string RunCommand(const std::string& command, int* status = nullptr) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int code = pclose(pipe);
    if (status) *status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
  }
  return output;
}

TEST(Library, ExportsExactlyTheHostInterface) {
  const std::set<std::string> expected = {
      "_GetZelvoHTMLVersion", "_GetVersionString", "_EmbedBrowser", "_DeleteBrowser", "_BrowserShowHtml",
      "_ReleaseMemory", "_GetLine", "_GetPosition", "_SetPosition", "_DeleteToEnd", "_GetCursorPosition",
      "_SetCursorPosition", "_SelectRangeText", "_GetSelectedText", "_CopySelectedText", "_CanCopy",
      "_GetCurrentWord", "_DeleteSelectedBlock", "_HasFocus", "_PriorKey", "_NextKey", "_Print", "_SetMargin",
      "_SetImageCallback", "pwhost_CreateWindow", "pwhost_DestroyWindow", "pwhost_DefWindowProc",
      "pwhost_PumpMessages", "pwhost_UseVirtualClock", "pwhost_UseRealClock", "pwhost_AdvanceClock",
      "pwhost_GetWindowPixels", "pwhost_SaveWindowPng", "pwhost_MouseInput", "pwhost_KeyInput",
      "pwhost_GetLastMessageBox", "pwhost_SetPrintFolder", "pwhost_EnumChildWindows", "pwhost_GetClassName",
      "pwhost_GetScrollInfo", "pwhost_GetWindowRect", "pwhost_ShowWindow", "pwhost_MoveWindow"};
  int status = -1;
  const std::string table = RunCommand("nm -D --defined-only " + kBin + "/libpagewell.so", &status);
  ASSERT_EQ(status, 0) << table;
  std::set<std::string> exported;
  std::istringstream lines(table);
  std::string address, kind, name;
  while (lines >> address >> kind >> name) exported.insert(name);
  EXPECT_EQ(exported, expected);
  EXPECT_EQ(expected.size(), 24u + 19u);

  const std::string dynamic = RunCommand("readelf -d " + kBin + "/libpagewell.so");
  EXPECT_NE(dynamic.find("Library soname: [libpagewell.so.1]"), std::string::npos) << dynamic;
}

int Render(const std::string& arguments) {
  int status = -1;
  RunCommand(kBin + "/render " + arguments + " 2>&1", &status);
  return status;
}

TEST(Library, RenderUsesOnlyTheLibraryAndTakesTheFont) {
  const std::string linked = RunCommand("ldd " + kBin + "/render");
  EXPECT_NE(linked.find("libpagewell.so.1"), std::string::npos) << linked;

  const std::string page = std::string(PAGEWELL_TEST_DATA_DIR) + "/embed/links.html";
  const std::filesystem::path out = std::filesystem::path(embed_test::TempPath("render"));
  std::filesystem::create_directories(out);
  ASSERT_EQ(Render(page + " " + (out / "a.png").string() + " --width 300 --height 100"), 0);
  ASSERT_EQ(Render(page + " " + (out / "b.png").string() + " --width 300 --height 100 --size 24"), 0);
  ASSERT_EQ(Render(page + " " + (out / "c.png").string() + " --width 300 --height 100 --font \"Courier New\""), 0);
  const auto bytes = [](const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_NE(bytes(out / "a.png"), bytes(out / "b.png"));
  EXPECT_NE(bytes(out / "a.png"), bytes(out / "c.png"));
  EXPECT_EQ(Render(page + " x.png --size 0"), 1);
  EXPECT_EQ(Render(page + " x.png --font"), 1);

  // --full: the window grows until the viewer needs no bar; --pages prints.
  const std::string longPage = std::string(PAGEWELL_TEST_DATA_DIR) + "/embed/long.html";
  ASSERT_EQ(Render(longPage + " " + (out / "full.png").string() + " --width 300 --height 50 --full --pages " +
                   (out / "pages").string()),
            0);
  images::TPNGImage image;
  image.LoadFromFile((out / "full.png").string());
  EXPECT_EQ(image.Width(), 300);
  EXPECT_GT(image.Height(), 400);
  EXPECT_TRUE(std::filesystem::exists(out / "pages" / "job1-page1.png") ||
              !std::filesystem::is_empty(out / "pages"));
  // Printing again into the same folder replaces the earlier run's pages.
  ASSERT_TRUE(std::filesystem::exists(out / "pages" / "job1-page1.png"));
  const auto firstPage = std::filesystem::last_write_time(out / "pages" / "job1-page1.png");
  EXPECT_EQ(Render(longPage + " " + (out / "again.png").string() + " --width 300 --height 50 --pages " +
                   (out / "pages").string()),
            0);
  EXPECT_TRUE(std::filesystem::exists(out / "pages" / "job1-page1.png"));
  EXPECT_GE(std::filesystem::last_write_time(out / "pages" / "job1-page1.png"), firstPage);
  std::filesystem::remove_all(out);
}

}  // namespace
