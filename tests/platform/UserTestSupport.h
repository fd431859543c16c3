#pragma once
// Shared fixture for the window-system tests: a fresh window system on a
// virtual clock, and windows whose procedure records what they receive.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/win/kernel/Clock.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowSystem.h"
#include "platform/win/user/Windows.h"

namespace usertest {

struct Received {
  win::HWND window;
  win::UINT message;
  win::WPARAM wParam;
  win::LPARAM lParam;
};

// Everything the recording procedure saw, in order.
std::vector<Received>& received();
// Extra behaviour for the recording procedure: return a value to answer the
// message, nullopt to fall through to DefWindowProcW.
using Reaction = std::function<std::optional<win::LRESULT>(win::HWND, win::UINT, win::WPARAM, win::LPARAM)>;
Reaction& reaction();

win::LRESULT recordingProcedure(win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);

// The messages (numbers only) received by the window, filtered to 'interesting'.
std::vector<win::UINT> messagesOf(win::HWND window, const std::vector<win::UINT>& interesting);

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  win::HWND topLevel(const win::RECT& bounds, win::DWORD style = win::WS_VISIBLE);
  win::HWND child(win::HWND parent, const win::RECT& bounds, win::DWORD style = win::WS_VISIBLE);

  win::VirtualClock* clock = nullptr;
};

}  // namespace usertest
