#pragma once
// File-system services: the temporary folder and names in it, the current
// directory, and the file names of loaded modules. Paths are POSIX paths; the
// wide forms carry them as UTF-16, the narrow forms as UTF-8 bytes.
#include <string>

#include "platform/win/Types.h"

namespace win {

constexpr DWORD MAX_PATH = 260;

// The temporary folder ($TMPDIR or /tmp) with a trailing "/". Returns its
// length without the terminating zero; when bufferSize is too small, the
// size needed including the zero and nothing is written.
DWORD GetTempPathW(DWORD bufferSize, WCHAR* buffer);
DWORD GetTempPathA(DWORD bufferSize, char* buffer);

// Writes "<path>/<up to 3 prefix chars><hex number>.TMP" to result (room for
// MAX_PATH). unique 0 picks a number whose file does not exist yet and creates
// the file (empty); otherwise the name is only formed. Returns the number
// used, 0 on failure (missing folder, name too long, no free number).
UINT GetTempFileNameW(const WCHAR* path, const WCHAR* prefix, UINT unique, WCHAR* result);
UINT GetTempFileNameA(const char* path, const char* prefix, UINT unique, char* result);

// The current working directory, with GetTempPath's size rules.
DWORD GetCurrentDirectoryW(DWORD bufferSize, WCHAR* buffer);
DWORD GetCurrentDirectoryA(DWORD bufferSize, char* buffer);
// Makes the folder current; FALSE when it cannot be entered.
BOOL SetCurrentDirectoryA(const char* path);

// The handle of the loaded module (shared library or program) whose code or
// data holds address; 0 when no module does.
HMODULE moduleHandleFor(const void* address);
// The file name of a module; 0 is the running program. Copies at most
// bufferSize - 1 characters and a zero; returns the characters copied, and
// bufferSize with ERROR_INSUFFICIENT_BUFFER when the name was cut. 0 for an
// unknown module.
DWORD GetModuleFileNameW(HMODULE module, WCHAR* buffer, DWORD bufferSize);
DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD bufferSize);
// The file name of the module holding address; empty when none does.
std::string moduleFileNameOf(const void* address);

}  // namespace win
