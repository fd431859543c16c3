// Files a page names (images, backgrounds, style sheets, frames) and the page
// itself: FIFOs and files over their size limit are refused at once, a refused
// image shows as missing, a refused frame shows its error page, and a top
// document that cannot be shown is an error for the caller.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <new>
#include <thread>

#include "FrameLayoutTestSupport.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/WholeFile.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

const std::string kPng = std::string(PAGEWELL_TEST_DATA_DIR) + "/objects/halves_8x8.png";

// Lets a reader that would wait on a FIFO go after a while (by opening and
// closing its other end) and remembers that it had to.
class FifoWatchdog {
 public:
  explicit FifoWatchdog(std::string fifo) : fifo_(std::move(fifo)), thread_([this] { Watch(); }) {}
  ~FifoWatchdog() {
    done_ = true;
    thread_.join();
  }
  bool Released() const { return released_; }

 private:
  void Watch() {
    for (int tick = 0; tick < 300 && !done_; ++tick) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    while (!done_) {
      const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);  // succeeds only with a reader
      if (fd >= 0) {
        released_ = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  std::string fifo_;
  std::atomic<bool> done_{false};
  std::atomic<bool> released_{false};
  std::thread thread_;
};

class OutsideFiles : public FrameViewerTest {
 protected:
  void SetUp() override {
    FrameViewerTest::SetUp();
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::filesystem::copy_file(kPng, path("small.png"));
    // A PNG signature in front of a file one byte over the image limit.
    write("huge.png", std::string("\x89PNG\r\n\x1a\n", 8));
    std::filesystem::resize_file(path("huge.png"), gui::FileSizeLimit(gui::TFileKind::Image) + 1);
    write("huge.css", "p { color: red }");
    std::filesystem::resize_file(path("huge.css"), gui::FileSizeLimit(gui::TFileKind::StyleSheet) + 1);
  }
  void TearDown() override {
    EXPECT_FALSE(watchdog_.Released()) << "a reader waited on the FIFO";
    FrameViewerTest::TearDown();
  }
  FifoWatchdog watchdog_{(std::filesystem::path(testing::TempDir()) /
                          ("frames_" + std::to_string(::getpid()) + "_" +
                           testing::UnitTest::GetInstance()->current_test_info()->name()) / "fifo")
                             .string()};
};

TEST_F(OutsideFiles, RefusedImagesBackgroundsAndStyleSheetsShowAsMissing) {
  write("page.htm",
        "<link rel=stylesheet href=fifo><link rel=stylesheet href=huge.css>"
        "<body background=fifo><p>text<img src=fifo><img src=huge.png><img src=small.png>"
        "<table background=fifo><tr><td background=huge.png>cell</table>");
  load("page.htm");
  fv().Repaint();
  pump();
  ASSERT_EQ(fv().GetViewerCount(), 1);
  const images::TStringBitmapList& cache = fv().ImageCache();
  ASSERT_EQ(cache.Count(), 1);  // the one readable image
  EXPECT_NE(cache.Strings(0).find("SMALL.PNG"), std::string::npos);
}

TEST_F(OutsideFiles, ARefusedFrameShowsItsErrorPage) {
  write("a.htm", "<p>a");
  write("huge.htm", "<p>b");
  std::filesystem::resize_file(path("huge.htm"), gui::FileSizeLimit(gui::TFileKind::Page) + 1);
  write("set.htm", "<frameset cols=*,*,*><frame src=a.htm><frame src=fifo><frame src=huge.htm></frameset>");
  load("set.htm");
  ASSERT_EQ(fv().GetViewerCount(), 3);
  EXPECT_EQ(fv().GetViewer(0)->SourceText(), "<p>a");
  EXPECT_NE(fv().GetViewer(1)->SourceText().find("Can't load " + path("fifo")), std::string::npos);
  EXPECT_NE(fv().GetViewer(2)->SourceText().find("Can't load " + path("huge.htm")), std::string::npos);
}

TEST_F(OutsideFiles, ARefusedTopDocumentIsAnErrorAndTheShownOneStays) {
  write("a.htm", "<p>a");
  load("a.htm");
  EXPECT_THROW(fv().LoadFromFile(path("fifo")), gui::Exception);
  write("huge.htm", "<p>b");
  std::filesystem::resize_file(path("huge.htm"), gui::FileSizeLimit(gui::TFileKind::Page) + 1);
  EXPECT_THROW(fv().LoadFromFile(path("huge.htm")), gui::Exception);
  EXPECT_THROW(fv().LoadFromFile(path("huge.htm#top")), gui::Exception);
  ASSERT_EQ(fv().GetViewerCount(), 1);
  EXPECT_EQ(fv().GetViewer(0)->SourceText(), "<p>a");
}

TEST_F(OutsideFiles, ATopDocumentThatFailsToParseIsAnErrorButAFrameInASetShowsItsErrorPage) {
  write("a.htm", "<p>a");
  write("bad.htm", "<p>bad");
  fv().OnParseBegin = [](gui::TObject*, std::string& source) {
    if (source == "<p>bad") throw std::bad_alloc();
  };
  load("a.htm");
  EXPECT_THROW(fv().LoadFromFile(path("bad.htm")), EfvLoadError);
  ASSERT_EQ(fv().GetViewerCount(), 1);
  EXPECT_EQ(fv().GetViewer(0)->SourceText(), "<p>a");

  write("set.htm", "<frameset cols=*,*><frame src=a.htm><frame src=bad.htm></frameset>");
  EXPECT_TRUE(fv().LoadFromFile(path("set.htm")));
  ASSERT_EQ(fv().GetViewerCount(), 2);
  EXPECT_NE(fv().GetViewer(1)->SourceText().find("Can't load " + path("bad.htm")), std::string::npos);
}

}  // namespace
}  // namespace viewer
