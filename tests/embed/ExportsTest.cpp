// The exported functions as a host calls them: version, embedding and
// deleting, showing files, and the answers for handles no slot holds.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "EmbedTestSupport.h"
#include "embed/EmbedState.h"
#include "embed/ExportGuard.h"
#include "embed/LibraryVersion.h"
#include "embed/TBrowserEnvelope.h"

namespace embed_test {
namespace {

using Exports = EmbedTest;

TEST_F(Exports, VersionNumberStringAndStubs) {
  EXPECT_EQ(_GetZelvoHTMLVersion(), 4);
  char* text = _GetVersionString();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text), "Pagewell.dll Version " + embed::LibraryFileVersion());
  EXPECT_EQ(embed::LibraryFileVersion(), "1.0.0.0");
  _ReleaseMemory(text);
  _ReleaseMemory(nullptr);
  EXPECT_EQ(_GetLine(), -1);
  EXPECT_EQ(_GetCursorPosition(), 0);
  EXPECT_EQ(_SetCursorPosition(), 0);
  _DeleteSelectedBlock();
}

TEST_F(Exports, HandleZeroAndUnknownHandlesAnswerNothing) {
  char* empty = _GetSelectedText(0);
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty, "");
  _ReleaseMemory(empty);
  char* word = _GetCurrentWord(0);
  ASSERT_NE(word, nullptr);
  EXPECT_STREQ(word, "");
  _ReleaseMemory(word);
  int position = 77;
  EXPECT_EQ(_GetPosition(0, &position), 0);
  EXPECT_EQ(position, 0);
  EXPECT_EQ(_GetPosition(0, nullptr), 0);

  const PW_HWND unknown = 12345;
  EXPECT_EQ(_GetSelectedText(unknown), nullptr);
  EXPECT_EQ(_GetCurrentWord(unknown), nullptr);
  EXPECT_EQ(_DeleteBrowser(unknown), -1);
  EXPECT_EQ(_BrowserShowHtml(unknown, DataFile("links.html").c_str(), "Arial", 12), 0);
  EXPECT_EQ(_GetPosition(unknown, &position), 0);
  EXPECT_EQ(_SetPosition(unknown, 3), 0);
  EXPECT_EQ(_DeleteToEnd(unknown, 3), 0);
  EXPECT_EQ(_CanCopy(unknown), 0);
  EXPECT_EQ(_HasFocus(unknown), 0);
  EXPECT_EQ(_Print(unknown, 0), 0);
  EXPECT_EQ(_SetMargin(unknown, 1, 1, 1, 1), 0);
  _CopySelectedText(unknown);
  _PriorKey(unknown);
  _NextKey(unknown);
  EXPECT_EQ(BoxCount(), 0);
}

TEST_F(Exports, TheEnvelopeFillsTheHostWindow) {
  const PW_HWND envelope = Embed(420, 310);
  ASSERT_NE(envelope, 0u);
  pwhost_Rect rect{};
  ASSERT_EQ(pwhost_GetWindowRect(envelope, &rect), 1);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 420);
  EXPECT_EQ(rect.bottom, 310);
  char name[64];
  ASSERT_GT(pwhost_GetClassName(envelope, name, sizeof name), 0);
  EXPECT_STREQ(name, "TBrowserEnvelope");
  // Embedding the filled slot again keeps the envelope.
  EXPECT_EQ(_EmbedBrowser(host_, 0), envelope);
}

TEST_F(Exports, OnlySlotsZeroAndOneExist) {
  const PW_HWND host = pwhost_CreateWindow(100, 100, nullptr);
  EXPECT_EQ(_EmbedBrowser(host, 2), 0u);
  EXPECT_EQ(_EmbedBrowser(host, -1), 0u);
  EXPECT_EQ(_EmbedBrowser(host, INT_MAX), 0u);
  EXPECT_EQ(_EmbedBrowser(0, 0), 0u);  // no parent window
  EXPECT_EQ(LastBox(), "Error in EmbedBrowser|The parent window does not exist");
  pwhost_DestroyWindow(host);
}

int KeepFirstWindow(PW_HWND window, intptr_t data) {
  *reinterpret_cast<PW_HWND*>(data) = window;
  return 0;
}

// A viewer cannot be moved into its own envelope or a window inside it (nor
// into the other viewer's, which would take it along when deleted); it is
// refused before anything changes, and the viewer keeps working.
TEST_F(Exports, AViewerIsNotEmbeddedInsideAViewer) {
  const PW_HWND envelope = Embed(300, 200);
  Show("links.html");
  EXPECT_EQ(_EmbedBrowser(envelope, 0), 0u);
  EXPECT_EQ(LastBox(), "Error in EmbedBrowser|The parent window belongs to a viewer");
  PW_HWND inner = 0;
  pwhost_EnumChildWindows(envelope, KeepFirstWindow, reinterpret_cast<intptr_t>(&inner));
  ASSERT_NE(inner, 0u);
  EXPECT_EQ(_EmbedBrowser(inner, 0), 0u);
  EXPECT_EQ(_EmbedBrowser(inner, 1), 0u);
  EXPECT_EQ(BoxCount(), 3);

  EXPECT_EQ(_BrowserShowHtml(envelope, DataFile("long.html").c_str(), "Arial", 12), 1);
  pwhost_PumpMessages();
  EXPECT_EQ(_SelectRangeText(envelope, 0, -1), 0);
  char* text = _GetSelectedText(envelope);
  ASSERT_NE(text, nullptr);
  EXPECT_GT(std::strlen(text), 0u);
  _ReleaseMemory(text);
  EXPECT_EQ(_EmbedBrowser(host_, 0), envelope);  // its own host still takes it
  EXPECT_EQ(_DeleteBrowser(envelope), 0);
  envelopes_.clear();
}

TEST_F(Exports, TwoSlotsDeleteAndEmbedAgain) {
  const PW_HWND first = Embed(300, 200, 0);
  const PW_HWND second = Embed(300, 200, 1);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(_BrowserShowHtml(second, DataFile("links.html").c_str(), "Arial", 12), 1);
  EXPECT_EQ(pwhost_ShowWindow(second, 1), 0);  // slot 1 starts hidden: its host shows it
  EXPECT_EQ(_BrowserShowHtml(first, DataFile("long.html").c_str(), "Arial", 12), 1);
  EXPECT_EQ(pwhost_ShowWindow(first, 1), 1);

  EXPECT_EQ(_DeleteBrowser(first), 0);
  EXPECT_EQ(_DeleteBrowser(first), -1);
  EXPECT_EQ(_DeleteBrowser(second), 1);
  const PW_HWND again = _EmbedBrowser(host_, 0);
  ASSERT_NE(again, 0u);
  envelopes_ = {again};
  EXPECT_EQ(_BrowserShowHtml(again, DataFile("links.html").c_str(), nullptr, 12), 1);
  EXPECT_EQ(BoxCount(), 0);
}

TEST_F(Exports, AMissingFileShowsTheWarningBox) {
  const PW_HWND envelope = Embed();
  EXPECT_EQ(_BrowserShowHtml(envelope, "/no/such.htm", "Times New Roman", 12), 0);
  char caption[64], text[256];
  uint32_t flags = 0;
  ASSERT_EQ(pwhost_GetLastMessageBox(caption, sizeof caption, text, sizeof text, &flags), 1);
  EXPECT_STREQ(caption, "Error in BrowserShowHtml");
  EXPECT_STREQ(text, "Can't locate file: /no/such.htm");
  EXPECT_EQ(flags, 0x30u);  // MB_ICONWARNING

  // A NULL name is refused the same way, never read.
  EXPECT_EQ(_BrowserShowHtml(envelope, nullptr, "Arial", 12), 0);
  EXPECT_EQ(LastBox(), "Error in BrowserShowHtml|No file name was given");
}

// A size no font can have is brought into 1..200 points before any font is
// made from it (it overflowed the font height).
TEST_F(Exports, FontSizesAreKeptWithinOneToTwoHundred) {
  const PW_HWND envelope = Embed(200, 120);
  const viewer::TFrameViewer& frames = *embed::Envelope(0)->FrameViewer;
  ASSERT_EQ(_BrowserShowHtml(envelope, DataFile("links.html").c_str(), "Arial", INT_MAX), 1);
  pwhost_PumpMessages();
  EXPECT_EQ(frames.DefFontSize(), 200);
  EXPECT_EQ(frames.GetViewer(0)->DefFontSize(), 200);
  ASSERT_EQ(_BrowserShowHtml(envelope, DataFile("links.html").c_str(), "Arial", INT_MIN), 1);
  pwhost_PumpMessages();
  EXPECT_EQ(frames.GetViewer(0)->DefFontSize(), 1);
  ASSERT_EQ(_BrowserShowHtml(envelope, DataFile("links.html").c_str(), "Arial", 0), 1);
  pwhost_PumpMessages();
  EXPECT_EQ(frames.DefFontSize(), 1);
  EXPECT_EQ(BoxCount(), 0);
}

TEST_F(Exports, TheGuardTurnsAnErrorIntoTheFailureValue) {
  const int result = embed::Guarded("GetPosition", 0, []() -> int { throw std::runtime_error("broken"); });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(LastBox(), "Error in GetPosition|broken");
}

TEST_F(Exports, SlotZeroIsShownAndPainted) {
  const PW_HWND envelope = Embed(200, 120);
  Show("links.html");
  int width = 0, height = 0;
  std::vector<uint32_t> pixels(200 * 120);
  ASSERT_EQ(pwhost_GetWindowPixels(host_, &width, &height, pixels.data(), pixels.size()), 1);
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 120);
  int dark = 0;
  for (uint32_t pixel : pixels) dark += (pixel & 0xFF) < 0x80;
  EXPECT_GT(dark, 20);  // text was drawn
  EXPECT_EQ(pwhost_GetWindowPixels(host_, &width, &height, pixels.data(), 10), 0);
  EXPECT_EQ(pwhost_GetWindowPixels(envelope, &width, &height, nullptr, 0), 0);  // not a top-level window
}

// The show paints its window once, when it is complete: what the host sees
// when the call returns is what it sees after running its messages.
TEST_F(Exports, AShownPageIsOnScreenWhenTheCallReturns) {
  const PW_HWND envelope = Embed(300, 200);
  auto pixels = [&] {
    int width = 0, height = 0;
    std::vector<uint32_t> read(300 * 200);
    EXPECT_EQ(pwhost_GetWindowPixels(host_, &width, &height, read.data(), read.size()), 1);
    return read;
  };
  // A first page, another one, and the same one again (a reload in place).
  for (const char* file : {"links.html", "long.html", "long.html"}) {
    ASSERT_EQ(_BrowserShowHtml(envelope, DataFile(file).c_str(), "Arial", 12), 1) << LastBox();
    const std::vector<uint32_t> returned = pixels();
    pwhost_PumpMessages();
    EXPECT_EQ(returned, pixels()) << file;
    int dark = 0;
    for (uint32_t pixel : returned) dark += (pixel & 0xFF) < 0x80;
    EXPECT_GT(dark, 20) << file;
  }
}

}  // namespace
}  // namespace embed_test
