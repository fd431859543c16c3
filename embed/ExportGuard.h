#pragma once
// What every exported function shares: the warning box that reports an
// error, the guard that turns an error into the function's failure value,
// and the count of exported calls under way (so that a call made from inside
// another one, through the image callback or a message handler, can be
// refused where it would free or reload what the outer call is using).
#include <exception>
#include <string>

namespace embed {

// A warning box with no owner window.
void ShowWarningBox(const std::string& Caption, const std::string& Text);
// The box for the error being handled: its message, the caption "Error in " + Name.
void ReportError(const std::string& Name, std::exception_ptr Error);

// Counts an exported call for as long as it runs.
class TExportScope {
 public:
  TExportScope();
  ~TExportScope();
  TExportScope(const TExportScope&) = delete;
  TExportScope& operator=(const TExportScope&) = delete;
  // Exported calls under way, this one included.
  static int Depth();
};

// Runs Body under the error guard: an error is reported as "Error in " + Name
// and Failure is returned instead.
template <typename Result, typename Body>
Result Guarded(const char* Name, Result Failure, Body&& Run) noexcept {
  try {
    return Run();
  } catch (...) {
    try {
      ReportError(Name, std::current_exception());
    } catch (...) {
      // Reporting itself failed; the failure value still stands.
    }
    return Failure;
  }
}

template <typename Body>
void GuardedVoid(const char* Name, Body&& Run) noexcept {
  Guarded(Name, 0, [&] {
    Run();
    return 0;
  });
}

}  // namespace embed
