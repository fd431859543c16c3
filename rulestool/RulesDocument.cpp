#include "rulestool/RulesDocument.h"

#include <tinyxml.h>

#include "rulestore/ReadWholeFile.h"

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

// The text up to its first NUL with CR LF and lone CR turned into LF, as the
// XML reader prepares a file it reads itself.
std::string normalizeLineEnds(const std::string& text) {
  std::string normalized;
  normalized.reserve(text.size());
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (text[i] != '\r') {
      normalized += text[i];
      continue;
    }
    normalized += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return normalized;
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
  const std::string normalized = normalizeLineEnds(text);
  document.Clear();
  document.Parse(normalized.c_str(), nullptr, TIXML_ENCODING_LEGACY);
  if (!document.Error()) return true;
  error = document.ErrorDesc();
  return false;
}

bool LoadRulesDocument(const std::string& filename, TiXmlDocument& document, std::string& error) {
  std::string text;
  switch (rulestore::ReadWholeFile(filename, kMaxDocumentBytes, text)) {
    case rulestore::WholeFileRead::Read: break;
    case rulestore::WholeFileRead::Missing: error = "Failed to open file"; return false;
    case rulestore::WholeFileRead::NotRegular:
      error = "Failed to read '" + filename + "': not a regular file";
      return false;
    case rulestore::WholeFileRead::TooLarge:
      error = "Failed to read '" + filename + "': larger than " + std::to_string(kMaxDocumentBytes >> 20) + " MiB";
      return false;
    case rulestore::WholeFileRead::Failed: error = "Failed to read '" + filename + "'"; return false;
  }
  if (text.empty()) {
    error.clear();
    return false;
  }
  return ParseRulesDocument(text, document, error);
}

}  // namespace kestrane
