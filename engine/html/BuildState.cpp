#include "engine/html/BuildState.h"

namespace engine {

TBuildState buildState;

TParseViewer& NoViewer() {
  static TNoViewer noViewer;
  return noViewer;
}

gui::TObject* ParseSender() { return buildState.Viewer ? buildState.Viewer->Sender() : nullptr; }

}  // namespace engine
