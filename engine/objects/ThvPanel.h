#pragma once
// ThvPanel: the window a PANEL or OBJECT element hosts. The host program
// fills it (through the document's panel events); Displayed false keeps it
// hidden on screen and out of print.
#include "platform/gui/TCustomPanel.h"

namespace engine {

class ThvPanel : public gui::TPanel {
 public:
  using gui::TPanel::TPanel;
  bool Displayed = true;
};

}  // namespace engine
