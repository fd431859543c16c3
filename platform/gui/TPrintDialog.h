#pragma once
// The print dialog component. Dialogs never block here: Execute answers what
// the host or a test configured (OK by default) and counts how often it ran.
#include "platform/gui/TComponent.h"

namespace gui {

class TPrintDialog : public TComponent {
 public:
  using TComponent::TComponent;
  // True when the user chose to print.
  bool Execute();
};

// The answer every following Execute gives; true (OK) by default.
void SetPrintDialogAnswer(bool Print);
// How many print dialogs ran since the last reset; for tests.
int PrintDialogsShown();
void ResetPrintDialogs();

}  // namespace gui
