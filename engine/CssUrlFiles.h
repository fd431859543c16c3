#pragma once
// A file URL as a local file name, for url(...) values of sheets read from files.
#include <string>

namespace engine {

// Percent escapes decoded (not one in the first position or among the last two characters,
// and the decoding stops at a bad escape); "file:" prefixes removed, keeping the path's
// leading "/"; "|" read as ":".
std::string CssUrlToFileName(const std::string& url);

}  // namespace engine
