// The host's side of the window system (pagewell_host.h): thin calls into
// the platform layer, each keeping errors inside the library.
#include <cstring>
#include <filesystem>
#include <string>

#include "embed/EmbedState.h"
#include "embed/include/pagewell_host.h"
#include "images/PngSave.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TWinControl.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/user/Coordinates.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageBoxes.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/Windows.h"

namespace {

// A pump that keeps finding work (a window posting to itself) still returns.
constexpr int kMaxMessagesPerPump = 1000000;
constexpr int kMaxWindowSide = 32000;

template <typename Result, typename Body>
Result Safely(Result Failure, Body&& Run) noexcept {
  try {
    return Run();
  } catch (...) {
    return Failure;
  }
}

// Host windows keep the host's procedure in their user data from WM_NCCREATE on.
win::LRESULT HostWindowProc(win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
  if (message == win::WM_NCCREATE) {
    const auto* create = reinterpret_cast<const win::CREATESTRUCTW*>(lParam);
    win::SetWindowLongPtrW(window, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(create->lpCreateParams));
  }
  const auto procedure = reinterpret_cast<pwhost_WindowProc>(win::GetWindowLongPtrW(window, win::GWLP_USERDATA));
  if (procedure) return procedure(window, message, wParam, lParam);
  return win::DefWindowProcW(window, message, wParam, lParam);
}

gui::TWinControl* ControlOf(PW_HWND Window) { return gui::TWinControl::FindControl(Window); }

struct EnumCall {
  pwhost_EnumProc procedure;
  intptr_t data;
};

win::BOOL EnumTrampoline(win::HWND window, win::LPARAM data) {
  const auto* call = reinterpret_cast<const EnumCall*>(data);
  return call->procedure(window, call->data) ? win::TRUE : win::FALSE;
}

void CopyOut(const std::u16string& Text, char* Buffer, size_t Size) {
  if (!Buffer || Size == 0) return;
  const std::string narrow = win::wideToMultiByte(win::CP_ACP, Text);
  const size_t count = std::min(narrow.size(), Size - 1);
  std::memcpy(Buffer, narrow.data(), count);
  Buffer[count] = '\0';
}

}  // namespace

extern "C" {

PAGEWELL_API PW_HWND pwhost_CreateWindow(int width, int height, pwhost_WindowProc procedure) {
  embed::EnsureLibraryStarted();
  if (width < 1 || height < 1 || width > kMaxWindowSide || height > kMaxWindowSide) return 0;
  return Safely(PW_HWND{0}, [&] {
    return win::createWindowWithProcedure(HostWindowProc, 0, win::WS_OVERLAPPED | win::WS_VISIBLE,
                                          win::RECT{0, 0, width, height}, 0, reinterpret_cast<void*>(procedure));
  });
}

PAGEWELL_API int pwhost_DestroyWindow(PW_HWND window) {
  return Safely(0, [&] { return win::DestroyWindow(window) ? 1 : 0; });
}

PAGEWELL_API intptr_t pwhost_DefWindowProc(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return Safely(intptr_t{0}, [&] { return win::DefWindowProcW(window, message, wParam, lParam); });
}

PAGEWELL_API int pwhost_PumpMessages(void) {
  int count = 0;
  win::MSG message{};
  while (count < kMaxMessagesPerPump && Safely(false, [&] {
           return win::PeekMessageW(&message, 0, 0, 0, win::PM_REMOVE) != win::FALSE;
         })) {
    ++count;
    try {
      win::TranslateMessage(&message);
      win::DispatchMessageW(&message);
    } catch (...) {
      Safely(0, [] {
        gui::Application->HandleException(nullptr);
        return 0;
      });
    }
  }
  return count;
}

PAGEWELL_API void pwhost_UseVirtualClock(void) {
  Safely(0, [] {
    win::useVirtualClock();
    return 0;
  });
}

PAGEWELL_API void pwhost_UseRealClock(void) {
  Safely(0, [] {
    win::setClock(nullptr);
    return 0;
  });
}

PAGEWELL_API int pwhost_AdvanceClock(uint32_t milliseconds) {
  auto* clock = dynamic_cast<win::VirtualClock*>(&win::currentClock());
  if (!clock) return 0;
  clock->advance(milliseconds);
  return 1;
}

PAGEWELL_API int pwhost_GetWindowPixels(PW_HWND window, int* width, int* height, uint32_t* pixels,
                                        size_t capacity) {
  return Safely(0, [&] {
    const win::Surface* surface = win::windowSurface(window);
    if (!surface || surface->empty()) return 0;
    if (width) *width = surface->width;
    if (height) *height = surface->height;
    if (!pixels) return 1;
    const auto rowPixels = static_cast<size_t>(surface->width);
    if (capacity / rowPixels < static_cast<size_t>(surface->height)) return 0;
    for (int y = 0; y < surface->height; ++y)
      std::memcpy(pixels + static_cast<size_t>(y) * rowPixels, surface->rowPtr(y), rowPixels * 4);
    return 1;
  });
}

PAGEWELL_API int pwhost_SaveWindowPng(PW_HWND window, const char* path) {
  if (!path || !*path) return 0;
  return Safely(0, [&] {
    const win::Surface* surface = win::windowSurface(window);
    if (!surface || surface->empty()) return 0;
    images::SaveSurfaceAsPng(*surface, path);
    return 1;
  });
}

PAGEWELL_API PW_HWND pwhost_MouseInput(PW_HWND window, uint32_t message, int x, int y, int wheelDelta) {
  return Safely(PW_HWND{0}, [&] {
    win::POINT point{x, y};
    if (!win::ClientToScreen(window, &point)) return PW_HWND{0};
    return win::postMouseInput(message, point, static_cast<short>(wheelDelta));
  });
}

PAGEWELL_API PW_HWND pwhost_KeyInput(PW_HWND window, uint32_t message, int virtualKey) {
  if (message != win::WM_KEYDOWN && message != win::WM_KEYUP) return 0;
  return Safely(PW_HWND{0}, [&] {
    if (window != 0 && win::GetFocus() != window) {
      if (gui::TWinControl* control = ControlOf(window)) control->SetFocus();
      else win::SetFocus(window);
    }
    return win::postKeyInput(message, virtualKey);
  });
}

PAGEWELL_API int pwhost_GetLastMessageBox(char* caption, size_t captionSize, char* text, size_t textSize,
                                          uint32_t* flags) {
  return Safely(0, [&] {
    const std::vector<win::MessageBoxRecord> boxes = win::messageBoxRecords();
    if (boxes.empty()) return 0;
    CopyOut(boxes.back().caption, caption, captionSize);
    CopyOut(boxes.back().text, text, textSize);
    if (flags) *flags = boxes.back().flags;
    return static_cast<int>(boxes.size());
  });
}

PAGEWELL_API int pwhost_SetPrintFolder(const char* folder) {
  if (!folder || !*folder) return 0;
  return Safely(0, [&] {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) return 0;
    win::virtualPrinter().outputFolder = folder;
    return 1;
  });
}

PAGEWELL_API int pwhost_EnumChildWindows(PW_HWND parent, pwhost_EnumProc procedure, intptr_t data) {
  if (!procedure) return 0;
  EnumCall call{procedure, data};
  return Safely(0, [&] {
    return win::EnumChildWindows(parent, EnumTrampoline, reinterpret_cast<win::LPARAM>(&call)) ? 1 : 0;
  });
}

PAGEWELL_API int pwhost_GetClassName(PW_HWND window, char* buffer, int size) {
  return Safely(0, [&] { return win::GetClassNameA(window, buffer, size); });
}

PAGEWELL_API int pwhost_GetScrollInfo(PW_HWND scrollBar, pwhost_ScrollInfo* info) {
  if (!info) return 0;
  return Safely(0, [&] {
    win::SCROLLINFO scroll;
    scroll.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
    if (!win::GetScrollInfo(scrollBar, win::SB_CTL, &scroll)) return 0;
    *info = pwhost_ScrollInfo{scroll.nMin, scroll.nMax, scroll.nPage, scroll.nPos};
    return 1;
  });
}

PAGEWELL_API int pwhost_GetWindowRect(PW_HWND window, pwhost_Rect* rect) {
  if (!rect) return 0;
  return Safely(0, [&] {
    win::RECT bounds{};
    if (!win::GetWindowRect(window, &bounds)) return 0;
    win::POINT corners[2] = {{bounds.left, bounds.top}, {bounds.right, bounds.bottom}};
    const win::HWND parent = win::GetAncestor(window, win::GA_PARENT);
    if (parent) win::MapWindowPoints(0, parent, corners, 2);
    *rect = pwhost_Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return 1;
  });
}

// A control's window is shown and moved through the control, so that the
// control and its aligned children follow.
PAGEWELL_API int pwhost_ShowWindow(PW_HWND window, int show) {
  return Safely(0, [&] {
    const bool wasVisible = win::IsWindowVisible(window) != win::FALSE;
    if (gui::TWinControl* control = ControlOf(window)) control->SetVisible(show != 0);
    else win::ShowWindow(window, show ? win::SW_SHOW : win::SW_HIDE);
    return wasVisible ? 1 : 0;
  });
}

PAGEWELL_API int pwhost_MoveWindow(PW_HWND window, int x, int y, int width, int height) {
  if (width < 0 || height < 0 || width > kMaxWindowSide || height > kMaxWindowSide) return 0;
  return Safely(0, [&] {
    if (!win::IsWindow(window)) return 0;
    if (gui::TWinControl* control = ControlOf(window)) control->SetBounds(x, y, width, height);
    else win::MoveWindow(window, x, y, width, height, win::TRUE);
    return 1;
  });
}

}  // extern "C"
