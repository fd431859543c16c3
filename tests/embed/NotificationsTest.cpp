// What the host window receives: link clicks and hovering as posted
// messages with their records.
#include <string>

#include "EmbedTestSupport.h"

namespace embed_test {
namespace {

class Notifications : public EmbedTest {
 protected:
  void ShowLink(const std::string& href) {
    const std::string file = TempPath("link.html");
    FILE* out = std::fopen(file.c_str(), "wb");
    std::fprintf(out, "<body><a href=\"%s\" target=\"main\"><font size=7>NEXT NEXT NEXT</font></a></body>",
                 href.c_str());
    std::fclose(out);
    envelope_ = Embed(400, 300);
    ASSERT_EQ(_BrowserShowHtml(envelope_, file.c_str(), "Arial", 12), 1);
    pwhost_PumpMessages();
    std::remove(file.c_str());
    Received().clear();
  }
  void Click(int x, int y) {
    pwhost_MouseInput(host_, PWHOST_WM_MOUSEMOVE, x, y, 0);
    pwhost_MouseInput(host_, PWHOST_WM_LBUTTONDOWN, x, y, 0);
    pwhost_MouseInput(host_, PWHOST_WM_LBUTTONUP, x, y, 0);
    pwhost_PumpMessages();
  }
  std::vector<Notification> Of(uint32_t message) {
    std::vector<Notification> found;
    for (const Notification& n : Received())
      if (n.message == message) found.push_back(n);
    return found;
  }
  PW_HWND envelope_ = 0;
};

TEST_F(Notifications, AClickPostsTheLinkAndTheLibraryStaysPut) {
  ShowLink("next.html");
  Click(50, 19);
  const auto clicks = Of(HotSpotClickMessage);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].window, envelope_);
  EXPECT_EQ(clicks[0].url, "next.html");
  EXPECT_EQ(clicks[0].target, "main");
  EXPECT_EQ(clicks[0].reserved, 0);
  EXPECT_TRUE(clicks[0].terminated);
  // Nothing was followed: the same document is still shown.
  EXPECT_EQ(_SelectRangeText(envelope_, 0, 4), 0);
  char* text = _GetSelectedText(envelope_);
  EXPECT_STREQ(text, "NEXT");
  _ReleaseMemory(text);
}

TEST_F(Notifications, HoveringPostsEachChangeWithItsOwnRecord) {
  ShowLink("next.html");
  // Both moves run before the host sees either notification.
  pwhost_MouseInput(host_, PWHOST_WM_MOUSEMOVE, 50, 19, 0);
  pwhost_MouseInput(host_, PWHOST_WM_MOUSEMOVE, 60, 250, 0);
  pwhost_PumpMessages();
  const auto covered = Of(HotSpotCoveredMessage);
  ASSERT_EQ(covered.size(), 2u);
  EXPECT_EQ(covered[0].url, "next.html");
  EXPECT_EQ(covered[0].target, "main");
  EXPECT_EQ(covered[0].window, envelope_);
  EXPECT_EQ(covered[1].url, "");
}

TEST_F(Notifications, LongUrlsAreCutWithANulAfterThem) {
  ShowLink(std::string(5000, 'u') + ".html");
  Click(50, 19);
  const auto clicks = Of(HotSpotClickMessage);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].url, std::string(4096, 'u'));
  EXPECT_TRUE(clicks[0].terminated);
}

}  // namespace
}  // namespace embed_test
