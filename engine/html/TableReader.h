#pragma once
// The TABLE reader of the document builder: rows, cells, captions, column
// specifications and the head, body and foot parts of a table, read into the
// table model and placed in the current cell.
#include "engine/html/TSymbolSet.h"

namespace engine {

// Tables nested deeper than this lose their TABLE tag (their content reads as
// content of the enclosing cell).
constexpr int kMaxTableNesting = 10;
// Column descriptions one table keeps at most.
constexpr int kMaxColumnDescriptions = 1000;

// Entered at TABLE; leaves after the table's end tag (or at the end of input).
void ParseTable(const TSymbolSet& stop);

}  // namespace engine
