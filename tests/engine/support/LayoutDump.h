#pragma once
// A text dump of a laid-out section tree for layout tests: one line per
// section or box, indented by nesting, with its kind, tag, position, size and,
// for text, its characters. Areas with their own section kinds register a
// describer for them (RegisterDumpKind); the first describer that accepts a
// section writes its line.
#include <functional>
#include <string>
#include <vector>

namespace engine {
class TCellBasic;
class TSectionBase;
}

namespace engine::testing {

struct DumpLine {
  std::string kind;    // "Block", "Text", ...
  std::string tag;     // element tag and class, may be empty
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::string extra;   // anything more, written after the size ("text=...")
  std::string details;  // further lines (each ending in a newline), written one level deeper
  const TCellBasic* children = nullptr;  // a cell whose sections are dumped below, one level deeper
  std::vector<DumpLine> parts;           // boxes inside the section (a table's rows), dumped before children
};

// Fills line for a section it knows and answers true.
using DumpDescriber = std::function<bool(const TSectionBase& section, DumpLine& line)>;
void RegisterDumpKind(DumpDescriber describer);

std::string DumpLayout(const TCellBasic& cell);

// The contents of a file under tests/data (empty when missing).
std::string ReadTestDataFile(const std::string& relativePath);

}  // namespace engine::testing
