#include <gtest/gtest.h>

#include <thread>

#include "UserTestSupport.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/Timers.h"

using namespace win;
using namespace usertest;

namespace {

class MessageQueueTest : public UserTest {};

constexpr UINT kFirst = WM_USER + 1;
constexpr UINT kSecond = WM_USER + 2;
constexpr UINT kSent = WM_USER + 3;

std::vector<UINT> dispatchedOrder(HWND window) {
  return messagesOf(window, {kFirst, kSecond, kSent, WM_PAINT, WM_TIMER});
}

}  // namespace

TEST_F(MessageQueueTest, SentMessagesRunAtOncePostedOnesInOrderFromTheLoop) {
  const HWND window = topLevel({0, 0, 50, 50});
  pumpMessages();
  received().clear();
  EXPECT_TRUE(PostMessageW(window, kFirst, 1, 0));
  EXPECT_TRUE(PostMessageW(window, kSecond, 2, 0));
  EXPECT_EQ(SendMessageW(window, kSent, 0, 0), 0);
  EXPECT_EQ(dispatchedOrder(window), (std::vector<UINT>{kSent}));
  pumpMessages();
  EXPECT_EQ(dispatchedOrder(window), (std::vector<UINT>{kSent, kFirst, kSecond}));
}

TEST_F(MessageQueueTest, PaintAndTimerComeOnlyWhenTheQueueIsEmpty) {
  const HWND window = topLevel({0, 0, 50, 50});
  pumpMessages();
  ASSERT_EQ(SetTimer(window, 7, 100, nullptr), 7u);
  clock->advance(100);
  InvalidateRect(window, nullptr, FALSE);
  PostMessageW(window, kFirst, 0, 0);
  received().clear();
  pumpMessages();
  EXPECT_EQ(dispatchedOrder(window), (std::vector<UINT>{kFirst, WM_PAINT, WM_TIMER}));
  // One WM_TIMER for several missed periods, then the next period starts.
  received().clear();
  clock->advance(350);
  pumpMessages();
  EXPECT_EQ(dispatchedOrder(window), (std::vector<UINT>{WM_TIMER}));
  received().clear();
  clock->advance(99);
  pumpMessages();
  EXPECT_TRUE(dispatchedOrder(window).empty());
}

TEST_F(MessageQueueTest, TimersFireOnlyFromTheLoopAndStopWhenKilled) {
  const HWND window = topLevel({0, 0, 50, 50});
  pumpMessages();
  received().clear();
  SetTimer(window, 1, 10, nullptr);
  clock->advance(1000);
  EXPECT_TRUE(dispatchedOrder(window).empty());  // no loop ran
  EXPECT_EQ(advanceClockAndPump(0), 1);
  received().clear();
  EXPECT_EQ(advanceClockAndPump(100), 10);  // every 10 ms over 100 ms
  EXPECT_TRUE(KillTimer(window, 1));
  EXPECT_FALSE(KillTimer(window, 1));
  received().clear();
  advanceClockAndPump(100);
  EXPECT_TRUE(dispatchedOrder(window).empty());
  EXPECT_EQ(SetTimer(0xDEAD, 1, 10, nullptr), 0u);
}

TEST_F(MessageQueueTest, SettingATimerAgainRestartsItsCountdown) {
  const HWND window = topLevel({0, 0, 50, 50});
  pumpMessages();
  received().clear();
  SetTimer(window, 7, 100, nullptr);
  EXPECT_EQ(advanceClockAndPump(80), 0);
  EXPECT_EQ(SetTimer(window, 7, 100, nullptr), 7u);
  EXPECT_EQ(advanceClockAndPump(30), 0);  // 110 ms since the first, 30 since the second
  EXPECT_EQ(advanceClockAndPump(69), 0);
  EXPECT_EQ(advanceClockAndPump(1), 1);
  EXPECT_EQ(dispatchedOrder(window), (std::vector<UINT>{WM_TIMER}));
  // A new interval takes effect the same way, for every later period too.
  SetTimer(window, 7, 20, nullptr);
  received().clear();
  EXPECT_EQ(advanceClockAndPump(20), 1);
  EXPECT_EQ(advanceClockAndPump(20), 1);
  KillTimer(window, 7);
}

namespace {
int timerProcCalls = 0;
void countingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++timerProcCalls; }
}  // namespace

TEST_F(MessageQueueTest, TimerProceduresAreCalledInsteadOfTheWindow) {
  timerProcCalls = 0;
  const UINT_PTR id = SetTimer(0, 0, 50, countingTimerProc);
  ASSERT_NE(id, 0u);
  advanceClockAndPump(50);
  EXPECT_EQ(timerProcCalls, 1);
  // A posted WM_TIMER naming a procedure that no timer has is not called.
  const HWND window = topLevel({0, 0, 10, 10});
  PostMessageW(window, WM_TIMER, 99, reinterpret_cast<LPARAM>(&countingTimerProc));
  pumpMessages();
  EXPECT_EQ(timerProcCalls, 1);
  KillTimer(0, id);
}

TEST_F(MessageQueueTest, PeekFiltersAndNoRemove) {
  const HWND first = topLevel({0, 0, 10, 10});
  const HWND second = topLevel({0, 0, 10, 10});
  pumpMessages();
  PostMessageW(first, kFirst, 0, 0);
  PostMessageW(second, kSecond, 0, 0);
  PostMessageW(0, kSent, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, second, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, kSecond);
  ASSERT_TRUE(PeekMessageW(&message, 0, kSecond, kSent, PM_REMOVE));
  EXPECT_EQ(message.message, kSecond);
  ASSERT_TRUE(PeekMessageW(&message, kThreadMessagesOnly, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kSent);
  EXPECT_EQ(message.hwnd, 0u);
  ASSERT_TRUE(PeekMessageW(&message, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, kFirst);
  EXPECT_FALSE(PeekMessageW(&message, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PeekFilterBoundsAreInclusive) {
  const HWND window = topLevel({0, 0, 10, 10});
  pumpMessages();
  PostMessageW(window, kFirst, 0, 0);
  PostMessageW(window, kSecond, 0, 0);
  PostMessageW(window, kSent, 0, 0);
  MSG message;
  // A filter of one message.
  ASSERT_TRUE(PeekMessageW(&message, 0, kSecond, kSecond, PM_REMOVE));
  EXPECT_EQ(message.message, kSecond);
  // A filter whose maximum is the message, and one whose minimum is.
  ASSERT_TRUE(PeekMessageW(&message, 0, WM_USER, kFirst, PM_REMOVE));
  EXPECT_EQ(message.message, kFirst);
  ASSERT_TRUE(PeekMessageW(&message, 0, kSent, kSent + 10, PM_REMOVE));
  EXPECT_EQ(message.message, kSent);
  EXPECT_FALSE(PeekMessageW(&message, 0, kFirst, kSent, PM_REMOVE));
  PostQuitMessage(3);
  ASSERT_TRUE(PeekMessageW(&message, 0, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(MessageQueueTest, QuitEndsGetMessageAfterQueuedMessages) {
  const HWND window = topLevel({0, 0, 10, 10});
  pumpMessages();
  PostMessageW(window, kFirst, 0, 0);
  PostQuitMessage(3);
  MSG message;
  EXPECT_EQ(GetMessageW(&message, 0, 0, 0), 1);
  EXPECT_EQ(message.message, kFirst);
  EXPECT_EQ(GetMessageW(&message, 0, 0, 0), 0);
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(MessageQueueTest, GetMessageMovesTheVirtualClockToTheNextTimer) {
  const HWND window = topLevel({0, 0, 10, 10});
  pumpMessages();
  const auto start = GetTickCount64();
  SetTimer(window, 5, 250, nullptr);
  MSG message;
  ASSERT_EQ(GetMessageW(&message, 0, 0, 0), 1);
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.wParam, 5u);
  EXPECT_EQ(GetTickCount64() - start, 250u);
}

TEST_F(MessageQueueTest, MessagesFromOtherThreadsWakeTheLoop) {
  const HWND window = topLevel({0, 0, 10, 10});
  pumpMessages();
  std::thread poster([window] { PostMessageW(window, kFirst, 42, 0); });
  MSG message;
  ASSERT_EQ(GetMessageW(&message, 0, 0, 0), 1);
  poster.join();
  EXPECT_EQ(message.message, kFirst);
  EXPECT_EQ(message.wParam, 42u);
}

TEST_F(MessageQueueTest, StaleWindowsAreRefusedAndTheirMessagesDropped) {
  const HWND window = topLevel({0, 0, 10, 10});
  pumpMessages();
  PostMessageW(window, kFirst, 0, 0);
  SetTimer(window, 1, 10, nullptr);
  DestroyWindow(window);
  received().clear();
  EXPECT_FALSE(PostMessageW(window, kFirst, 0, 0));
  EXPECT_EQ(SendMessageW(window, kFirst, 0, 0), 0);
  advanceClockAndPump(100);
  EXPECT_TRUE(received().empty());
  MSG stale{window, kFirst, 0, 0, 0, {}};
  EXPECT_EQ(DispatchMessageW(&stale), 0);
}

TEST_F(MessageQueueTest, TranslateMessagePostsCharacters) {
  const HWND window = topLevel({0, 0, 10, 10});
  pumpMessages();
  received().clear();
  MSG key{window, WM_KEYDOWN, 'A', 1, 0, {}};
  EXPECT_TRUE(TranslateMessage(&key));
  MSG arrow{window, WM_KEYDOWN, 0x25, 1, 0, {}};
  EXPECT_FALSE(TranslateMessage(&arrow));
  pumpMessages();
  ASSERT_EQ(messagesOf(window, {WM_CHAR}).size(), 1u);
  EXPECT_EQ(received().back().wParam, static_cast<WPARAM>('a'));
}

TEST_F(MessageQueueTest, AHandlerThatNeverPaintsDoesNotLoopForever) {
  const HWND window = topLevel({0, 0, 10, 10});
  reaction() = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_PAINT) return 0;  // no BeginPaint
    return std::nullopt;
  };
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_EQ(pumpMessages(), 1);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
}

TEST_F(MessageQueueTest, PumpingIsBoundedWhenAHandlerPostsForever) {
  const HWND window = topLevel({0, 0, 10, 10});
  reaction() = [](HWND target, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == kFirst) PostMessageW(target, kFirst, 0, 0);
    return std::nullopt;
  };
  PostMessageW(window, kFirst, 0, 0);
  EXPECT_EQ(pumpMessages(500), 500);
}
