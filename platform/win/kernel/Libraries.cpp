#include "platform/win/kernel/Libraries.h"

#include <dlfcn.h>

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace win {
namespace {

// Handles are small numbers standing for dlopen's pointers.
struct LibraryTable {
  std::mutex lock;
  std::unordered_map<HMODULE, void*> libraries;
  HMODULE next = 0x7000;
};

LibraryTable& table() {
  static LibraryTable* libraries = new LibraryTable();  // outlives static destruction
  return *libraries;
}

}  // namespace

HMODULE LoadLibraryA(const char* fileName) {
  if (!fileName || !*fileName) return 0;
  void* library = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!library) return 0;
  LibraryTable& libraries = table();
  std::lock_guard<std::mutex> hold(libraries.lock);
  const HMODULE handle = libraries.next++;
  libraries.libraries[handle] = library;
  return handle;
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
  if (!name) return nullptr;
  LibraryTable& libraries = table();
  std::lock_guard<std::mutex> hold(libraries.lock);
  const auto found = libraries.libraries.find(module);
  if (found == libraries.libraries.end()) return nullptr;
  return reinterpret_cast<FARPROC>(::dlsym(found->second, name));
}

BOOL FreeLibrary(HMODULE module) {
  LibraryTable& libraries = table();
  std::lock_guard<std::mutex> hold(libraries.lock);
  const auto found = libraries.libraries.find(module);
  if (found == libraries.libraries.end()) return FALSE;
  ::dlclose(found->second);  // RTLD_NODELETE keeps the code mapped
  libraries.libraries.erase(found);
  return TRUE;
}

}  // namespace win
