#pragma once
// Loading shared libraries by name at run time. A library, once loaded, is
// never unmapped: FreeLibrary only drops our reference, because libraries
// such as the image library pull in others that do not survive unloading.
#include "platform/win/Types.h"

namespace win {

using FARPROC = void (*)();

// The library's handle, 0 when it cannot be loaded.
HMODULE LoadLibraryA(const char* fileName);
// The address of an exported symbol, nullptr when there is none.
FARPROC GetProcAddress(HMODULE module, const char* name);
BOOL FreeLibrary(HMODULE module);

}  // namespace win
