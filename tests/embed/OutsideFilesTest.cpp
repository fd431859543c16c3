// Files a host names through the exported functions: a page that is no
// regular file or is too large fails _BrowserShowHtml with its box, at once,
// and a callback reply naming such a file shows a missing image.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EmbedTestSupport.h"
#include "images/PngSave.h"
#include "platform/gui/WholeFile.h"
#include "platform/win/gdi/Surface.h"

namespace embed_test {
namespace {

namespace fs = std::filesystem;

std::string replyName;

void ReplyingCallback(ImageRequestRecord* request) {
  std::snprintf(request->Reply, sizeof request->Reply, "%s", replyName.c_str());
}

class OutsideFiles : public EmbedTest {
 protected:
  void SetUp() override {
    EmbedTest::SetUp();
    folder_ = fs::path(TempPath("outside_files"));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::ofstream(path("page.html"), std::ios::binary) << "<body><img src=\"pic.png\" width=40 height=40></body>";
    win::Surface surface;
    ASSERT_TRUE(win::allocateSurface(surface, 40, 40, 0x00FF00));
    images::SaveSurfaceAsPng(surface, path("pic.png"));
    envelope_ = Embed();
  }
  void TearDown() override {
    _SetImageCallback(nullptr);
    EmbedTest::TearDown();
    fs::remove_all(folder_);
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string sparse(const std::string& name, std::uint64_t size) const {
    std::ofstream(path(name), std::ios::binary) << "<p>";
    fs::resize_file(path(name), size);
    return path(name);
  }
  int greenPixels() const {
    int width = 0, height = 0;
    pwhost_GetWindowPixels(host_, &width, &height, nullptr, 0);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    pwhost_GetWindowPixels(host_, &width, &height, pixels.data(), pixels.size());
    int count = 0;
    for (uint32_t pixel : pixels) count += (pixel & 0xFFFFFF) == 0x00FF00;
    return count;
  }
  fs::path folder_;
  PW_HWND envelope_ = 0;
};

TEST_F(OutsideFiles, APageThatIsNoRegularFileOrTooLargeFailsTheCall) {
  ASSERT_EQ(_BrowserShowHtml(envelope_, path("page.html").c_str(), "Arial", 12), 1);
  EXPECT_EQ(_BrowserShowHtml(envelope_, path("fifo").c_str(), "Arial", 12), 0);
  EXPECT_EQ(LastBox(), "Error in BrowserShowHtml|Cannot open file \"" + path("fifo") + "\"");
  const std::string huge = sparse("huge.html", gui::FileSizeLimit(gui::TFileKind::Page) + 1);
  EXPECT_EQ(_BrowserShowHtml(envelope_, huge.c_str(), "Arial", 12), 0);
  EXPECT_EQ(LastBox(), "Error in BrowserShowHtml|Cannot open file \"" + huge + "\"");
}

TEST_F(OutsideFiles, ACallbackReplyNamingAFifoOrAHugeFileShowsAMissingImage) {
  _SetImageCallback(ReplyingCallback);
  for (const std::string& reply : {path("fifo"), sparse("huge.png", gui::FileSizeLimit(gui::TFileKind::Image) + 1)}) {
    replyName = reply;
    const int boxes = BoxCount();
    ASSERT_EQ(_BrowserShowHtml(envelope_, path("page.html").c_str(), "Arial", 12), 1) << reply;
    pwhost_PumpMessages();
    EXPECT_EQ(BoxCount(), boxes) << LastBox();
    EXPECT_EQ(greenPixels(), 0) << reply;  // not the document's own picture either
  }
  replyName = path("pic.png");
  ASSERT_EQ(_BrowserShowHtml(envelope_, path("page.html").c_str(), "Arial", 12), 1);
  pwhost_PumpMessages();
  EXPECT_GT(greenPixels(), 1000);
}

}  // namespace
}  // namespace embed_test
