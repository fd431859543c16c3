#pragma once
// Turning file URLs into local file names.
#include <string>

namespace engine {

// Decodes "%xx" escapes, then, for a text with "/", drops a "file:" prefix
// (keeping the leading "/" of a path) and turns "|" into ":". The decoding
// starts after the first character and stops at the first escape that is not
// two hexadecimal digits, at one among the last two characters and at "%00".
std::string UrlToDosFileName(const std::string& url);

// UrlToDosFileName, trimmed; a root-relative name ("\dir\x.htm", no drive,
// no network name) is put behind root.
std::string UrlToDosFileNameWithRoot(const std::string& name, const std::string& root);

}  // namespace engine
