#pragma once
// TMyRCVersion: reads string values from a module's version block, as
// "Pagewell.dll Version " + FileVersion is built from the library's own.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace embed {

// The module's file name at any length (0: the running program); empty for an unknown module.
std::string ModuleFileName(win::HMODULE Module);

class TMyRCVersion {
 public:
  TMyRCVersion() = default;
  // Module 0 reads the running program's block; another the module's.
  void SetModule(win::HMODULE AModule);
  // Reads the block again; without one every value is empty.
  void Load();
  std::string GetString(const std::string& Key) const;
  std::string FileVersion() const { return GetString("FileVersion"); }
  bool HasBlock() const { return !buffer_.empty(); }

 private:
  std::vector<std::uint8_t> buffer_;
  // The first translation value with language and code page swapped, as the string path names them.
  std::uint32_t translation_ = 0;
  int mode_ = 1;
  win::HMODULE module_ = 0;
};

}  // namespace embed
