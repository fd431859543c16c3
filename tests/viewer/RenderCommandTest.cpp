// The render host program: the picture it writes and its exit codes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <string>

#include "images/TPNGImage.h"
#include "tests/platform/SpecialFiles.h"

namespace {

// Worktrees share the temporary folder: the process id keeps runs apart.
std::string tempPath(const std::string& name) {
  return (std::filesystem::path(testing::TempDir()) / (std::to_string(::getpid()) + "_" + name)).string();
}

int runRender(const std::string& arguments) {
  const std::string command = std::string(PAGEWELL_BIN_DIR) + "/render " + arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kPage = std::string(PAGEWELL_TEST_DATA_DIR) + "/viewer/small.html";

TEST(RenderCommand, WritesThePageAsAPicture) {
  const std::string out = tempPath("render_small.png");
  std::filesystem::remove(out);
  ASSERT_EQ(runRender(kPage + " " + out + " --width 320 --height 200"), 0);
  images::TPNGImage image;
  image.LoadFromFile(out);
  EXPECT_EQ(image.Width(), 320);
  EXPECT_EQ(image.Height(), 200);
  // The page's red background inside the border.
  const auto* row = static_cast<const std::uint8_t*>(image.ScanLine(150));
  const std::uint8_t* px = row + 3 * 300;
  EXPECT_EQ(px[2], 0xFF);
  EXPECT_EQ(px[1], 0x00);
  EXPECT_EQ(px[0], 0x00);

  ASSERT_EQ(runRender(kPage + " " + out + " --full --height 20"), 0);
  image.LoadFromFile(out);
  EXPECT_EQ(image.Width(), 800);
  EXPECT_GT(image.Height(), 20);  // grown to the whole document
  std::filesystem::remove(out);
}

int renderedHeight(const std::string& arguments) {
  const std::string out = tempPath("render_height.png");
  std::filesystem::remove(out);
  if (runRender(kPage + " " + out + " " + arguments) != 0) return -1;
  images::TPNGImage image;
  image.LoadFromFile(out);
  std::filesystem::remove(out);
  return image.Height();
}

// --full grows the window only as far as the document needs: a page that fits
// keeps the window's height, and the height found fits the page as it is.
TEST(RenderCommand, FullGrowsTheWindowOnlyAsFarAsTheDocumentNeeds) {
  EXPECT_EQ(renderedHeight("--full"), 600);
  const int fitted = renderedHeight("--full --height 20");
  ASSERT_GT(fitted, 20);
  EXPECT_EQ(renderedHeight("--full --height " + std::to_string(fitted)), fitted);
}

TEST(RenderCommand, ExitCodes) {
  EXPECT_EQ(runRender(""), 1);
  EXPECT_EQ(runRender(kPage + " x.png --width 0"), 1);
  EXPECT_EQ(runRender("/nonexistent/page.html " + tempPath("never.png")), 2);
  EXPECT_EQ(runRender(kPage + " /nonexistent/folder/out.png"), 3);
}

TEST(RenderCommand, RefusesToReplaceAFifoASocketOrAFolder) {
  const std::string fifo = tempPath("render_fifo.png");
  const std::string socket = tempPath("render_socket.png");
  const std::string folder = tempPath("render_folder.png");
  std::filesystem::remove(fifo);
  std::filesystem::remove(socket);
  std::filesystem::remove_all(folder);
  ASSERT_TRUE(testfiles::MakeFifo(fifo));
  ASSERT_TRUE(testfiles::MakeSocket(socket));
  std::filesystem::create_directory(folder);
  EXPECT_EQ(runRender(kPage + " " + fifo), 3);
  EXPECT_TRUE(testfiles::IsFifo(fifo));
  EXPECT_EQ(runRender(kPage + " " + socket), 3);
  EXPECT_TRUE(testfiles::IsSocket(socket));
  EXPECT_EQ(runRender(kPage + " " + folder), 3);
  EXPECT_TRUE(std::filesystem::is_directory(folder));

  // A printed page's name taken by a FIFO: no page, and the FIFO stays.
  const std::string pages = tempPath("render_fifo_pages");
  std::filesystem::remove_all(pages);
  std::filesystem::create_directory(pages);
  ASSERT_TRUE(testfiles::MakeFifo(pages + "/job1-page1.png"));
  const std::string out = tempPath("render_fifo_pages.png");
  EXPECT_EQ(runRender(kPage + " " + out + " --pages " + pages), 3);
  EXPECT_TRUE(testfiles::IsFifo(pages + "/job1-page1.png"));
  std::filesystem::remove(fifo);
  std::filesystem::remove(socket);
  std::filesystem::remove_all(folder);
  std::filesystem::remove_all(pages);
  std::filesystem::remove(out);
}

TEST(RenderCommand, APageThatIsNoRegularFileOrTooLargeExitsWithTwoAtOnce) {
  const std::string fifo = tempPath("render_fifo_" + std::to_string(::getpid()));
  std::filesystem::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(runRender(fifo + " " + tempPath("never.png")), 2);
  std::filesystem::remove(fifo);
  const std::string huge = tempPath("render_huge_" + std::to_string(::getpid()) + ".html");
  std::ofstream(huge) << "<p>";
  std::filesystem::resize_file(huge, (256u << 20) + 1);
  EXPECT_EQ(runRender(huge + " " + tempPath("never.png")), 2);
  std::filesystem::remove(huge);
}

}  // namespace
