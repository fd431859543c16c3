#include "platform/gui/TPrintDialog.h"

namespace gui {
namespace {

struct DialogSettings {
  bool answer = true;
  int shown = 0;
};

DialogSettings& Settings() {
  static DialogSettings settings;
  return settings;
}

}  // namespace

bool TPrintDialog::Execute() {
  ++Settings().shown;
  return Settings().answer;
}

void SetPrintDialogAnswer(bool Print) { Settings().answer = Print; }

int PrintDialogsShown() { return Settings().shown; }

void ResetPrintDialogs() { Settings() = DialogSettings{}; }

}  // namespace gui
