#pragma once
// Plain string functions for URLs. Positions are 1-based character positions.
#include <string>

namespace engine {

// The directory part of a URL, ending in "/" ("http://h/a/b.htm?x" -> "http://h/a/").
std::string GetUrlBase(const std::string& url);
// A relative reference combined with a base taken as a directory; "/../" and "/./" collapsed.
std::string CombineUrl(const std::string& base, const std::string& relative);
// True for "proto://..." (no "/" before "://") and for mailto: links.
bool IsFullUrl(const std::string& text);
// The protocol of a URL, lower-cased ("" when it has none).
std::string GetUrlProtocol(const std::string& url);
// Position of the n-th occurrence (n > 0, overlapping; beyond the end when fewer), of the |n|-th
// from the end (n < 0; 0 when fewer); 0 for n = 0.
int PosOfNth(const std::string& substring, const std::string& text, int n);

struct TUrlParts {
  std::string Protocol;
  std::string User;
  std::string Password;
  std::string Host;
  std::string Port;
  std::string Path;  // keeps its leading "/"
};
TUrlParts ParseUrl(const std::string& url);

}  // namespace engine
