#include "platform/gui/FileNames.h"

#include <unistd.h>

#include <string_view>
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
  // The parts between separators are appended as "/part" in place: ".."
  // takes the last one back off, "." and empty parts are left out.
  std::string result;
  result.reserve(whole.size() + 1);
  for (std::size_t start = 0; start <= whole.size();) {
    std::size_t end = start;
    while (end < whole.size() && !isSeparator(whole[end])) ++end;
    const std::string_view part(whole.data() + start, end - start);
    if (part == "..") {
      const std::size_t last = result.rfind('/');
      if (last != std::string::npos) result.erase(last);
    } else if (!part.empty() && part != ".") {
      result += '/';
      result += part;
    }
    start = end + 1;
  }
  const bool endsWithSeparator = !whole.empty() && isSeparator(whole.back());
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
