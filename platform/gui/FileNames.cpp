#include "platform/gui/FileNames.h"

#include <unistd.h>

#include <vector>

namespace gui {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::string currentFolder() {
  std::vector<char> buffer(4096);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (buffer.size() > (1u << 20)) return "/";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace

std::string ExpandFileName(const std::string& FileName) {
  const std::string whole = !FileName.empty() && isSeparator(FileName[0]) ? FileName : currentFolder() + "/" + FileName;
  std::vector<std::string> parts;
  std::string part;
  const auto takePart = [&] {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char c : whole) {
    if (isSeparator(c)) takePart();
    else part += c;
  }
  const bool endsWithSeparator = !whole.empty() && isSeparator(whole.back());
  takePart();
  std::string result;
  for (const std::string& each : parts) result += "/" + each;
  if (result.empty() || endsWithSeparator) result += "/";
  return result;
}

std::string ExtractFilePath(const std::string& FileName) {
  for (std::size_t i = FileName.size(); i > 0; --i)
    if (isSeparator(FileName[i - 1])) return FileName.substr(0, i);
  return "";
}

std::string ExtractFileExt(const std::string& FileName) {
  for (std::size_t i = FileName.size(); i > 0; --i) {
    if (isSeparator(FileName[i - 1])) return "";
    if (FileName[i - 1] == '.') return FileName.substr(i - 1);
  }
  return "";
}

}  // namespace gui
