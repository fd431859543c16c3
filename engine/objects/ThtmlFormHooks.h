#pragma once
// Fills the document builder's FORM and INPUT hooks with the form objects.
namespace engine {

void InstallFormHooks();
// Empties them again (the engine's shutdown).
void RemoveFormHooks();

}  // namespace engine
