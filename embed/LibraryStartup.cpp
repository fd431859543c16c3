// The library's load-time start-up and unload-time shutdown, in the order of
// the units: the engine's values, pictures and look-up lists first.
#include "engine/EngineStartup.h"

namespace {

__attribute__((constructor)) void StartLibrary() {
  try {
    engine::InitializeEngineUnit();
  } catch (...) {
    // Nothing may escape into the loader; the engine runs without its pictures.
  }
}

__attribute__((destructor)) void StopLibrary() {
  try {
    engine::FinalizeEngineUnit();
  } catch (...) {
  }
}

}  // namespace
