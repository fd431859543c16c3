#include "platform/win/kernel/Files.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/win/kernel/Clock.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/LastError.h"

namespace win {
namespace {

constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;

std::u16string toWide(const std::string& text) { return multiByteToWide(CP_UTF8, text); }
std::string toNarrow(const WCHAR* text) { return text ? wideToMultiByte(CP_UTF8, text) : std::string(); }

// Copies text and a zero when it fits; else returns the size needed with the zero.
template <typename Unit>
DWORD copyOut(const std::basic_string<Unit>& text, DWORD bufferSize, Unit* buffer) {
  if (text.size() + 1 > bufferSize || !buffer) return static_cast<DWORD>(text.size() + 1);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<DWORD>(text.size());
}

// Copies at most bufferSize - 1 units and a zero, as GetModuleFileName does.
template <typename Unit>
DWORD copyTruncated(const std::basic_string<Unit>& text, DWORD bufferSize, Unit* buffer) {
  if (!buffer || bufferSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::size_t count = std::min<std::size_t>(text.size(), bufferSize - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count), buffer);
  buffer[count] = 0;
  if (count < text.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return bufferSize;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(count);
}

std::string tempFolder() {
  const char* fromEnvironment = std::getenv("TMPDIR");
  std::string folder = fromEnvironment && *fromEnvironment ? fromEnvironment : "/tmp";
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string tempFileName(std::string folder, const std::string& prefix, UINT number) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  char hex[8];
  std::snprintf(hex, sizeof hex, "%X", number & 0xFFFF);
  return folder + prefix.substr(0, 3) + hex + ".TMP";
}

bool isFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Forms (and with unique 0 creates) the name; returns the number, 0 on failure.
UINT makeTempFile(const std::string& folder, const std::string& prefix, UINT unique, std::string& name) {
  if (!isFolder(folder)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  if (unique != 0) {
    name = tempFileName(folder, prefix, unique);
    return name.size() < MAX_PATH ? (unique & 0xFFFF) : 0;
  }
  static std::mutex mutex;
  static UINT next = static_cast<UINT>(GetTickCount() ^ static_cast<UINT>(::getpid()));
  std::lock_guard lock(mutex);
  for (UINT attempt = 0; attempt < 0x10000; ++attempt) {
    UINT number = next++ & 0xFFFF;
    if (number == 0) number = next++ & 0xFFFF;  // 0 means "pick one" and is never a name
    name = tempFileName(folder, prefix, number);
    if (name.size() >= MAX_PATH) {
      SetLastError(ERROR_BUFFER_OVERFLOW);
      return 0;
    }
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return number;
    }
    if (errno != EEXIST) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

std::string currentDirectory() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

// Modules seen so far; a module's handle is its index + 1. Modules are never
// unloaded while the library runs, so handles stay valid.
struct ModuleRegistry {
  std::mutex mutex;
  std::vector<std::string> fileNames;
};

ModuleRegistry& modules() {
  static ModuleRegistry registry;
  return registry;
}

std::string programFileName() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

// The module's file name; false for an unknown handle.
bool moduleFileName(HMODULE module, std::string& name) {
  if (module == 0) {
    name = programFileName();
    return !name.empty();
  }
  std::lock_guard lock(modules().mutex);
  if (module > modules().fileNames.size()) return false;
  name = modules().fileNames[module - 1];
  return true;
}

}  // namespace

DWORD GetTempPathW(DWORD bufferSize, WCHAR* buffer) { return copyOut(toWide(tempFolder()), bufferSize, buffer); }
DWORD GetTempPathA(DWORD bufferSize, char* buffer) { return copyOut(tempFolder(), bufferSize, buffer); }

UINT GetTempFileNameW(const WCHAR* path, const WCHAR* prefix, UINT unique, WCHAR* result) {
  if (!path || !result) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name;
  const UINT number = makeTempFile(toNarrow(path), toNarrow(prefix), unique, name);
  if (number != 0) copyOut(toWide(name), MAX_PATH, result);
  return number;
}

UINT GetTempFileNameA(const char* path, const char* prefix, UINT unique, char* result) {
  if (!path || !result) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name;
  const UINT number = makeTempFile(path, prefix ? prefix : "", unique, name);
  if (number != 0) copyOut(name, MAX_PATH, result);
  return number;
}

DWORD GetCurrentDirectoryW(DWORD bufferSize, WCHAR* buffer) {
  return copyOut(toWide(currentDirectory()), bufferSize, buffer);
}
DWORD GetCurrentDirectoryA(DWORD bufferSize, char* buffer) { return copyOut(currentDirectory(), bufferSize, buffer); }

BOOL SetCurrentDirectoryA(const char* path) {
  if (!path || !*path || ::chdir(path) != 0) {
    SetLastError(path && *path ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

HMODULE moduleHandleFor(const void* address) {
  const std::string name = moduleFileNameOf(address);
  if (name.empty()) return 0;
  std::lock_guard lock(modules().mutex);
  std::vector<std::string>& names = modules().fileNames;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<HMODULE>(i + 1);
  names.push_back(name);
  return static_cast<HMODULE>(names.size());
}

DWORD GetModuleFileNameW(HMODULE module, WCHAR* buffer, DWORD bufferSize) {
  std::string name;
  if (!moduleFileName(module, name)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return copyTruncated(toWide(name), bufferSize, buffer);
}

DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD bufferSize) {
  std::string name;
  if (!moduleFileName(module, name)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return copyTruncated(name, bufferSize, buffer);
}

std::string moduleFileNameOf(const void* address) {
  Dl_info info{};
  if (!address || ::dladdr(address, &info) == 0) return {};
  // The loader names the program itself by an empty or bare invocation name.
  const std::string name = info.dli_fname ? info.dli_fname : "";
  if (name.find('/') == std::string::npos) return programFileName();
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(name, error);
  return error ? name : canonical.string();
}

}  // namespace win
