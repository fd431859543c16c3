// The library's load-time start-up and its shutdown at process exit, in the
// order of the units: the engine's values, pictures and look-up lists first.
#include <cstdlib>

#include "engine/common/EngineStartup.h"
#include "images/PrinterPages.h"

namespace {

void StopLibrary() {
  try {
    engine::FinalizeEngineUnit();
  } catch (...) {
    // Nothing may escape into the exit handlers.
  }
}

__attribute__((constructor)) void StartLibrary() {
  try {
    engine::InitializeEngineUnit();
    images::InstallPngPageWriter();
  } catch (...) {
    // Nothing may escape into the loader; the engine runs without its pictures.
  }
  // Registered after start-up made its objects, so it runs before the
  // destructors of the layers those objects live in.
  std::atexit(StopLibrary);
}

}  // namespace
