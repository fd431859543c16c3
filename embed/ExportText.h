#pragma once
// Text handed to the host: a NUL-terminated copy the host gives back with
// _ReleaseMemory (which frees it as an array).
#include <cstring>
#include <string>

namespace embed {

inline char* NewText(const std::string& Text) {
  char* copy = new char[Text.size() + 1];
  std::memcpy(copy, Text.data(), Text.size());
  copy[Text.size()] = '\0';
  return copy;
}

}  // namespace embed
