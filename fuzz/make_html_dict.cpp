// Writes the libFuzzer dictionary of the HTML targets from the vocabulary's
// tables: each tag as a start and an end tag, each attribute name with its
// "=". Run by the build, so the dictionary never drifts from the tables.
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "engine/common/TextHelpers.h"
#include "engine/html/HtmlSymbols.h"

namespace {

// A dictionary entry: the text in quotes, with '"' and '\' escaped.
std::string Entry(const std::string& text) {
  std::string out = "\"";
  for (const char ch : text) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_html_dict OUTPUT\n");
    return 1;
  }
  std::set<std::string> entries;
  for (const std::string_view name : engine::TagNames()) {
    const std::string tag = engine::LowerCase(name);
    entries.insert("<" + tag);
    entries.insert("</" + tag + ">");
  }
  for (const std::string_view name : engine::AttributeNames()) entries.insert(" " + engine::LowerCase(name) + "=");
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  for (const std::string& entry : entries) std::fputs(Entry(entry).c_str(), file);
  return std::fclose(file) == 0 ? 0 : 1;
}
