#include "rulestool/RulesDocument.h"

#include <tinyxml.h>

#include <fstream>
#include <iterator>

namespace kestrane {

namespace {

const char* const kTooDeep = "Document is nested too deeply";

// Skips from pos (just after "<") to the end of a comment, CDATA section,
// declaration or end tag; returns the position after it.
std::size_t skipMarkup(std::string_view text, std::size_t pos) {
  std::string_view rest = text.substr(pos);
  std::string_view close = rest.starts_with("!--") ? "-->" : rest.starts_with("![CDATA[") ? "]]>" : ">";
  std::size_t end = text.find(close, pos);
  return end == std::string_view::npos ? text.size() : end + close.size();
}

// Skips the rest of a start tag from pos; sets selfClosing for "/>".
// Quotes count only after "=", as attribute values.
std::size_t skipStartTag(std::string_view text, std::size_t pos, bool& selfClosing) {
  char quote = 0;
  char previous = 0;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if ((c == '"' || c == '\'') && previous == '=') {
      quote = c;
    } else if (c == '>') {
      selfClosing = previous == '/';
      return pos + 1;
    }
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') previous = c;
  }
  return pos;
}

}  // namespace

int EstimateElementDepth(std::string_view text) {
  int depth = 0;
  int deepest = 0;
  std::size_t pos = 0;
  while ((pos = text.find('<', pos)) != std::string_view::npos) {
    ++pos;
    char next = pos < text.size() ? text[pos] : '\0';
    if (next == '/' || next == '!' || next == '?') {
      if (next == '/' && depth > 0) --depth;
      pos = skipMarkup(text, pos);
      continue;
    }
    ++depth;
    if (depth > deepest) deepest = depth;
    bool selfClosing = false;
    pos = skipStartTag(text, pos, selfClosing);
    if (selfClosing) --depth;
  }
  return deepest;
}

bool ParseRulesDocument(const std::string& text, TiXmlDocument& document, std::string& error) {
  if (EstimateElementDepth(text) > kMaxElementDepth) {
    error = kTooDeep;
    return false;
  }
  document.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
  if (!document.Error()) return true;
  error = document.ErrorDesc();
  return false;
}

bool LoadRulesDocument(const std::string& filename, TiXmlDocument& document, std::string& error) {
  std::ifstream in(filename, std::ios::binary);
  if (in) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty()) {
      error.clear();
      return false;
    }
    if (EstimateElementDepth(text) > kMaxElementDepth) {
      error = kTooDeep;
      return false;
    }
  }
  if (document.LoadFile(filename.c_str(), TIXML_ENCODING_LEGACY)) return true;
  error = document.ErrorDesc();
  return false;
}

}  // namespace kestrane
