// The hosting form: its design values, the mouse messages it posts to
// itself, and errors that reach the message loop.
#include <stdexcept>

#include "EmbedTestSupport.h"
#include "embed/EmbedState.h"
#include "embed/TBrowserEnvelope.h"
#include "platform/gui/Colors.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Windows.h"

namespace embed_test {
namespace {

using Envelope = EmbedTest;

TEST_F(Envelope, TheFormsDesignValues) {
  ASSERT_NE(Embed(), 0u);
  embed::TBrowserEnvelope& envelope = *embed::Envelope(0);
  const viewer::TFrameViewer& frames = *envelope.FrameViewer;
  EXPECT_EQ(envelope.Caption(), "Browser Control Envelope Dialog");
  EXPECT_EQ(envelope.Color(), gui::clWindow);
  EXPECT_EQ(frames.DefOverLinkColor(), gui::clRed);
  EXPECT_EQ(frames.DefBackground(), gui::clWindow);
  EXPECT_EQ(frames.ImageCacheCount(), 0);
  EXPECT_EQ(frames.HistoryMaxCount(), 0);
  EXPECT_DOUBLE_EQ(frames.PrintMarginBottom, 3.0);
  EXPECT_DOUBLE_EQ(frames.PrintMarginLeft, 2.0);
  EXPECT_EQ(frames.fvOptions(), viewer::fvOverLinksActive | viewer::fvPrintMonochromeBlack |
                                    viewer::fvPrintTableBackground | viewer::fvPrintBackground);
  EXPECT_EQ(envelope.Timer1->Interval(), 10u);
  EXPECT_TRUE(envelope.Timer1->Enabled());
}

TEST_F(Envelope, MouseMessagesArriveInEnvelopeCoordinates) {
  const PW_HWND handle = Embed();
  Show("links.html");
  embed::TBrowserEnvelope& envelope = *embed::Envelope(0);
  viewer::THTMLViewer& view = *envelope.FrameViewer->GetViewer(0);
  win::POINT origin = view.ClientToScreen({0, 0});
  win::RECT own{};
  win::GetWindowRect(handle, &own);
  pwhost_PumpMessages();

  envelope.FrameViewerMouseUp(&view, gui::mbRight, 0, 10, 20);
  win::MSG message{};
  ASSERT_TRUE(win::PeekMessageW(&message, handle, win::WM_RBUTTONUP, win::WM_RBUTTONUP, win::PM_REMOVE));
  EXPECT_EQ(win::LOWORD(message.lParam), 10 + origin.x - own.left);
  EXPECT_EQ(win::HIWORD(message.lParam), 20 + origin.y - own.top);
  envelope.FrameViewerMouseUp(&view, gui::mbLeft, 0, 10, 20);  // only the right button
  envelope.FrameViewerMouseMove(&view, gui::ssLeft, 5, 5);      // nothing while a button is held
  EXPECT_FALSE(win::PeekMessageW(&message, handle, win::WM_MOUSEFIRST, win::WM_MOUSELAST, win::PM_REMOVE));
  envelope.FrameViewerMouseMove(&view, 0, 5, 6);
  ASSERT_TRUE(win::PeekMessageW(&message, handle, win::WM_MOUSEMOVE, win::WM_MOUSEMOVE, win::PM_REMOVE));
  EXPECT_EQ(win::HIWORD(message.lParam), 6 + origin.y - own.top);
}

constexpr uint32_t kBreak = 0x0400 + 9;

intptr_t ThrowingHost(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == kBreak) throw std::runtime_error("the host's handler failed");
  return HostProcedure(window, message, wParam, lParam);
}

TEST_F(Envelope, ErrorsReachingTheLoopAreShown) {
  host_ = pwhost_CreateWindow(300, 200, ThrowingHost);
  ASSERT_NE(Embed(), 0u);
  win::PostMessageW(host_, kBreak, 0, 0);
  EXPECT_EQ(pwhost_PumpMessages(), 1);
  char caption[64], text[128];
  uint32_t flags = 0;
  ASSERT_EQ(pwhost_GetLastMessageBox(caption, sizeof caption, text, sizeof text, &flags), 1);
  EXPECT_STREQ(caption, "PAGEWELL Application Exception");
  EXPECT_STREQ(text, "the host's handler failed");
  EXPECT_EQ(flags, 0x30u);
}

}  // namespace
}  // namespace embed_test
