#pragma once
// The layout dump of a text section: one line per line record, for tests and
// the document's layout dump.
#include <string>

namespace engine {

class TSection;

// "line start=S len=N x=X y=Y w=W h=H base=B text=|...|" per line record;
// x is the line's left (section X + LineIndent), y its band top, w its drawing
// width, h its full height, base the baseline's Y. Characters below 32 are
// written as \xNN, other non-ASCII ones as \uNNNN.
std::string DumpTextLines(const TSection& section, int sectionX = 0);

}  // namespace engine
