#include "engine/common/UrlTools.h"

#include <string_view>

#include "engine/common/TextHelpers.h"

namespace engine {
namespace {

constexpr std::size_t npos = std::string::npos;

std::string UpToQuery(const std::string& text) { return text.substr(0, text.find('?')); }

// Index of the "/" that ends the server part of a base.
std::size_t ServerPartEnd(const std::string& base) {
  if (StartsWithNoCase(base, "file:///")) return base.find('/', 8);
  std::size_t scheme = base.find("://");
  if (scheme != npos) return base.find('/', scheme + 3);
  return base.find('/');
}

void CollapseParentSegments(std::string& url, std::size_t serverEnd) {
  for (std::size_t at = url.find("/../"); at != npos; at = url.find("/../")) {
    if (at > serverEnd) {
      std::size_t previous = at == 0 ? npos : url.rfind('/', at - 1);
      if (previous == npos) return;
      url.erase(previous + 1, at + 4 - (previous + 1));
    } else {
      url.erase(at + 1, 3);
    }
  }
}

void CollapseCurrentSegments(std::string& url) {
  for (std::size_t at = url.find("/./"); at != npos; at = url.find("/./")) url.erase(at, 2);
}

void SplitAuthority(const std::string& authority, TUrlParts& parts) {
  std::size_t colon = authority.rfind(':');
  std::size_t at = authority.rfind('@');
  if (colon == npos && at == npos) {
    parts.Host = authority;
    return;
  }
  std::size_t hostStart = at == npos ? 0 : at + 1;
  if (colon != npos && (at == npos || at < colon)) {
    parts.Port = authority.substr(colon + 1);
    parts.Host = authority.substr(hostStart, colon - hostStart);
  } else {
    parts.Host = authority.substr(hostStart);
  }
  if (at == npos) return;
  std::string credentials = authority.substr(0, at);
  std::size_t split = credentials.find(':');
  if (split == npos) {
    parts.User = credentials;
  } else {
    parts.User = credentials.substr(0, split);
    parts.Password = credentials.substr(split + 1);
  }
}

}  // namespace

std::string GetUrlBase(const std::string& url) {
  std::string text = UpToQuery(Trim(url));
  std::size_t doubleSlash = text.find("//");
  std::size_t searchFrom = doubleSlash == npos ? 1 : doubleSlash + 2;
  std::size_t slash = text.rfind('/');
  if (slash != npos && slash >= searchFrom) return text.substr(0, slash + 1);
  return text + "/";
}

std::string CombineUrl(const std::string& baseText, const std::string& relativeText) {
  std::string base = Trim(baseText);
  std::string protocol = GetUrlProtocol(base);
  std::size_t serverEnd = ServerPartEnd(base);
  if (serverEnd != npos) {
    if (base.empty() || base.back() != '/') base += '/';
  } else {
    base += '/';
    serverEnd = base.size() - 1;
  }
  std::string relative = Trim(relativeText);
  std::string result;
  if (relative.empty() || relative[0] != '/') {
    result = base + relative;
  } else if (relative.size() > 1 && relative[1] == '/') {
    result = protocol == "file" ? "file:///" + relative : protocol + ":" + relative;
  } else {
    result = base.substr(0, serverEnd + 1) + relative.substr(1);
  }
  CollapseParentSegments(result, serverEnd);
  CollapseCurrentSegments(result);
  return result;
}

bool IsFullUrl(const std::string& text) {
  std::string head = UpToQuery(text);
  std::size_t scheme = head.find("://");
  if (scheme != npos && head.find('/') >= scheme) return true;
  return LowerCase(head).find("mailto:") != npos;
}

std::string GetUrlProtocol(const std::string& url) { return LowerCase(ParseUrl(UpToQuery(url)).Protocol); }

int PosOfNth(const std::string& substring, const std::string& text, int n) {
  if (n == 0 || substring.empty()) return 0;
  if (n > 0) {
    std::size_t from = 0;
    for (int found = 0; found < n; ++found) {
      std::size_t at = text.find(substring, from);
      if (at == npos) return static_cast<int>(text.size()) + 1;
      if (found + 1 == n) return static_cast<int>(at) + 1;
      from = at + 1;
    }
    return 0;
  }
  std::size_t from = npos;
  for (int found = 0; found < -n; ++found) {
    std::size_t at = text.rfind(substring, from);
    if (at == npos) return 0;
    if (found + 1 == -n) return static_cast<int>(at) + 1;
    if (at == 0) return 0;
    from = at - 1;
  }
  return 0;
}

TUrlParts ParseUrl(const std::string& url) {
  TUrlParts parts;
  if (url.empty()) return parts;
  std::string rest;
  std::size_t scheme = url.find("://");
  if (scheme != npos) {
    parts.Protocol = url.substr(0, scheme);
    rest = url.substr(scheme + 3);
  } else if (url[0] == '/') {
    parts.Protocol = "http";
    if (url.size() > 1 && url[1] == '/') {
      rest = url.substr(2);
    } else {
      if (url.size() > 1) parts.Path = url;
      return parts;
    }
  } else if (StartsWithNoCase(url, "http:")) {
    parts.Protocol = "http";
    if (url.size() >= 7 && url[6] != '/') {
      parts.Path = url.substr(5);
      return parts;
    }
    rest = url.substr(std::min<std::size_t>(6, url.size()));
  } else if (StartsWithNoCase(url, "mailto:")) {
    parts.Protocol = "mailto";
    rest = url.substr(url.find(':') + 1);
  } else {
    rest = url;
  }
  std::size_t slash = rest.find('/');
  if (slash != npos) parts.Path = rest.substr(slash);
  SplitAuthority(rest.substr(0, slash), parts);
  return parts;
}

}  // namespace engine
