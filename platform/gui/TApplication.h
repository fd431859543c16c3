#pragma once
// The application object: the message pump for code that must let messages
// run, and the place where exceptions that reach the message loop end up.
// Reached through the global Application. Nothing here ever blocks.
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Exception.h"
#include "platform/gui/TComponent.h"
#include "platform/win/Types.h"

namespace gui {

class TApplicationEvents;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  void Initialize() {}
  // A hidden top-level window of the application, made on first use.
  win::HWND Handle();
  // Runs every queued message (and due timer) now.
  void ProcessMessages();
  // Runs one message if there is one; returns at once otherwise.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // To be called inside a catch block: EAbort is dropped, any other error
  // goes to OnException when assigned, else to ShowException.
  void HandleException(TObject* Sender);
  // A message box with the exception's message (ending in a full stop).
  void ShowException(const Exception& E);
  // Through the message-box service, which never blocks; answers its result.
  int MessageBox(const std::string& Text, const std::string& Caption, win::UINT Flags);

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }

  TExceptionEvent OnException;

  // Back to a fresh state (for tests).
  void Reset();

 private:
  friend class TApplicationEvents;
  bool ProcessMessage();
  void Report(TObject* Sender, const Exception& E);
  std::vector<TApplicationEvents*> events_;
  win::HWND handle_ = 0;
  bool terminated_ = false;
  std::string title_ = "Pagewell";
};

// A component that takes the application's exceptions while it exists: the
// latest one made whose OnException is assigned gets them, before
// Application.OnException.
class TApplicationEvents : public TComponent {
 public:
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;
  TExceptionEvent OnException;
};

// Runs the calls other threads queued for the main thread; true when one ran.
// No thread of ours queues any, so there is never work.
bool CheckSynchronize();

struct TApplicationAccess {
  TApplication* operator->() const;
  TApplication& operator*() const { return *operator->(); }
};
inline constexpr TApplicationAccess Application{};

}  // namespace gui
