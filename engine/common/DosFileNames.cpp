#include "engine/common/DosFileNames.h"

#include <algorithm>

#include "engine/common/TextHelpers.h"

namespace engine {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// After each replacement the search starts again from the beginning.
void DecodePercentEscapes(std::string& text) {
  for (;;) {
    const std::size_t percent = text.find('%');
    if (percent == std::string::npos || percent == 0 || percent + 2 >= text.size()) return;
    const int high = HexValue(text[percent + 1]);
    const int low = HexValue(text[percent + 2]);
    if (high < 0 || low < 0) return;
    const int value = high * 16 + low;
    // A NUL would cut the file name short when it reaches the file system.
    if (value == 0) return;
    text.replace(percent, 3, 1, static_cast<char>(value));
  }
}


// Our paths are POSIX: the "/" that starts a path stays.
void DropFilePrefix(std::string& text) {
  const std::string lower = LowerCase(text);
  std::size_t at = lower.find("file:///");
  if (at != std::string::npos) {
    text.erase(at, 7);
    return;
  }
  at = lower.find("file://");
  if (at != std::string::npos) {
    text.erase(at, 7);
    return;
  }
  at = lower.find("file:/");
  if (at != std::string::npos) text.erase(at, 5);
}


}  // namespace

std::string UrlToDosFileName(const std::string& url) {
  std::string name = url;
  DecodePercentEscapes(name);
  if (name.find('/') == std::string::npos) return name;
  DropFilePrefix(name);
  std::replace(name.begin(), name.end(), '|', ':');
  return name;
}

std::string UrlToDosFileNameWithRoot(const std::string& name, const std::string& root) {
  std::string result = Trim(UrlToDosFileName(name));
  if (result.empty() || root.empty()) return result;
  const bool networkName = result.size() >= 2 && result[0] == '\\' && result[1] == '\\';
  const bool driveName = result.size() >= 2 && result[1] == ':';
  if (!networkName && !driveName && result[0] == '\\') return root + result;
  return result;
}

}  // namespace engine
