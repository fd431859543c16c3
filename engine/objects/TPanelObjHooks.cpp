#include "engine/objects/TPanelObjHooks.h"

#include <memory>

#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/ParseState.h"
#include "engine/objects/TPanelObj.h"
#include "engine/text/TSection.h"

namespace engine {

namespace {

void AddPanel(TSection& section, THtmlSymbol symbol, TProperties& properties) {
  if (symbol != symPanel) return;
  auto panel = std::make_unique<TPanelObj>(buildState.Root, false, parseState.Attributes);
  panel->ApplyStyle(properties);
  // A finished section refuses the panel and frees it; it leaves the lists as it goes.
  section.AppendObject(std::move(panel), parseState.TagStartPosition);
}

// The OBJECT tag's position: the parameters are read before the panel goes in.
int objectTagPosition = 0;

// OBJECT: a panel made before the host is asked whether it wants it.
TPanelObj* CreatePanel(TSection&, TProperties& properties) {
  objectTagPosition = parseState.TagStartPosition;
  auto* panel = new TPanelObj(buildState.Root, true, parseState.Attributes);
  panel->ApplyStyle(properties);
  return panel;
}

void AppendPanel(TSection& section, TPanelObj* panel) {
  section.AppendObject(std::unique_ptr<TInlineObject>(panel), objectTagPosition);
}

void DropPanel(TPanelObj* panel) { delete panel; }

}  // namespace

void InstallPanelHooks() {
  TBuilderSeams& seams = BuilderSeams();
  seams.AddImageOrPanel = AddPanel;
  seams.CreatePanel = CreatePanel;
  seams.AppendPanel = AppendPanel;
  seams.DropPanel = DropPanel;
}

void RemovePanelHooks() {
  TBuilderSeams& seams = BuilderSeams();
  seams.AddImageOrPanel = nullptr;
  seams.CreatePanel = nullptr;
  seams.AppendPanel = nullptr;
  seams.DropPanel = nullptr;
}

}  // namespace engine
