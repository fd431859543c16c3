#include "platform/gui/TApplication.h"

#include <algorithm>

#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/CodePages.h"

namespace gui {

namespace {

win::LRESULT applicationWindowProc(win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
  return win::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool CheckSynchronize() { return false; }

TApplication* TApplicationAccess::operator->() const {
  static TApplication application;
  return &application;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() = default;

win::HWND TApplication::Handle() {
  if (!handle_ || !win::IsWindow(handle_))
    handle_ = win::createWindowWithProcedure(applicationWindowProc, 0, win::WS_POPUP, win::RECT{0, 0, 0, 0}, 0);
  return handle_;
}

bool TApplication::ProcessMessage() {
  win::MSG message{};
  if (!win::PeekMessageW(&message, 0, 0, 0, win::PM_REMOVE)) return false;
  if (message.message == win::WM_QUIT) {
    terminated_ = true;
    return true;
  }
  try {
    win::TranslateMessage(&message);
    win::DispatchMessageW(&message);
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
    if (terminated_) break;
  }
}

void TApplication::HandleMessage() { ProcessMessage(); }

void TApplication::Terminate() {
  terminated_ = true;
  win::PostQuitMessage(0);
}

void TApplication::HandleException(TObject* Sender) {
  const std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    Report(Sender, e);
  } catch (const std::exception& e) {
    Report(Sender, Exception(e.what()));
  } catch (...) {
    Report(Sender, Exception("Unknown error"));
  }
}

void TApplication::Report(TObject* Sender, const Exception& E) {
  for (auto it = events_.rbegin(); it != events_.rend(); ++it) {
    if ((*it)->OnException) {
      (*it)->OnException(Sender, E);
      return;
    }
  }
  if (OnException) OnException(Sender, E);
  else ShowException(E);
}

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  Application->events_.push_back(this);
}

TApplicationEvents::~TApplicationEvents() {
  auto& events = Application->events_;
  events.erase(std::remove(events.begin(), events.end(), this), events.end());
}

void TApplication::ShowException(const Exception& E) {
  std::string text = E.Message();
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBox(text, title_, win::MB_OK | win::MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, win::UINT Flags) {
  const std::u16string text = win::multiByteToWide(win::CP_ACP, Text);
  const std::u16string caption = win::multiByteToWide(win::CP_ACP, Caption);
  return win::MessageBoxW(0, text.c_str(), caption.c_str(), Flags);
}

void TApplication::Reset() {
  if (handle_ && win::IsWindow(handle_)) win::DestroyWindow(handle_);
  handle_ = 0;
  terminated_ = false;
  OnException = nullptr;
}

}  // namespace gui
