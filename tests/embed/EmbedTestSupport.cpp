#include "EmbedTestSupport.h"

#include <unistd.h>

#include "platform/gui/TPrintDialog.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/MessageBoxes.h"

namespace embed_test {

std::vector<Notification>& Received() {
  static std::vector<Notification> received;
  return received;
}

namespace {

template <typename Record>
Notification Copy(uint32_t message, const Record& record) {
  Notification copy;
  copy.message = message;
  copy.window = record.Window;
  copy.url = record.URL;
  copy.target = record.Target;
  copy.terminated = record.URL[PAGEWELL_MAX_TEXT] == '\0' && record.Target[PAGEWELL_MAX_TEXT] == '\0';
  return copy;
}

}  // namespace

intptr_t HostProcedure(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == HotSpotClickMessage) {
    const auto& record = *reinterpret_cast<const HotSpotClickRecord*>(lParam);
    Received().push_back(Copy(message, record));
    Received().back().reserved = record.Reserved;
    return 0;
  }
  if (message == HotSpotCoveredMessage) {
    Received().push_back(Copy(message, *reinterpret_cast<const HotSpotNotifyRecord*>(lParam)));
    return 0;
  }
  return pwhost_DefWindowProc(window, message, wParam, lParam);
}

std::string DataFile(const std::string& name) { return std::string(PAGEWELL_TEST_DATA_DIR) + "/embed/" + name; }

std::string TempPath(const std::string& name) {
  return testing::TempDir() + "embed_" + std::to_string(::getpid()) + "_" + name;
}

std::string LastBox() {
  char caption[256], text[1024];
  uint32_t flags = 0;
  if (pwhost_GetLastMessageBox(caption, sizeof caption, text, sizeof text, &flags) == 0) return {};
  return std::string(caption) + "|" + text;
}

int BoxCount() { return pwhost_GetLastMessageBox(nullptr, 0, nullptr, 0, nullptr); }

void EmbedTest::SetUp() {
  ASSERT_EQ(_GetZelvoHTMLVersion(), PAGEWELL_INTERFACE_VERSION);
  pwhost_UseVirtualClock();
  win::setMessageBoxEcho(false);
  win::clearMessageBoxRecords();
  win::resetClipboard();
  gui::ResetPrintDialogs();
  gui::SetPrintDialogAnswer(true);
  win::resetVirtualPrinter();  // no print folder until a test sets one
  Received().clear();
  _SetImageCallback(nullptr);
}

void EmbedTest::TearDown() {
  for (PW_HWND envelope : envelopes_) _DeleteBrowser(envelope);
  if (host_) pwhost_DestroyWindow(host_);
  pwhost_PumpMessages();
  _SetImageCallback(nullptr);
  win::setMessageBoxEcho(true);
}

PW_HWND EmbedTest::Embed(int width, int height, int slot) {
  if (!host_) host_ = pwhost_CreateWindow(width, height, HostProcedure);
  const PW_HWND envelope = _EmbedBrowser(host_, slot);
  if (envelope) envelopes_.push_back(envelope);
  return envelope;
}

void EmbedTest::Show(const std::string& file) {
  ASSERT_EQ(_BrowserShowHtml(envelopes_.front(), DataFile(file).c_str(), "Arial", 12), 1) << LastBox();
  pwhost_PumpMessages();
}

}  // namespace embed_test
