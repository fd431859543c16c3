// Printing through _Print and _SetMargin, the image callback, and calls the
// library refuses while it is inside another of its calls.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EmbedTestSupport.h"
#include "embed/EmbedState.h"
#include "embed/TBrowserEnvelope.h"
#include "images/PngSave.h"
#include "platform/gui/TPrintDialog.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/user/MessageQueue.h"

namespace embed_test {
namespace {

namespace fs = std::filesystem;

fs::path TempFolder(const std::string& name) {
  const fs::path folder = fs::path(TempPath(name));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void WriteFile(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

void WritePicture(const fs::path& file, uint32_t rgb) {
  win::Surface surface;
  ASSERT_TRUE(win::allocateSurface(surface, 40, 40, rgb));
  images::SaveSurfaceAsPng(surface, file.string());
}

int CountPixels(PW_HWND host, uint32_t rgb) {
  int width = 0, height = 0;
  pwhost_GetWindowPixels(host, &width, &height, nullptr, 0);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  pwhost_GetWindowPixels(host, &width, &height, pixels.data(), pixels.size());
  int count = 0;
  for (uint32_t pixel : pixels) count += (pixel & 0xFFFFFF) == rgb;
  return count;
}

using Printing = EmbedTest;

TEST_F(Printing, PrintWritesPagesAndACancelledDialogPrintsNothing) {
  const PW_HWND envelope = Embed();
  Show("long.html");
  const fs::path folder = TempFolder("embed_pages");
  ASSERT_EQ(pwhost_SetPrintFolder(folder.string().c_str()), 1);
  win::clearPrintedJobs();
  EXPECT_EQ(_Print(envelope, 0), 1);
  ASSERT_EQ(win::printedJobs().size(), 1u);
  EXPECT_FALSE(win::printedJobs().back().files.empty());
  EXPECT_TRUE(fs::exists(win::printedJobs().back().files.front()));

  gui::SetPrintDialogAnswer(false);
  EXPECT_EQ(_Print(envelope, 1), 1);
  EXPECT_EQ(gui::PrintDialogsShown(), 1);
  EXPECT_EQ(win::printedJobs().size(), 1u);
  EXPECT_EQ(BoxCount(), 0);
  fs::remove_all(folder);
}

TEST_F(Printing, NothingPrintableIsAFailureWithABox) {
  const PW_HWND envelope = Embed();
  Show("long.html");
  ::unsetenv("PAGEWELL_PRINTER_OUTPUT");
  win::clearPrintedJobs();
  // No folder: the pages would go nowhere. A cancelled dialog still answers 1.
  gui::SetPrintDialogAnswer(false);
  EXPECT_EQ(_Print(envelope, 1), 1);
  EXPECT_EQ(BoxCount(), 0);
  EXPECT_EQ(_Print(envelope, 0), 0);
  EXPECT_EQ(LastBox(), "Error in Print|No folder is set for printed pages; nothing was printed");
  EXPECT_TRUE(win::printedJobs().empty());

  // Margins wider than the paper leave no room for the document.
  const fs::path folder = TempFolder("embed_no_room");
  ASSERT_EQ(pwhost_SetPrintFolder(folder.string().c_str()), 1);
  ASSERT_EQ(_SetMargin(envelope, 100000, 100000, 100000, 100000), 1);
  EXPECT_EQ(_Print(envelope, 0), 0);
  EXPECT_EQ(LastBox(), "Error in Print|The print margins leave no room on the paper; nothing was printed");
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_EQ(BoxCount(), 2);

  ASSERT_EQ(_SetMargin(envelope, 1440, 1440, 1440, 1440), 1);
  EXPECT_EQ(_Print(envelope, 0), 1);
  EXPECT_FALSE(fs::is_empty(folder));

  // A folder that went away after it was set: the pages were drawn but went nowhere.
  const std::string unwritable = (folder / "gone").string();
  ASSERT_EQ(pwhost_SetPrintFolder(unwritable.c_str()), 1);
  fs::remove(unwritable);
  WriteFile(unwritable, "a file now");
  EXPECT_EQ(_Print(envelope, 0), 0);
  EXPECT_EQ(LastBox(), "Error in Print|The printed pages could not be written to " + unwritable);
  fs::remove_all(folder);
}

TEST_F(Printing, MarginsArriveInCentimetres) {
  const PW_HWND envelope = Embed();
  Show("links.html");
  EXPECT_EQ(_SetMargin(envelope, 1440, 720, 2880, -5), 1);
  const viewer::TFrameViewer& frames = *embed::Envelope(0)->FrameViewer;
  EXPECT_DOUBLE_EQ(frames.PrintMarginLeft, 2.54);
  EXPECT_DOUBLE_EQ(frames.PrintMarginRight, 1.27);
  EXPECT_DOUBLE_EQ(frames.PrintMarginTop, 5.08);
  EXPECT_DOUBLE_EQ(frames.PrintMarginBottom, 0.0);
  EXPECT_DOUBLE_EQ(frames.GetViewer(0)->PrintMarginLeft, 2.54);
}

TEST_F(Printing, TheCurrentFolderIsKeptAtAnyLength) {
  const PW_HWND envelope = Embed();
  Show("links.html");
  fs::path deep = TempFolder("embed_deep");
  for (int level = 0; level < 12; ++level) deep /= std::string(40, static_cast<char>('a' + level));
  fs::create_directories(deep);
  ASSERT_EQ(pwhost_SetPrintFolder(TempFolder("embed_deep_pages").string().c_str()), 1);
  const fs::path before = fs::current_path();
  fs::current_path(deep);
  win::clearPrintedJobs();
  EXPECT_EQ(_Print(envelope, 0), 1);
  EXPECT_EQ(fs::current_path(), deep);
  fs::current_path(before);
  fs::remove_all(fs::path(TempPath("embed_deep")));
  fs::remove_all(fs::path(TempPath("embed_deep_pages")));
}

// A host handler that runs inside a print run may not free the viewer.
PW_HWND busyEnvelope = 0;
int deleteResult = 99;
constexpr uint32_t kDeleteNow = 0x0400 + 5;

intptr_t DeletingHost(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == kDeleteNow) deleteResult = _DeleteBrowser(busyEnvelope);
  return HostProcedure(window, message, wParam, lParam);
}

TEST_F(Printing, AHandlerRunInsideACallCannotDeleteTheViewer) {
  host_ = pwhost_CreateWindow(400, 300, DeletingHost);
  busyEnvelope = Embed();
  Show("long.html");
  const fs::path folder = TempFolder("embed_busy_pages");
  ASSERT_EQ(pwhost_SetPrintFolder(folder.string().c_str()), 1);
  win::PostMessageW(host_, kDeleteNow, 0, 0);
  EXPECT_EQ(_Print(busyEnvelope, 0), 1);
  EXPECT_EQ(deleteResult, -1);
  deleteResult = 99;
  win::PostMessageW(host_, kDeleteNow, 0, 0);
  pwhost_PumpMessages();  // outside any call it may
  EXPECT_EQ(deleteResult, 0);
  envelopes_.clear();
  fs::remove_all(folder);
}

// What the image callback saw and does.
struct CallbackLog {
  std::vector<std::string> sources;
  bool replyEmptyOnEntry = true;
  std::string reply;
  PW_HWND window = 0;
  int deleteResult = 99;
  int showResult = 99;
};
CallbackLog callbackLog;

void AnsweringCallback(ImageRequestRecord* request) {
  callbackLog.sources.push_back(request->SRC);
  callbackLog.window = request->Window;
  callbackLog.replyEmptyOnEntry = callbackLog.replyEmptyOnEntry && request->Reply[0] == '\0';
  std::snprintf(request->Reply, sizeof request->Reply, "%s", callbackLog.reply.c_str());
}

PW_HWND otherHost = 0;

void MeddlingCallback(ImageRequestRecord* request) {
  callbackLog.deleteResult = _DeleteBrowser(request->Window);
  callbackLog.window = _EmbedBrowser(otherHost, 0);
  callbackLog.showResult = _BrowserShowHtml(request->Window, DataFile("links.html").c_str(), "Arial", 12);
  std::memset(request->Reply, 'x', sizeof request->Reply);  // no NUL at all
}

class Images : public EmbedTest {
 protected:
  void SetUp() override {
    EmbedTest::SetUp();
    callbackLog = CallbackLog{};
    folder_ = TempFolder("embed_images");
    fs::create_directories(folder_ / "doc");
    WriteFile(folder_ / "doc" / "page.html", "<body><img src=\"pic.png\" width=40 height=40></body>");
    WritePicture(folder_ / "doc" / "pic.png", 0x00FF00);  // beside the document: green
    WritePicture(folder_ / "pic.png", 0x0000FF);          // in the current folder: blue
    WritePicture(folder_ / "reply.png", 0xFF0000);        // the host's answer: red
    before_ = fs::current_path();
    fs::current_path(folder_);
    envelope_ = Embed();
  }
  void TearDown() override {
    EmbedTest::TearDown();
    fs::current_path(before_);
    fs::remove_all(folder_);
  }
  int ShowPage() {
    const int shown = _BrowserShowHtml(envelope_, (folder_ / "doc" / "page.html").string().c_str(), "Arial", 12);
    pwhost_PumpMessages();
    return shown;
  }
  fs::path folder_, before_;
  PW_HWND envelope_ = 0;
};

TEST_F(Images, TheCallbackIsAskedAndItsReplyUsed) {
  callbackLog.reply = (folder_ / "reply.png").string();
  EXPECT_EQ(_SetImageCallback(AnsweringCallback), reinterpret_cast<intptr_t>(&AnsweringCallback));
  ASSERT_EQ(ShowPage(), 1);
  ASSERT_EQ(callbackLog.sources.size(), 1u);
  EXPECT_EQ(callbackLog.sources[0], "pic.png");
  EXPECT_EQ(callbackLog.window, envelope_);
  EXPECT_TRUE(callbackLog.replyEmptyOnEntry);
  EXPECT_GT(CountPixels(host_, 0xFF0000), 1000);
}

TEST_F(Images, WithoutAnAnswerTheDocumentsOwnPictureIsShown) {
  callbackLog.reply = "";
  _SetImageCallback(AnsweringCallback);
  ASSERT_EQ(ShowPage(), 1);
  EXPECT_EQ(callbackLog.sources.size(), 1u);
  EXPECT_GT(CountPixels(host_, 0x00FF00), 1000);
  EXPECT_EQ(CountPixels(host_, 0x0000FF), 0);

  // Without a callback a picture of the same name in the current folder does not stand in.
  _SetImageCallback(nullptr);
  ASSERT_EQ(_BrowserShowHtml(envelope_, DataFile("links.html").c_str(), "Arial", 12), 1);
  ASSERT_EQ(ShowPage(), 1);
  EXPECT_GT(CountPixels(host_, 0x00FF00), 1000);
  EXPECT_EQ(CountPixels(host_, 0x0000FF), 0);
}

TEST_F(Images, TheCallbackCannotFreeOrReloadTheViewer) {
  otherHost = pwhost_CreateWindow(100, 100, nullptr);
  _SetImageCallback(MeddlingCallback);
  ASSERT_EQ(ShowPage(), 1);
  pwhost_DestroyWindow(otherHost);
  EXPECT_EQ(callbackLog.deleteResult, -1);
  EXPECT_EQ(callbackLog.window, 0u);  // the loading viewer stays in its window
  EXPECT_EQ(callbackLog.showResult, 0);
  EXPECT_EQ(LastBox(), "Error in BrowserShowHtml|A document is being loaded; it cannot be replaced now");
  // An unterminated reply names no file: the document's own picture is shown.
  EXPECT_GT(CountPixels(host_, 0x00FF00), 1000);
}

}  // namespace
}  // namespace embed_test
