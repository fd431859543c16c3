// The library's start-up and its shutdown at process exit, in the order of
// the units: the engine's values, pictures and look-up lists first, then the
// embedding interface (its module and version block).
#include <cstdlib>

#include "embed/EmbedState.h"
#include "embed/LibraryVersion.h"
#include "engine/common/EngineStartup.h"
#include "images/PrinterPages.h"
#include "platform/win/kernel/Files.h"

namespace embed {
namespace {

bool started = false;
win::HMODULE libraryModule = 0;

void StopLibrary() {
  try {
    engine::FinalizeEngineUnit();
  } catch (...) {
    // Nothing may escape into the exit handlers.
  }
}

__attribute__((constructor)) void StartLibrary() { EnsureLibraryStarted(); }

}  // namespace

void EnsureLibraryStarted() {
  if (started) return;
  started = true;
  try {
    engine::InitializeEngineUnit();
    images::InstallPngPageWriter();
  } catch (...) {
    // Nothing may escape into the loader; the engine runs without its pictures.
  }
  try {
    libraryModule = win::moduleHandleFor(reinterpret_cast<const void*>(&EnsureLibraryStarted));
    RegisterLibraryVersion(libraryModule);
  } catch (...) {
    // Without its block the library reports an empty file version.
  }
  // Registered after start-up made its objects, so it runs before the
  // destructors of the layers those objects live in.
  std::atexit(StopLibrary);
}

win::HMODULE LibraryModule() { return libraryModule; }

}  // namespace embed
