#pragma once
// Fills the document's image hooks: block background pictures and list-item
// pictures, fetched once per block through the document's image loading.
namespace engine {

void InstallBlockImageHooks();
// Empties them again (the engine's shutdown).
void RemoveBlockImageHooks();

}  // namespace engine
