#include "engine/html/InputPreparation.h"

#include <algorithm>
#include <cstring>

namespace engine {
namespace {

constexpr std::size_t kBlankedZeroBytes = 100;
constexpr char kEscape = '\x1B';

// One JIS X 0208 pair (high bits cleared) as its two Shift_JIS bytes.
void JisPairToShiftJis(unsigned j1, unsigned j2, char& first, char& second) {
  j1 &= 0x7F;
  j2 &= 0x7F;
  first = static_cast<char>(((j1 + 1) / 2) + (j1 <= 94 ? 112 : 176));
  if (j1 % 2 == 1) {
    second = static_cast<char>(j2 + 31 + (j2 >= 96 ? 1 : 0));
  } else {
    second = static_cast<char>(j2 + 126);
  }
}

bool StartsAt(const std::string& text, std::size_t at, const char* what) {
  return text.compare(at, std::strlen(what), what) == 0;
}

}  // namespace

void ReplaceZeroBytes(std::string& text) {
  std::size_t replaced = 0;
  for (std::size_t at = text.find('\0'); at != std::string::npos; at = text.find('\0', at + 1)) {
    if (replaced == kBlankedZeroBytes) {
      text.resize(at);
      return;
    }
    text[at] = ' ';
    ++replaced;
  }
}

bool StripUtf8ByteOrderMark(std::string& text) {
  if (text.size() <= 3 || !StartsAt(text, 0, "\xEF\xBB\xBF")) return false;
  text.erase(0, 3);
  return true;
}

bool HasIso2022JpEscapes(const std::string& text) {
  const std::size_t jis1978 = text.find("\x1B$@");
  const std::size_t jis1983 = text.find("\x1B$B");
  // A missing escape counts as absent, not as a position past the end.
  std::size_t later = 0;
  if (jis1978 == std::string::npos && jis1983 == std::string::npos) return false;
  if (jis1978 != std::string::npos) later = jis1978;
  if (jis1983 != std::string::npos) later = std::max(later, jis1983);
  return text.find("\x1B(J", later) != std::string::npos || text.find("\x1B(B", later) != std::string::npos;
}

std::string ConvertIso2022JpToShiftJis(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  bool doubleByte = false;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == kEscape && at + 2 < text.size()) {
      if (StartsAt(text, at, "\x1B(B") || StartsAt(text, at, "\x1B(J")) {
        doubleByte = false;
        at += 3;
        continue;
      }
      if (StartsAt(text, at, "\x1B$@") || StartsAt(text, at, "\x1B$B")) {
        doubleByte = true;
        at += 3;
        continue;
      }
    }
    if (doubleByte && at + 1 < text.size()) {
      char first = 0;
      char second = 0;
      JisPairToShiftJis(static_cast<unsigned char>(text[at]), static_cast<unsigned char>(text[at + 1]), first,
                        second);
      result += first;
      result += second;
      at += 2;
    } else if (doubleByte) {
      result += text[at++];
    } else {
      result += static_cast<char>(text[at++] & 0x7F);
    }
  }
  return result;
}

void ConvertEucJpToShiftJis(std::string& text, std::size_t start) {
  for (std::size_t at = start; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead <= 160) {
      ++at;
      continue;
    }
    if (at + 1 >= text.size()) break;
    JisPairToShiftJis(lead, static_cast<unsigned char>(text[at + 1]), text[at], text[at + 1]);
    at += 2;
  }
}

}  // namespace engine
