#include "engine/html/BuildState.h"

#include "engine/text/TSection.h"


namespace engine {

TBuildState buildState;

TBuildState::TBuildState() = default;
TBuildState::~TBuildState() = default;
TBuildState::TBuildState(TBuildState&&) noexcept = default;
TBuildState& TBuildState::operator=(TBuildState&&) noexcept = default;

TParseViewer& NoViewer() {
  static TNoViewer noViewer;
  return noViewer;
}

gui::TObject* ParseSender() { return buildState.Viewer ? buildState.Viewer->Sender() : nullptr; }

}  // namespace engine
