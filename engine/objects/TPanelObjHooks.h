#pragma once
// Fills the document builder's PANEL and OBJECT hooks with panel objects.
namespace engine {

void InstallPanelHooks();
// Empties them again (the engine's shutdown).
void RemovePanelHooks();

}  // namespace engine
