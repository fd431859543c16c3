#include "engine/CssUrlFiles.h"

#include "engine/CssText.h"

namespace engine {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerChar(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decodes left to right; a decoded "%" is looked at again, as a "%" of the text would be.
std::string DecodePercents(std::string text) {
  std::string decoded;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] != '%') {
      decoded += text[at++];
      continue;
    }
    std::size_t position = decoded.size();
    std::size_t length = position + text.size() - at;
    if (position == 0 || position + 2 >= length) break;
    int high = HexDigit(text[at + 1]);
    int low = HexDigit(text[at + 2]);
    if (high < 0 || low < 0) break;
    at += 2;
    text[at] = static_cast<char>(high * 16 + low);
  }
  decoded.append(text, at, std::string::npos);
  return decoded;
}

}  // namespace

std::string CssUrlToFileName(const std::string& url) {
  std::string name = DecodePercents(url);
  if (name.find('/') == std::string::npos) return name;
  std::string lowered = LowerCase(name);
  if (std::size_t at = lowered.find("file:///"); at != std::string::npos) {
    name.erase(at, 7);
  } else if (at = lowered.find("file://"); at != std::string::npos) {
    name.erase(at, 7);
  } else if (at = lowered.find("file:/"); at != std::string::npos) {
    name.erase(at, 5);
  }
  for (char& c : name) {
    if (c == '|') c = ':';
  }
  return name;
}

}  // namespace engine
