#include "embed/TMyRCVersion.h"

#include <cstdio>
#include <cstring>

#include "platform/win/kernel/Files.h"
#include "platform/win/kernel/VersionInfo.h"

namespace embed {
// Linux paths are used as the loader gives them: there is no OEM code page to convert from.
std::string ModuleFileName(win::HMODULE Module) {
  std::vector<char> name(256);
  for (;;) {
    const win::DWORD copied = win::GetModuleFileNameA(Module, name.data(), static_cast<win::DWORD>(name.size()));
    if (copied == 0) return {};
    if (copied < name.size()) return std::string(name.data(), copied);
    name.resize(name.size() * 2);
  }
}

void TMyRCVersion::SetModule(win::HMODULE AModule) {
  module_ = AModule;
  mode_ = AModule != 0 ? 1 : 0;
  Load();
}

void TMyRCVersion::Load() {
  buffer_.clear();
  translation_ = 0;
  const std::string name = ModuleFileName(mode_ == 1 ? module_ : 0);
  win::DWORD handle = 0;
  const win::DWORD size = win::GetFileVersionInfoSizeA(name.c_str(), &handle);
  if (size == 0) return;
  buffer_.resize(size);
  if (!win::GetFileVersionInfoA(name.c_str(), handle, size, buffer_.data())) {
    buffer_.clear();
    return;
  }
  void* found = nullptr;
  win::UINT length = 0;
  if (!win::VerQueryValueA(buffer_.data(), "\\VarFileInfo\\Translation", &found, &length) || length < 4) {
    buffer_.clear();
    return;
  }
  std::uint32_t first = 0;
  std::memcpy(&first, found, 4);
  translation_ = (first << 16) | (first >> 16);
}

std::string TMyRCVersion::GetString(const std::string& Key) const {
  if (buffer_.empty()) return {};
  // Sized for the key, so a long key is neither cut nor written past the end.
  std::vector<char> path(Key.size() + 32);
  std::snprintf(path.data(), path.size(), "\\StringFileInfo\\%08lx\\%s", static_cast<unsigned long>(translation_),
                Key.c_str());
  void* found = nullptr;
  win::UINT length = 0;
  if (!win::VerQueryValueA(buffer_.data(), path.data(), &found, &length) || length == 0) return {};
  return std::string(static_cast<const char*>(found), strnlen(static_cast<const char*>(found), length));
}

}  // namespace embed
